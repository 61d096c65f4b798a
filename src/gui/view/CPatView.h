#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <cstdint>
#include <functional>

#include "core/barcodes/BarcodeRequest.h"
#include "core/blocks/TextBlock.h"
#include "gui/canvas/CanvasHost.h"
#include "gui/canvas/DrawingStyle.h"

namespace pemo {

class CPatCanvas;
class CPatDoc;
class InfoRecord;

// The design view: the current record's page as a white sheet on a grey ground, fitted
// to the window or at a chosen zoom, with scroll bars when the page is larger than the
// window. The page itself is the canvas child window, placed on the page's on-screen
// rectangle; the view is its host. The view keeps the display switches and carries out
// the zoom, display and page-size commands.
class CPatView : public QAbstractScrollArea, public CanvasHost {
    Q_OBJECT
public:
    explicit CPatView(CPatDoc& doc, QWidget* parent = nullptr);

    CPatDoc& document() const override { return doc_; }
    CPatCanvas* canvas() const { return canvas_; }

    // Pixels per logical inch of the screen in y, used for both axes.
    int pixelsPerInch() const override;
    // w100 × h100: the current page's size at 100 %.
    QSize actualPageSize() const;
    // The page's rectangle in the viewport (scrolled).
    QRect pageRect() const;

    double zoom() const override { return zoom_; }
    bool fitMode() const { return fitMode_; }
    bool templateMode() const override;
    bool showAlignmentLines() const override { return showAlignmentLines_; }
    bool showFrameLines() const override { return showFrameLines_; }
    // The canvas's armed tool (a BlockKind) and the style new shapes take.
    int32_t armedTool() const;
    void setArmedTool(int32_t kind);
    // 插入条码 arms the request's kind; the block placed next is set in its face.
    void armBarcode(const BarcodeRequest& request);
    DrawingStyle& drawingStyle();
    uint32_t currentTextColour() const { return currentTextColour_; }
    void setCurrentTextColour(uint32_t colour) { currentTextColour_ = colour; }
    // 自动排版 is the text blocks' own setting; the view only switches it.
    bool autoFit() const { return TextBlock::autoFit; }
    void setAutoFit(bool on) { TextBlock::autoFit = on; }
    // The toolbar button of a command, under which its popup opens; none without one.
    std::function<QWidget*(int id)> toolButton;
    QWidget* toolButtonOf(int id) const { return toolButton ? toolButton(id) : nullptr; }
    // Mirrors of the selected text block's settings, for ticks and toolbar icons.
    int32_t currentAlignment = 0;
    int32_t currentLineSpacing = 0;
    int32_t currentCharSpacing = 0;

    // The whole page again, then a refresh: after the current record or its page
    // changed, after opening a document and on every document update.
    void showCurrentRecord() override;

    // 整版显示, 原大显示, 放大视图, 缩小视图. Each does nothing while the window has no
    // client area.
    void fitPage();
    void showActualSize();
    void zoomIn();
    void zoomOut();

    void setShowAlignmentLines(bool on);
    void setShowFrameLines(bool on);
    // 模板方式: placeholders show their names; the frame hides the record grid.
    void setTemplateMode(bool on);

    // Page-size commands on the current record: each is an undo step, scales the
    // blocks and marks the document modified.
    void setPageSize(int widthMm, int heightMm);
    // A4幅面 (0) to A0幅面 (4), in the page's present orientation.
    void setStandardPageSize(int index);
    // 自定义幅面: asks for the size.
    void customPageSize();
    void rotatePage();

    // Called by the canvas after it repainted or was refreshed.
    void canvasRepainted() override { emit pageShown(); }

signals:
    // After every repaint and refresh of the page: the status bar follows.
    void pageShown();
    // The frame shows the record grid outside template mode and hides it inside.
    void templateModeChanged(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    InfoRecord* currentRecord() const;
    // Decides the scroll bars a page of this size needs and returns the client area
    // they leave.
    QSize setScrollRange(QSize page);
    // Shows the page at this size, scrolled to the origin and centred in the client
    // area with offsets not below 0.
    void showPageAt(QSize size);
    // Places a page of this size for the present client area, keeping the scroll
    // position.
    void layoutPage(QSize size);
    void placeCanvas();

    CPatDoc& doc_;
    CPatCanvas* canvas_ = nullptr;
    double zoom_ = 1.0;
    bool fitMode_ = false;
    bool showAlignmentLines_ = false;
    bool showFrameLines_ = true;
    bool initialised_ = false;
    uint32_t currentTextColour_ = 0xFF0000;

    // The page's origin in the scrolled area.
    QPoint pageOrigin_;
    // Set while the view places the page, so the resizes it causes are not answered.
    bool placing_ = false;
};

}  // namespace pemo
