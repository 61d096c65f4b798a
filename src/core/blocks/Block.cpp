#include "Block.h"

#include <QPainter>
#include <QPainterPath>

#include "Twips.h"
#include "core/codecs/Archive.h"

namespace pemo {

Block::~Block() = default;

void Block::checkLayer() const {
    if (layer < 0 || layer >= kLayerCount) throw FormatError();
}

// The fields every base form starts with: kind, aspect mode, layer, frame and size.
void Block::readHead(ArchiveReader& in) {
    kind = in.readInt32();
    aspectMode = in.readInt32();
    layer = in.readInt32();
    frame.left = in.readInt32();
    frame.top = in.readInt32();
    frame.right = in.readInt32();
    frame.bottom = in.readInt32();
    sizeWidth = in.readInt32();
    sizeHeight = in.readInt32();
}

void Block::writeHead(ArchiveWriter& out, QPoint origin) const {
    out.writeInt32(kind);
    out.writeInt32(aspectMode);
    out.writeInt32(layer);
    out.writeInt32(frame.left - origin.x());
    out.writeInt32(frame.top - origin.y());
    out.writeInt32(frame.right - origin.x());
    out.writeInt32(frame.bottom - origin.y());
    out.writeInt32(sizeWidth);
    out.writeInt32(sizeHeight);
}

void Block::loadBase(ArchiveReader& in) {
    readHead(in);
    in.skipReserved(8);
    checkLayer();
}

void Block::storeBase(ArchiveWriter& out) const {
    writeHead(out, QPoint());
    out.writeReserved(8);
}

void Block::loadSnapshotBase(ArchiveReader& in) {
    readHead(in);
    selected = in.readInt32() != 0;
    locked = in.readInt32() != 0;
    checkLayer();
}

void Block::storeSnapshotBase(ArchiveWriter& out) const {
    writeHead(out, QPoint());
    out.writeInt32(selected ? 1 : 0);
    out.writeInt32(locked ? 1 : 0);
}

QPoint Block::loadClipBase(ArchiveReader& in) {
    readHead(in);
    const int32_t ox = in.readInt32();
    const int32_t oy = in.readInt32();
    checkLayer();
    return QPoint(ox, oy);
}

void Block::storeClipBase(ArchiveWriter& out, int32_t originX, int32_t originY) const {
    writeHead(out, QPoint(originX, originY));
    out.writeInt32(originX);
    out.writeInt32(originY);
}

void Block::loadSnapshot(ArchiveReader& in) { loadSnapshotBase(in); }
void Block::storeSnapshot(ArchiveWriter& out) const { storeSnapshotBase(out); }
void Block::load(ArchiveReader& in) { loadBase(in); }
void Block::store(ArchiveWriter& out) const { storeBase(out); }
void Block::markPicturesUsed(PictureStore&) const {}
void Block::loadTemplate(ArchiveReader& in, const PictureStore&, PictureStore&) { load(in); }
void Block::storeTemplate(ArchiveWriter& out) const { store(out); }
void Block::exportPictures(PictureStore&, const PictureStore&) const {}

void Block::loadClip(ArchiveReader& in, const PictureStore&, PictureStore&, QPoint& origin) {
    origin = loadClipBase(in);
}

void Block::storeClip(ArchiveWriter& out, int32_t originX, int32_t originY) const {
    storeClipBase(out, originX, originY);
}

void Block::draw(QPainter& painter, int flags, double zoom, int, int) {
    drawHandles(painter, flags, zoom);
}

void Block::drawForOutput(QPainter&, double, int, int, const OutputDevice&) {}

void Block::drawPlacementFrame(QPainter& painter, int x, int y, int width, int height) {
    constexpr int kBand = 4;
    constexpr int kGrip = 6;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect inner(x, y, width, height);
    const QRect outer = inner.adjusted(-kBand, -kBand, kBand, kBand);
    QPainterPath band;
    band.addRect(outer);
    band.addRect(inner);
    painter.fillPath(band, QBrush(Qt::black, Qt::BDiagPattern));
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inner);
    // Eight grips around the band.
    const int xs[3] = {outer.left() - kGrip, x + width / 2 - kGrip / 2, outer.right() + 1};
    const int ys[3] = {outer.top() - kGrip, y + height / 2 - kGrip / 2, outer.bottom() + 1};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (i == 1 && j == 1) continue;
            painter.fillRect(QRect(xs[i], ys[j], kGrip, kGrip), Qt::black);
        }
    }
    painter.restore();
}

