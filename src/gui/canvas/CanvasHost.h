#pragma once

namespace pemo {

class CPatDoc;

// What the canvas asks of the view that shows it: the document, the scale and the display
// switches the page is drawn with, and what the view does after a repaint or when the
// record shown was replaced. The design view is the host; the canvas knows no more of it.
class CanvasHost {
public:
    virtual CPatDoc& document() const = 0;
    // The page's scale: twips map to pixels through the zoom and the screen's resolution.
    virtual double zoom() const = 0;
    virtual int pixelsPerInch() const = 0;
    // 模板方式: placeholders show their names.
    virtual bool templateMode() const = 0;
    virtual bool showFrameLines() const = 0;
    // The alignment grid under the blocks.
    virtual bool showAlignmentLines() const = 0;
    // After every repaint and refresh of the page (the status bar follows).
    virtual void canvasRepainted() = 0;
    // The whole page again, fitted: an undo or redo of the record list changed the page.
    virtual void showCurrentRecord() = 0;

protected:
    ~CanvasHost() = default;
};

}  // namespace pemo
