#pragma once

#include <QByteArray>
#include <memory>
#include <optional>

#include "Block.h"
#include "RotatedFrame.h"

namespace pemo {

class BarcodeData;
class RichText;
class TextOutline;

// The block of every text-like kind: fixed text, variables, prices and mall
// information. It owns a rotatable frame and either live rich text or, once turned
// into a graphic, the outlines of its glyphs.
class TextBlock : public Block {
public:
    TextBlock();
    ~TextBlock() override;

    // A new block on the canvas: frame from the dragged rectangle, a content built from
    // the text with font size 24, line spacing 50 and alignment 撑满, fitted.
    static std::unique_ptr<TextBlock> create(int32_t kind, const TwipsRect& rect,
                                             const QByteArray& text, bool autoFit);

    void loadSnapshot(ArchiveReader& in) override;
    void storeSnapshot(ArchiveWriter& out) const override;
    void load(ArchiveReader& in) override;
    void store(ArchiveWriter& out) const override;
    void markPicturesUsed(PictureStore& images) const override;
    void loadTemplate(ArchiveReader& in, const PictureStore& local, PictureStore& images) override;
    void storeTemplate(ArchiveWriter& out) const override;
    void exportPictures(PictureStore& local, const PictureStore& images) const override;
    void loadClip(ArchiveReader& in, const PictureStore& local, PictureStore& images,
                  QPoint& origin) override;
    void storeClip(ArchiveWriter& out, int32_t originX, int32_t originY) const override;
    void draw(QPainter& painter, int flags, double zoom, int offsetX, int offsetY) override;
    void drawForOutput(QPainter& painter, double zoom, int offsetX, int offsetY,
                       const OutputDevice& device) override;
    void rebuildHandles(bool clearFirst) override;
    void moveBy(int32_t dx, int32_t dy) override;
    bool hitTest(QImage& scratch, double zoom, int x, int y) override;
    bool isLiveText() const override { return converted == 0; }
    // The frame, widened by a glyph border's cells drawn around it from the outside.
    TwipsRect inkBounds() const override;
    void scaleBy(double sx, double sy) override;
    void setPlaceholderText(const QByteArray& text) override;
    QByteArray plainText() const override;

    // While a corner grip is dragged: stores the corners, recomputes the frame, rebuilds
    // the grips and returns the one being dragged (none for other ids). Live text then
    // takes the size fields as its frame and refits.
    const BlockHandle* setCorners(int32_t gripId, QPoint p0, QPoint p1, QPoint p2, QPoint p3);
    // While the rotation grip is dragged: turns the frame about p0 towards (x, y).
    const BlockHandle* rotateTowards(int32_t x, int32_t y);
    // 文字图形化 applies to fixed text that is not empty, and (to edit its effect) to
    // text already turned into a graphic. The caller checks the selection and editing.
    bool canConvertToGraphic() const;
    // Turns the live text into the outlines of its glyphs in a new, unrotated frame
    // within the old bounding box; false when there is no live content. The caller
    // takes the undo snapshot and rebuilds the grips.
    bool convertToGraphic();

    // The live text as output draws it, but neither turned nor clipped, without a glyph
    // border: the unturned block's top-left corner at (x, y) device pixels. Ink outside
    // sizeWidth × sizeHeight there is what a turned block loses on paper and an unturned
    // one spills beyond its frame.
    void drawTextUnturned(QPainter& painter, int x, int y, int pixelsPerInch) const;

    // What the block encodes when its live text is set in a barcode face: the whole text
    // it shows for the record, or a sample of the symbology for a placeholder showing its
    // name ("{条码}", in 模板方式 and template printing); none for ordinary text.
    std::optional<BarcodeData> barcode() const;

    RichText* content() const { return content_.get(); }
    void setContent(std::unique_ptr<RichText> content);
    TextOutline* outline() const { return outline_.get(); }
    const RotatedFrame& corners() const { return corners_; }

    int16_t converted = 0;  // 1 once turned into a graphic
    int32_t outlineReferenceWidth = 0;
    int32_t outlineReferenceHeight = 0;
    // Stored after the outline reference and given back as read.
    QByteArray reserved = QByteArray(kReservedBytes, '\0');

    // 自动排版, switched by the view's command: contents refit their font size whenever
    // they are laid out again (a resize, a new placeholder value, scaling).
    static bool autoFit;

    static constexpr int kReservedBytes = 38;

private:
    // dotsPerInch: the output device's dots when known (see OutputDevice), else 0.
    void drawWith(QPainter& painter, int flags, double zoom, int offsetX, int offsetY, int ppi,
                  bool output, int dotsPerInch);
    void drawContentRotated(QPainter& painter, double zoom, QRect deviceFrame, int ppi,
                            double theta);
    // The symbol in place of the characters, turned with the block.
    void drawBarcode(QPainter& painter, double zoom, QRect deviceFrame, int ppi, double theta,
                     int dotsPerInch);
    // The offset that centres the laid-out text in its frame (twips).
    QPoint centringOffset() const;
    void writeTail(ArchiveWriter& out) const;
    void readTail(ArchiveReader& in);
    // Corners of the document and template forms: p0 and p2 stored; all zero means the
    // frame's corners.
    void readStoredCorners(ArchiveReader& in);
    void readContent(ArchiveReader& in, BlockForm form, const PictureStore* local,
                     PictureStore* images);
    void writeContent(ArchiveWriter& out, BlockForm form) const;

    std::unique_ptr<RichText> content_;
    std::unique_ptr<TextOutline> outline_;
    RotatedFrame corners_;
};

}  // namespace pemo
