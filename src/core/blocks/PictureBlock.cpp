#include "PictureBlock.h"

#include <QPainter>
#include <QTransform>

#include "BlockKind.h"
#include "Twips.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Picture.h"
#include "core/pictures/PictureStore.h"
#include "core/pictures/ProgramPictures.h"
#include "core/text/ArtText.h"

namespace pemo {

namespace {

const PictureStore* gDocumentImages = nullptr;

void writePoint(ArchiveWriter& out, QPoint p) {
    out.writeInt32(p.x());
    out.writeInt32(p.y());
}

QPoint readPoint(ArchiveReader& in) {
    const int32_t x = in.readInt32();
    const int32_t y = in.readInt32();
    return QPoint(x, y);
}

}  // namespace

PictureBlock::PictureBlock() { layer = 3; }

PictureBlock::~PictureBlock() = default;

void PictureBlock::setDocumentImages(const PictureStore* images) {
    gDocumentImages = images;
    ArtText::setDocumentPictures(images);  // texture fills of art text
}
const PictureStore* PictureBlock::documentImages() { return gDocumentImages; }

std::unique_ptr<PictureBlock> PictureBlock::create(int32_t kind, const PictureDescription& picture,
                                                   PictureStore& images) {
    auto block = std::make_unique<PictureBlock>();
    block->kind = kind;
    const bool takesFile = kind == BlockKind::InsertedPicture ||
                           (BlockKind::isProductPicture(kind) && !picture.filePath.isEmpty());
    if (takesFile) {
        block->pictureKey_ = images.add(picture);
        if (block->pictureKey_.isEmpty()) return nullptr;
    }
    return block;
}

void PictureBlock::setRect(const TwipsRect& rect) {
    frame = rect;
    sizeWidth = rect.width();
    sizeHeight = rect.height();
    corners_ = RotatedFrame::fromRect(rect);
    if (selected) rebuildHandles(true);
}

// --- stored forms

void PictureBlock::readCorners(ArchiveReader& in) {
    corners_.p0 = readPoint(in);
    corners_.p1 = readPoint(in);
    corners_.p2 = readPoint(in);
    corners_.p3 = readPoint(in);
}

void PictureBlock::writeCorners(ArchiveWriter& out, QPoint origin) const {
    writePoint(out, corners_.p0 - origin);
    writePoint(out, corners_.p1 - origin);
    writePoint(out, corners_.p2 - origin);
    writePoint(out, corners_.p3 - origin);
}

void PictureBlock::readDrag(ArchiveReader& in) {
    for (int32_t& v : placementDrag) v = in.readInt32();
}

void PictureBlock::writeDrag(ArchiveWriter& out) const {
    for (int32_t v : placementDrag) out.writeInt32(v);
}

void PictureBlock::importPicture(const PictureStore& local, PictureStore& images) {
    pictureKey_.clear();
    if (kind != BlockKind::InsertedPicture || !local.contains(localKey_)) return;
    pictureKey_ = images.add(local.descriptionOf(localKey_));
}

void PictureBlock::loadSnapshot(ArchiveReader& in) {
    loadSnapshotBase(in);
    readCorners(in);
    pictureKey_ = in.readText();
    readDrag(in);
}

void PictureBlock::storeSnapshot(ArchiveWriter& out) const {
    storeSnapshotBase(out);
    writeCorners(out, QPoint());
    out.writeText(pictureKey_);
    writeDrag(out);
}

void PictureBlock::load(ArchiveReader& in) {
    loadBase(in);
    readCorners(in);
    pictureKey_ = in.readText();
    readDrag(in);
}

void PictureBlock::store(ArchiveWriter& out) const {
    storeBase(out);
    writeCorners(out, QPoint());
    out.writeText(pictureKey_);
    writeDrag(out);
}

void PictureBlock::loadTemplate(ArchiveReader& in, const PictureStore& local, PictureStore& images) {
    loadBase(in);
    readCorners(in);
    localKey_ = in.readText();
    readDrag(in);
    importPicture(local, images);
}

void PictureBlock::storeTemplate(ArchiveWriter& out) const {
    storeBase(out);
    writeCorners(out, QPoint());
    out.writeText(localKey_);
    writeDrag(out);
}

void PictureBlock::loadClip(ArchiveReader& in, const PictureStore& local, PictureStore& images,
                            QPoint& origin) {
    origin = loadClipBase(in);
    readCorners(in);
    localKey_ = in.readText();
    readDrag(in);
    importPicture(local, images);
}

void PictureBlock::storeClip(ArchiveWriter& out, int32_t originX, int32_t originY) const {
    storeClipBase(out, originX, originY);
    writeCorners(out, QPoint(originX, originY));
    out.writeText(localKey_);
    writeDrag(out);
}

void PictureBlock::markPicturesUsed(PictureStore& images) const {
    if (kind == BlockKind::InsertedPicture ||
        (BlockKind::isProductPicture(kind) && !pictureKey_.isEmpty())) {
        images.mark(pictureKey_);
    }
}

void PictureBlock::exportPictures(PictureStore& local, const PictureStore& images) const {
    localKey_.clear();
    if (kind != BlockKind::InsertedPicture || !images.contains(pictureKey_)) return;
    localKey_ = local.add(images.descriptionOf(pictureKey_));
}

// --- the picture shown

const Picture* PictureBlock::currentPicture(bool forOutput) const {
    using ProgramPictures::Which;
    if (kind == BlockKind::Logo1) return ProgramPictures::picture(Which::Logo1);
    if (kind == BlockKind::Logo2) return ProgramPictures::picture(Which::Logo2);
    if (BlockKind::isProductPicture(kind) && pictureKey_.isEmpty()) {
        return forOutput ? nullptr : ProgramPictures::picture(Which::Product);
    }
    return gDocumentImages ? gDocumentImages->find(pictureKey_) : nullptr;
}

QByteArray PictureBlock::setProductPicture(const PictureDescription& picture, PictureStore& images) {
    pictureKey_ = picture.filePath.isEmpty() ? QByteArray() : images.add(picture);
    return pictureKey_;
}

QSize PictureBlock::naturalSize() const {
    const Picture* picture = currentPicture(false);
    return picture ? picture->size() : QSize(0, 0);
}

// --- drawing

void PictureBlock::draw(QPainter& painter, int flags, double zoom, int offsetX, int offsetY) {
    drawWith(painter, zoom, offsetX, offsetY, devicePixelsPerInch(painter), false);
    drawHandles(painter, flags, zoom);
}

void PictureBlock::drawForOutput(QPainter& painter, double zoom, int offsetX, int offsetY,
                                 const OutputDevice& device) {
    drawWith(painter, zoom, offsetX, offsetY, device.pixelsPerInch, true);
}

void PictureBlock::drawWith(QPainter& painter, double zoom, int offsetX, int offsetY, int ppi,
                            bool output) {
    const Picture* picture = currentPicture(output);
    if (!picture) return;
    const int width = toDevice(sizeWidth, ppi, zoom);
    const int height = toDevice(sizeHeight, ppi, zoom);
    if (width <= 0 || height <= 0) return;
    const QPoint topLeft(offsetX + toDevice(frame.left, ppi, zoom),
                         offsetY + toDevice(frame.top, ppi, zoom));
    // Older files store a click as a drag that starts where it ends: not mirrored either.
    const bool dragged = placementDrag[0] != placementDrag[2] || placementDrag[1] != placementDrag[3];
    const bool mirrorX = dragged && placementDrag[0] >= placementDrag[2];
    const bool mirrorY = dragged && placementDrag[1] >= placementDrag[3];
    // The picture turned about its top-left corner, its turned bounding box then placed
    // at the frame's top-left corner. Counterclockwise on screen is a negative angle
    // for the painter (y points down).
    const double theta = corners_.angle();
    QTransform turn;
    if (theta != 0.0) turn.rotate(-theta * 180.0 / RotatedFrame::kPi);
    const QRectF bounds = turn.mapRect(QRectF(0, 0, width, height));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(QPointF(topLeft) - bounds.topLeft());
    painter.setTransform(turn, true);
    picture->drawWhiteTransparent(painter, QRect(mirrorX ? width : 0, mirrorY ? height : 0,
                                                 mirrorX ? -width : width, mirrorY ? -height : height));
    painter.restore();
}

void PictureBlock::drawPlacementFrame(QPainter& painter, int x, int y, int width, int height) {
    if (const Picture* picture = currentPicture(false); picture && width > 0 && height > 0) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        picture->drawWhiteTransparent(painter, QRect(x, y, width, height));
        painter.restore();
    }
    Block::drawPlacementFrame(painter, x, y, width, height);
}

// --- geometry

void PictureBlock::rebuildHandles(bool clearFirst) {
    if (clearFirst) clearHandles();
    corners_.addCornerHandles(*this, BlockHandle::Rotation);
}

void PictureBlock::moveBy(int32_t dx, int32_t dy) {
    corners_.moveBy(dx, dy);
    Block::moveBy(dx, dy);
}

bool PictureBlock::hitTest(QImage& scratch, double zoom, int x, int y) {
    return corners_.contains(scratch, zoom, x, y);
}

void PictureBlock::scaleBy(double sx, double sy) {
    RotatedFrame::scaleBlock(*this, corners_, sx, sy);
    if (selected) rebuildHandles(true);
}

const BlockHandle* PictureBlock::setCorners(int32_t gripId, QPoint p0, QPoint p1, QPoint p2,
                                            QPoint p3) {
    return RotatedFrame::setCorners(*this, corners_, gripId, {p0, p1, p2, p3});
}

const BlockHandle* PictureBlock::rotateTowards(int32_t x, int32_t y) {
    return RotatedFrame::rotateTowards(*this, corners_, QPoint(x, y));
}

}  // namespace pemo
