#include "TextBlock.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <climits>
#include <cmath>

#include "BlockKind.h"
#include "PictureBlock.h"
#include "core/codecs/Picture.h"
#include "core/pictures/PictureStore.h"
#include "StreamPictureBridge.h"
#include "Twips.h"
#include "core/barcodes/BarcodeData.h"
#include "core/barcodes/BarcodePainter.h"
#include "core/barcodes/BarcodeStyle.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/graphics/GlyphBorder.h"
#include "core/graphics/TextOutline.h"
#include "core/text/PriceItem.h"
#include "core/text/RichText.h"

namespace pemo {

bool TextBlock::autoFit = true;

namespace {

constexpr int kNewFontSize = 24;
constexpr int kNewLineSpacing = 50;
const QColor kFrameLineColour(128, 128, 128);

void writePoint(ArchiveWriter& out, QPoint p) {
    out.writeInt32(p.x());
    out.writeInt32(p.y());
}

QPoint readPoint(ArchiveReader& in) {
    const int32_t x = in.readInt32();
    const int32_t y = in.readInt32();
    return QPoint(x, y);
}

double degreesOf(double radians) { return radians * 180.0 / RotatedFrame::kPi; }

}  // namespace

TextBlock::TextBlock() { layer = 8; }

TextBlock::~TextBlock() = default;

std::unique_ptr<TextBlock> TextBlock::create(int32_t kind, const TwipsRect& rect,
                                             const QByteArray& text, bool fit) {
    auto block = std::make_unique<TextBlock>();
    block->kind = kind;
    block->frame = rect;
    block->sizeWidth = rect.width();
    block->sizeHeight = rect.height();
    block->corners_ = RotatedFrame::fromRect(rect);
    CharStyle style;
    style.size = kNewFontSize;
    block->content_ = std::make_unique<RichText>(rect.width(), rect.height(), text, style, kind,
                                                 kNewFontSize, kNewLineSpacing, RichText::Fill);
    block->content_->fitToFrame(fit);
    return block;
}

void TextBlock::setContent(std::unique_ptr<RichText> content) {
    content_ = std::move(content);
    if (content_) {
        outline_.reset();
        converted = 0;
    }
}

// --- stored forms

void TextBlock::writeTail(ArchiveWriter& out) const {
    out.writeInt16(converted);
    out.writeInt32(outlineReferenceWidth);
    out.writeInt32(outlineReferenceHeight);
    out.writeBytes(reserved.leftJustified(kReservedBytes, '\0', true));
}

void TextBlock::readTail(ArchiveReader& in) {
    converted = in.readInt16();
    outlineReferenceWidth = in.readInt32();
    outlineReferenceHeight = in.readInt32();
    reserved = in.readBytes(kReservedBytes);
}

void TextBlock::readStoredCorners(ArchiveReader& in) {
    const QPoint p0 = readPoint(in);
    const QPoint p2 = readPoint(in);
    if (p0.isNull() && p2.isNull()) {
        corners_ = RotatedFrame::fromRect(frame);
    } else {
        corners_ = RotatedFrame::fromOrigin(p0, RotatedFrame::angle(p0, p2), sizeWidth, sizeHeight);
        frame = corners_.bounds();
    }
}

void TextBlock::writeContent(ArchiveWriter& out, BlockForm form) const {
    if (converted) {
        const TextOutline empty;
        const TextOutline& o = outline_ ? *outline_ : empty;
        switch (form) {
            case BlockForm::Snapshot: o.storeSnapshot(out); break;
            case BlockForm::Document: o.store(out); break;
            default: o.storeTemplate(out); break;
        }
        return;
    }
    const RichText empty;
    const RichText& c = content_ ? *content_ : empty;
    switch (form) {
        case BlockForm::Snapshot: c.storeSnapshot(out); break;
        case BlockForm::Document: c.store(out); break;
        default: c.storeTemplate(out); break;
    }
}

void TextBlock::readContent(ArchiveReader& in, BlockForm form, const PictureStore* local,
                            PictureStore* images) {
    if (converted) {
        auto o = std::make_unique<TextOutline>();
        switch (form) {
            case BlockForm::Snapshot: o->loadSnapshot(in); break;
            case BlockForm::Document: o->load(in); break;
            default: {
                o->loadTemplate(in);
                if (o->effect == TextOutline::PictureFill && !o->localPictureKey.isEmpty()) {
                    StreamPictureBridge bridge(local, nullptr, nullptr, images);
                    o->pictureKey = bridge.importPicture(o->localPictureKey);
                }
                break;
            }
        }
        outline_ = std::move(o);
        content_.reset();
        return;
    }
    auto c = std::make_unique<RichText>();
    switch (form) {
        case BlockForm::Snapshot: c->loadSnapshot(in); break;
        case BlockForm::Document: c->load(in); break;
        default: {
            StreamPictureBridge bridge(local, nullptr, nullptr, images);
            c->loadTemplate(in, &bridge);
            break;
        }
    }
    c->fitToFrame(autoFit);
    content_ = std::move(c);
    outline_.reset();
}

void TextBlock::loadSnapshot(ArchiveReader& in) {
    loadSnapshotBase(in);
    corners_.p0 = readPoint(in);
    corners_.p1 = readPoint(in);
    corners_.p2 = readPoint(in);
    corners_.p3 = readPoint(in);
    readTail(in);
    readContent(in, BlockForm::Snapshot, nullptr, nullptr);
}

void TextBlock::storeSnapshot(ArchiveWriter& out) const {
    storeSnapshotBase(out);
    writePoint(out, corners_.p0);
    writePoint(out, corners_.p1);
    writePoint(out, corners_.p2);
    writePoint(out, corners_.p3);
    writeTail(out);
    writeContent(out, BlockForm::Snapshot);
}

void TextBlock::load(ArchiveReader& in) {
    loadBase(in);
    readStoredCorners(in);
    readTail(in);
    readContent(in, BlockForm::Document, nullptr, nullptr);
}

void TextBlock::store(ArchiveWriter& out) const {
    storeBase(out);
    writePoint(out, corners_.p0);
    writePoint(out, corners_.p2);
    writeTail(out);
    writeContent(out, BlockForm::Document);
}

void TextBlock::loadTemplate(ArchiveReader& in, const PictureStore& local, PictureStore& images) {
    loadBase(in);
    readStoredCorners(in);
    readTail(in);
    readContent(in, BlockForm::Template, &local, &images);
}

void TextBlock::storeTemplate(ArchiveWriter& out) const {
    storeBase(out);
    writePoint(out, corners_.p0);
    writePoint(out, corners_.p2);
    writeTail(out);
    writeContent(out, BlockForm::Template);
}

void TextBlock::loadClip(ArchiveReader& in, const PictureStore& local, PictureStore& images,
                         QPoint& origin) {
    origin = loadClipBase(in);
    corners_.p0 = readPoint(in);
    corners_.p1 = readPoint(in);
    corners_.p2 = readPoint(in);
    corners_.p3 = readPoint(in);
    readTail(in);
    readContent(in, BlockForm::Clip, &local, &images);
}

void TextBlock::storeClip(ArchiveWriter& out, int32_t originX, int32_t originY) const {
    storeClipBase(out, originX, originY);
    const QPoint origin(originX, originY);
    writePoint(out, corners_.p0 - origin);
    writePoint(out, corners_.p1 - origin);
    writePoint(out, corners_.p2 - origin);
    writePoint(out, corners_.p3 - origin);
    writeTail(out);
    writeContent(out, BlockForm::Clip);
}

void TextBlock::markPicturesUsed(PictureStore& images) const {
    if (content_) {
        content_->markPicturesUsed([&images](const QByteArray& key) { images.mark(key); });
    } else if (outline_ && outline_->effect == TextOutline::PictureFill) {
        images.mark(outline_->pictureKey);
    }
}

void TextBlock::exportPictures(PictureStore& local, const PictureStore& images) const {
    StreamPictureBridge bridge(nullptr, &local, &images, nullptr);
    if (content_) {
        content_->exportPictures(&bridge);
    } else if (outline_) {
        outline_->localPictureKey =
            outline_->effect == TextOutline::PictureFill && !outline_->pictureKey.isEmpty()
                ? bridge.exportPicture(outline_->pictureKey)
                : QByteArray();
    }
}

// --- geometry

void TextBlock::rebuildHandles(bool clearFirst) {
    if (clearFirst) clearHandles();
    corners_.addCornerHandles(*this, converted ? BlockHandle::Rotation : BlockHandle::TopRight);
}

void TextBlock::moveBy(int32_t dx, int32_t dy) {
    corners_.moveBy(dx, dy);
    Block::moveBy(dx, dy);
}

void TextBlock::scaleBy(double sx, double sy) {
    RotatedFrame::scaleBlock(*this, corners_, sx, sy);
    if (content_ && !converted) {
        content_->setFrameSize(static_cast<int>(content_->frameWidth() * sx),
                               static_cast<int>(content_->frameHeight() * sy), autoFit);
    }
    if (selected) rebuildHandles(true);
}

const BlockHandle* TextBlock::setCorners(int32_t gripId, QPoint p0, QPoint p1, QPoint p2,
                                         QPoint p3) {
    const BlockHandle* dragged = RotatedFrame::setCorners(*this, corners_, gripId, {p0, p1, p2, p3});
    if (content_ && !converted) content_->setFrameSize(sizeWidth, sizeHeight, autoFit);
    return dragged;
}

const BlockHandle* TextBlock::rotateTowards(int32_t x, int32_t y) {
    return RotatedFrame::rotateTowards(*this, corners_, QPoint(x, y));
}

bool TextBlock::hitTest(QImage& scratch, double zoom, int x, int y) {
    return corners_.contains(scratch, zoom, x, y);
}

// --- placeholders

void TextBlock::setPlaceholderText(const QByteArray& text) {
    if (!content_ || converted) return;
    if (BlockKind::isPrice(kind)) {
        content_->setPriceText(text, kind, autoFit);
    } else {
        content_->setPlaceholderText(text, kind, autoFit);
    }
}

QByteArray TextBlock::plainText() const {
    QByteArray text("");
    if (!content_) return text;
    for (int i = 0; i < content_->itemCount(); ++i) {
        const TextItem& item = content_->item(i);
        switch (item.itemClass()) {
            case ItemClass::End: break;
            case ItemClass::LineBreak: text.append('\n'); break;
            case ItemClass::Space: text.append(' '); break;
            case ItemClass::Price: text.append(static_cast<const PriceItem&>(item).valueText); break;
            default:
                if (item.lead) text.append(char(item.lead));
                if (item.trail) text.append(char(item.trail));
                break;
        }
    }
    return text;
}

// --- drawing

QPoint TextBlock::centringOffset() const {
    if (!content_) return QPoint();
    if (content_->isVertical()) {
        const int free = content_->extent() - content_->frameWidth();
        return QPoint(free < 0 ? free / 2 : 0, 0);
    }
    const int free = content_->frameHeight() - content_->extent();
    return QPoint(0, free > 0 ? free / 2 : 0);
}

TwipsRect TextBlock::inkBounds() const {
    if (converted || !content_ || content_->borderGlyph <= GlyphBorder::kRectangle) return frame;
    // A symbol cell is at most about one and a half glyph sizes wide or high (points).
    const int64_t margin = int64_t(std::clamp(content_->borderSize, 0, 1000)) * 20 * 3 / 2 + 40;
    const auto widen = [](int64_t v) {
        return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return TwipsRect{widen(frame.left - margin), widen(frame.top - margin),
                     widen(frame.right + margin), widen(frame.bottom + margin)};
}

void TextBlock::draw(QPainter& painter, int flags, double zoom, int offsetX, int offsetY) {
    drawWith(painter, flags, zoom, offsetX, offsetY, devicePixelsPerInch(painter), false, 0);
}

void TextBlock::drawForOutput(QPainter& painter, double zoom, int offsetX, int offsetY,
                              const OutputDevice& device) {
    drawWith(painter, 0, zoom, offsetX, offsetY, device.pixelsPerInch, true, device.dotsPerInch);
}

void TextBlock::drawTextUnturned(QPainter& painter, int x, int y, int ppi) const {
    if (converted || !content_) return;
    const QPoint centre = centringOffset();
    content_->draw(painter,
                   TextDevice{1.0, x + toDevice(centre.x(), ppi, 1.0), y + toDevice(centre.y(), ppi, 1.0),
                              ppi, ppi},
                   false);
}

void TextBlock::drawWith(QPainter& painter, int flags, double zoom, int offsetX, int offsetY,
                         int ppi, bool output, int dotsPerInch) {
    const auto device = [&](QPoint p) {
        return QPoint(toDevice(p.x(), ppi, zoom) + offsetX, toDevice(p.y(), ppi, zoom) + offsetY);
    };
    const QRect deviceFrame(device(QPoint(frame.left, frame.top)),
                            device(QPoint(frame.right, frame.bottom)) - QPoint(1, 1));
    const double theta = corners_.angle();
    const int dpiX = output ? ppi : (painter.device() ? painter.device()->logicalDpiX() : ppi);
    const bool editing = !output && (flags & DrawFlag::Editing) && selected;

    if (converted) {
        if (outline_ && outlineReferenceWidth > 0 && outlineReferenceHeight > 0) {
            const double scaleX = zoom * sizeWidth / outlineReferenceWidth;
            const double scaleY = zoom * sizeHeight / outlineReferenceHeight;
            // Stored sizes are 1 to 3; others are clamped so the halo loops stay bounded.
            const int size = std::clamp(outline_->size, 1, 3);
            const int pen = std::max(1, static_cast<int>(zoom * (size * dpiX) / 48));
            // A picture fill takes its texture from the document's pictures; a key that
            // names none, or a picture that does not decode, gives the built-in texture.
            QImage texture;
            const PictureStore* images = PictureBlock::documentImages();
            if (outline_->effect == TextOutline::PictureFill && images) {
                if (const Picture* picture = images->find(outline_->pictureKey)) texture = picture->image();
            }
            outline_->draw(painter, ppi, scaleX, scaleY, device(corners_.p0), deviceFrame, theta,
                           pen, texture);
        }
    } else if (content_ && !editing && BarcodeStyle::symbologyOf(*content_)) {
        // While it is edited in place a barcode shows its text, to be typed and read.
        drawBarcode(painter, zoom, deviceFrame, ppi, theta, dotsPerInch);
    } else if (content_) {
        if (!editing && theta != 0.0) {
            drawContentRotated(painter, zoom, deviceFrame, ppi, theta);
        } else {
            const QPoint bottomRight = device(QPoint(frame.right, frame.bottom));
            const int glyphHeight = int(zoom * content_->borderSize * dpiX / 72);
            drawGlyphBorder(painter, deviceFrame.left(), deviceFrame.top(), bottomRight.x(),
                            bottomRight.y(), content_->borderGlyph, glyphHeight,
                            uint32_t(content_->borderColour), content_->transparent != 0,
                            uint32_t(content_->backgroundColour));
            const QPoint centre = editing ? QPoint() : centringOffset();
            const QPoint origin = device(QPoint(frame.left, frame.top)) +
                                  QPoint(toDevice(centre.x(), ppi, zoom), toDevice(centre.y(), ppi, zoom));
            content_->draw(painter, TextDevice{zoom, origin.x(), origin.y(), dpiX, ppi}, editing);
        }
    }

    if (!output && (flags & DrawFlag::FrameLines)) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(kFrameLineColour, 0));
        painter.setBrush(Qt::NoBrush);
        const QPoint quad[4] = {device(corners_.p0), device(corners_.p1), device(corners_.p3),
                                device(corners_.p2)};
        painter.drawPolygon(quad, 4);
        painter.restore();
    }
    if (!output) drawHandles(painter, flags, zoom);
}

