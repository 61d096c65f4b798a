#include "TextOutline.h"

#include <algorithm>
#include <QPainter>
#include <cmath>

#include "EffectFill.h"
#include "EffectPainter.h"
#include "core/codecs/Archive.h"

namespace pemo {

QColor colourOf(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

void TextOutline::writePieces(ArchiveWriter& out) const {
    out.writeInt32(static_cast<int32_t>(pieces.size()));
    for (const OutlinePiece& p : pieces) {
        out.writeInt32(p.left);
        out.writeInt32(p.top);
        out.writeInt32(p.width);
        out.writeInt32(p.height);
        out.writeInt32(static_cast<int32_t>(p.points.size()));
        for (size_t i = 0; i < p.points.size(); ++i) {
            out.writeByte(p.types[i]);
            out.writeInt32(p.points[i].x());
            out.writeInt32(p.points[i].y());
        }
        out.writeReserved(16);
    }
    out.writeInt32(textColour);
    out.writeInt32(effect);
    out.writeInt32(reserved);
    out.writeInt32(size);
    out.writeInt32(effectColour);
    out.writeInt32(pattern);
    out.writeText(pictureKey);
}

void TextOutline::readPieces(ArchiveReader& in) {
    // A piece takes at least 5 int32 and 16 reserved int32.
    const int32_t count = in.readCount(84);
    std::vector<OutlinePiece> read(static_cast<size_t>(count));
    for (OutlinePiece& p : read) {
        p.left = in.readInt32();
        p.top = in.readInt32();
        p.width = in.readInt32();
        p.height = in.readInt32();
        const int32_t points = in.readCount(9);
        p.types.resize(static_cast<size_t>(points));
        p.points.resize(static_cast<size_t>(points));
        for (int32_t i = 0; i < points; ++i) {
            p.types[size_t(i)] = in.readByte();
            const int32_t x = in.readInt32();
            const int32_t y = in.readInt32();
            p.points[size_t(i)] = QPoint(x, y);
        }
        in.skipReserved(16);
    }
    pieces = std::move(read);
    textColour = in.readInt32();
    effect = in.readInt32();
    reserved = in.readInt32();
    size = in.readInt32();
    effectColour = in.readInt32();
    pattern = in.readInt32();
    pictureKey = in.readText();
}

void TextOutline::storeSnapshot(ArchiveWriter& out) const { writePieces(out); }
void TextOutline::loadSnapshot(ArchiveReader& in) { readPieces(in); }

void TextOutline::store(ArchiveWriter& out) const {
    writePieces(out);
    out.writeReserved(16);
}

void TextOutline::load(ArchiveReader& in) {
    readPieces(in);
    in.skipReserved(16);
}

void TextOutline::storeTemplate(ArchiveWriter& out) const {
    writePieces(out);
    out.writeText(localPictureKey);
    out.writeReserved(16);
}

void TextOutline::loadTemplate(ArchiveReader& in) {
    readPieces(in);
    localPictureKey = in.readText();
    in.skipReserved(16);
}

QPainterPath TextOutline::buildPath(int ppi, double scaleX, double scaleY, QPoint anchor,
                                    double angle) const {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const auto place = [&](int ox, int oy, QPoint p) {
        const int X = ox + static_cast<int>(p.x() * ppi * scaleX / 1440);
        const int Y = oy + static_cast<int>(p.y() * ppi * scaleY / 1440);
        return QPointF(static_cast<int>(anchor.x() + X * c + Y * s),
                       static_cast<int>(anchor.y() - X * s + Y * c));
    };
    QPainterPath path;
    for (const OutlinePiece& piece : pieces) {
        const int ox = static_cast<int>(piece.left * ppi * scaleX / 1440);
        const int oy = static_cast<int>(piece.top * ppi * scaleY / 1440);
        QPointF first;
        // Damaged point types (a point outside any figure, a Bézier cut short, an unknown
        // type) end the figure; points up to the next move are left out.
        bool inFigure = false;
        const auto endFigure = [&] {
            if (inFigure) path.closeSubpath();
            inFigure = false;
        };
        const size_t n = std::min(piece.points.size(), piece.types.size());
        for (size_t i = 0; i < n; ++i) {
            const QPointF p = place(ox, oy, piece.points[i]);
            const int type = piece.types[i] & 0x07;
            if (type == OutlinePiece::MoveTo) {
                endFigure();
                path.moveTo(p);
                first = p;
                inFigure = true;
                continue;
            }
            if (!inFigure) continue;
            switch (type) {
                case OutlinePiece::LineTo: path.lineTo(p); break;
                case OutlinePiece::CloseFigure:
                    path.lineTo(p);
                    path.lineTo(first);
                    break;
                case OutlinePiece::BezierTo:
                case OutlinePiece::BezierTo | 1:
                    if (i + 2 < n) {
                        path.cubicTo(p, place(ox, oy, piece.points[i + 1]),
                                     place(ox, oy, piece.points[i + 2]));
                        i += 2;
                    } else {
                        endFigure();
                    }
                    break;
                default: endFigure(); break;
            }
        }
        path.closeSubpath();
    }
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

const QImage& TextOutline::builtInTexture() {
    // A woven two-tone texture, 64 pixels square.
    static const QImage image = [] {
        QImage t(64, 64, QImage::Format_RGB32);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const bool warp = ((x / 8) + (y / 8)) % 2 == 0;
                const int shade = warp ? 150 + (y % 8) * 10 : 150 + (x % 8) * 10;
                t.setPixel(x, y, qRgb(shade, shade * 3 / 4, 60 + (x * y) % 40));
            }
        }
        return t;
    }();
    return image;
}

void TextOutline::draw(QPainter& painter, int ppi, double scaleX, double scaleY, QPoint anchor,
                       const QRect& frame, double angle, int penWidth, const QImage& texture) const {
    const QPainterPath path = buildPath(ppi, scaleX, scaleY, anchor, angle);
    const QColor text = colourOf(textColour);
    const QColor effectCol = colourOf(effectColour);
    const int p = std::max(1, penWidth);
    painter.save();
    const auto strokeFill = [&](const QPainterPath& shape, const QColor& pen, const QColor* brush,
                                int width) {
        painter.setPen(QPen(pen, width));
        painter.setBrush(brush ? QBrush(*brush) : Qt::NoBrush);
        painter.drawPath(shape);
    };
    switch (effect) {
        case ShadowUpLeft:
        case ShadowUpRight:
        case ShadowDownLeft:
        case ShadowDownRight: {
            const int dx = (effect == ShadowUpLeft || effect == ShadowDownLeft) ? -p : p;
            const int dy = (effect == ShadowUpLeft || effect == ShadowUpRight) ? -p : p;
            strokeFill(path.translated(dx, dy), effectCol, &effectCol, 1);
            strokeFill(path, text, &text, 1);
            break;
        }
        case Hollow: strokeFill(path, text, nullptr, p); break;
        case Bordered: strokeFill(path, effectCol, &text, p); break;
        case DoubleBordered: {
            const int step = p < 4 ? 1 : 6;
            for (int dx = -p; dx <= p; dx += step) {
                for (int dy = -p; dy <= p; dy += step) {
                    strokeFill(path.translated(dx, dy), effectCol, &effectCol, 1);
                }
            }
            const QColor halo(0xFE, 0xFE, 0xFE);
            strokeFill(path, halo, &text, p);
            break;
        }
        case PatternFill:
        case PictureFill: {
            // The pattern or texture over the frame, shown only inside the outline.
            const int w = (std::max(0, frame.width()) + 7) / 8 * 8;
            const int h = std::max(0, frame.height());
            const auto outline = [&path](QPainter& p, const QBrush& brush) {
                p.setRenderHint(QPainter::Antialiasing, false);
                p.setPen(QPen(brush, 1));
                p.setBrush(brush);
                p.drawPath(path);
            };
            if (effect == PatternFill) {
                paintEffectFill(painter, QRect(frame.topLeft(), QSize(w, h)), pattern,
                                uint32_t(textColour), uint32_t(effectColour), outline);
                break;
            }
            QImage colour;
            if (w > 0 && h > 0) {
                const QImage& source = texture.isNull() ? builtInTexture() : texture;
                colour = source.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                             .convertToFormat(QImage::Format_RGB32);
            }
            QImage mask = blankMask(w, h);
            if (colour.isNull() || mask.isNull()) break;
            {
                QPainter m(&mask);
                m.translate(-frame.left(), -frame.top());
                outline(m, QBrush(Qt::white));
            }
            maskedCopy(painter, frame.left(), frame.top(), w, h, colour, mask);
            break;
        }
        default: strokeFill(path, text, &text, 1); break;
    }
    painter.restore();
}

}  // namespace pemo
