#pragma once

#include <QByteArray>
#include <QSize>
#include <array>
#include <memory>

#include "Block.h"
#include "RotatedFrame.h"

namespace pemo {

class Picture;
struct PictureDescription;

// The block of the four picture kinds: an inserted picture (图象), the two mall logos
// and the product picture. Inserted and product pictures name an entry of the
// document's images store by key; the logos are read from files beside the program
// each time they are drawn.
class PictureBlock : public Block {
public:
    PictureBlock();
    ~PictureBlock() override;

    // A new block of a picture kind from a library picture. An inserted picture adds
    // the description's file to images; so does a product picture whose description
    // names a file. Null when the picture could not be copied into images.
    static std::unique_ptr<PictureBlock> create(int32_t kind, const PictureDescription& picture,
                                                PictureStore& images);

    // The document's images store that blocks draw from (the one open document sets it;
    // tests set their own). Null draws no stored pictures.
    static void setDocumentImages(const PictureStore* images);
    static const PictureStore* documentImages();

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
    void drawPlacementFrame(QPainter& painter, int x, int y, int width, int height) override;
    void rebuildHandles(bool clearFirst) override;
    void moveBy(int32_t dx, int32_t dy) override;
    bool hitTest(QImage& scratch, double zoom, int x, int y) override;
    void scaleBy(double sx, double sy) override;
    QByteArray pictureKey() const override { return pictureKey_; }
    void setPictureKey(const QByteArray& key) override { pictureKey_ = key; }

    // The corner drag (grips −11, −13, −18) and the rotation grip (−3).
    const BlockHandle* setCorners(int32_t gripId, QPoint p0, QPoint p1, QPoint p2, QPoint p3);
    const BlockHandle* rotateTowards(int32_t x, int32_t y);
    // Adds (dx, dy) to the corners only; the canvas moves the frame itself.
    void offsetCorners(int32_t dx, int32_t dy) { corners_.moveBy(dx, dy); }
    // Sets frame, corners and size from a rectangle (a new block's placement).
    void setRect(const TwipsRect& rect);

    // The product picture: takes the description's file into images (an empty
    // description removes the picture) and returns the key now shown.
    QByteArray setProductPicture(const PictureDescription& picture, PictureStore& images);
    // Pixel size of the picture draw would use; 0 × 0 when there is none.
    QSize naturalSize() const;

    const RotatedFrame& corners() const { return corners_; }
    const QByteArray& localKey() const { return localKey_; }

    // The device points of the drag that placed the block: start x, y, end x, y. Only
    // their order counts: a drag leftwards mirrors the picture left to right, upwards
    // top to bottom. All 0 when the block was not placed by a drag.
    std::array<int32_t, 4> placementDrag = {0, 0, 0, 0};

private:
    // The picture shown: on the screen and while placing (placeholder allowed), or
    // for output (a product picture without a picture shows nothing).
    const Picture* currentPicture(bool forOutput) const;
    void drawWith(QPainter& painter, double zoom, int offsetX, int offsetY, int ppi, bool output);
    void readCorners(ArchiveReader& in);
    void writeCorners(ArchiveWriter& out, QPoint origin) const;
    void readDrag(ArchiveReader& in);
    void writeDrag(ArchiveWriter& out) const;
    // After localKey of a template or clipboard form: an inserted picture takes its
    // picture from the stream's store into images; other kinds keep none.
    void importPicture(const PictureStore& local, PictureStore& images);

    // Set by exportPictures just before a template or clipboard form is written.
    mutable QByteArray localKey_;
    QByteArray pictureKey_;
    RotatedFrame corners_;
};

}  // namespace pemo