std::optional<BarcodeData> TextBlock::barcode() const {
    if (converted || !content_) return std::nullopt;
    const auto symbology = BarcodeStyle::symbologyOf(*content_);
    if (!symbology) return std::nullopt;
    const QString text = Gbk::toUnicode(plainText());
    const bool placeholder = BlockKind::isVariable(kind) || BlockKind::isPrice(kind) || BlockKind::isMallInfo(kind);
    // Typing holds braces in their full-width forms.
    const QString shown = text.trimmed();
    const bool opens = shown.startsWith(QLatin1Char('{')) || shown.startsWith(QChar(0xFF5B));
    const bool closes = shown.endsWith(QLatin1Char('}')) || shown.endsWith(QChar(0xFF5D));
    if (placeholder && opens && closes) {
        return BarcodeData::sample(*symbology);
    }
    return BarcodeData::prepare(*symbology, text);
}

void TextBlock::drawBarcode(QPainter& painter, double zoom, QRect deviceFrame, int ppi, double theta,
                            int dotsPerInch) {
    const auto look = BarcodeStyle::lookOf(*content_);
    const auto data = barcode();
    if (!look || !data) return;
    // Unrounded device sizes: a symbol's modules keep their widths at every zoom.
    const double width = zoom * sizeWidth * ppi / 1440.0;
    const double height = zoom * sizeHeight * ppi / 1440.0;
    if (width <= 0 || height <= 0) return;
    QTransform turn;
    turn.rotate(-degreesOf(theta));
    const QRectF bounds = turn.mapRect(QRectF(0, 0, width, height));
    painter.save();
    painter.translate(QPointF(deviceFrame.topLeft()) - bounds.topLeft());
    painter.setTransform(turn, true);
    BarcodePainter::paint(painter, QRectF(0, 0, width, height), *data, *look, dotsPerInch);
    painter.restore();
}

void TextBlock::drawContentRotated(QPainter& painter, double zoom, QRect deviceFrame, int ppi,
                                   double theta) {
    const int width = toDevice(sizeWidth, ppi, zoom);
    const int height = toDevice(sizeHeight, ppi, zoom);
    if (width <= 0 || height <= 0) return;
    // The text is drawn through a painter turned about the block's own top-left corner,
    // clipped to the unturned block; the turned block's bounding box then starts at the
    // frame's top-left corner. Counterclockwise on screen is a negative angle for the
    // painter (y points down). Text stays text (vector output keeps it selectable) and
    // keeps every colour, white included.
    QTransform turn;
    turn.rotate(-degreesOf(theta));
    const QRectF bounds = turn.mapRect(QRectF(0, 0, width, height));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(QPointF(deviceFrame.topLeft()) - bounds.topLeft());
    painter.setTransform(turn, true);
    painter.setClipRect(QRect(0, 0, width, height), Qt::IntersectClip);
    const QPoint centre = centringOffset();
    content_->draw(painter,
                   TextDevice{zoom, toDevice(centre.x(), ppi, zoom), toDevice(centre.y(), ppi, zoom),
                              ppi, ppi},
                   false);
    painter.restore();
}

}  // namespace pemo