void Block::rebuildHandles(bool clearFirst) {
    if (clearFirst) clearHandles();
    const int32_t midX = (frame.left + frame.right) / 2;
    const int32_t midY = (frame.top + frame.bottom) / 2;
    addHandle(BlockHandle::TopLeft, -1, frame.left, frame.top);
    addHandle(BlockHandle::MiddleLeft, -1, frame.left, midY);
    addHandle(BlockHandle::BottomLeft, -1, frame.left, frame.bottom);
    addHandle(BlockHandle::MiddleTop, -1, midX, frame.top);
    addHandle(BlockHandle::MiddleBottom, -1, midX, frame.bottom);
    addHandle(BlockHandle::TopRight, -1, frame.right, frame.top);
    addHandle(BlockHandle::MiddleRight, -1, frame.right, midY);
    addHandle(BlockHandle::BottomRight, -1, frame.right, frame.bottom);
}

void Block::moveBy(int32_t dx, int32_t dy) {
    frame.left = saturatedInt(double(frame.left) + dx);
    frame.right = saturatedInt(double(frame.right) + dx);
    frame.top = saturatedInt(double(frame.top) + dy);
    frame.bottom = saturatedInt(double(frame.bottom) + dy);
    rebuildHandles(true);
}

bool Block::hitTest(QImage&, double, int, int) { return false; }
bool Block::isLiveText() const { return false; }

void Block::scaleBy(double sx, double sy) {
    frame.left = saturatedInt(frame.left * sx);
    frame.right = saturatedInt(frame.right * sx);
    frame.top = saturatedInt(frame.top * sy);
    frame.bottom = saturatedInt(frame.bottom * sy);
    if (selected) rebuildHandles(true);
}

void Block::setPlaceholderText(const QByteArray&) {}
QByteArray Block::plainText() const { return QByteArray(); }
QByteArray Block::pictureKey() const { return QByteArray(); }
void Block::setPictureKey(const QByteArray&) {}

BlockHandle& Block::addHandle(int32_t id, int32_t index, int32_t x, int32_t y) {
    for (auto& handle : handles_) {
        if (handle->x == x && handle->y == y) {
            handle->id = id;
            handle->index = index;
            return *handle;
        }
    }
    handles_.push_back(std::make_unique<BlockHandle>(BlockHandle{id, index, x, y}));
    return *handles_.back();
}

void Block::clearHandles(const BlockHandle* keep) {
    std::erase_if(handles_, [keep](const auto& h) { return h.get() != keep; });
}

const BlockHandle* Block::hitHandle(int32_t x, int32_t y, int32_t tolerance) const {
    for (auto it = handles_.rbegin(); it != handles_.rend(); ++it) {
        const BlockHandle& h = **it;
        if (x >= h.x - tolerance && x < h.x + tolerance && y >= h.y - tolerance &&
            y < h.y + tolerance) {
            return &h;
        }
    }
    return nullptr;
}

void Block::drawHandles(QPainter& painter, int flags, double zoom) const {
    if (!selected || !(flags & DrawFlag::SelectionTool) || (flags & DrawFlag::Wire)) return;
    const int ppi = devicePixelsPerInch(painter);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    for (const auto& handle : handles_) {
        const int x = toDevice(handle->x, ppi, zoom);
        const int y = toDevice(handle->y, ppi, zoom);
        const QRect square(x - 4, y - 4, 8, 8);
        if (BlockHandle::isResizeGrip(handle->id)) {
            painter.fillRect(square, QColor(0, 0, 128));
        } else {
            painter.setBrush(handle->id == BlockHandle::Point ? QColor(15, 207, 255)
                                                               : QColor(0, 0, 255));
            painter.drawEllipse(square);
        }
    }
    painter.restore();
}

}  // namespace pemo
