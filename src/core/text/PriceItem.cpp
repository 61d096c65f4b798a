#include "PriceItem.h"

#include <QPainter>

#include <cmath>

#include "TextMetrics.h"
#include "TextPaint.h"
#include "core/codecs/Archive.h"

namespace pemo {

namespace {

// "原价", "现价", "折扣" in GBK.
const QByteArray kNames[] = {QByteArray("\xD4\xAD\xBC\xDB"), QByteArray("\xCF\xD6\xBC\xDB"),
                             QByteArray("\xD5\xDB\xBF\xDB")};

int smallSize(int size) {
    return size * 3 / 5;
}

// One character of the value: its byte length (0 at a lone lead byte, which ends it).
int charLength(const QByteArray& text, qsizetype i) {
    if (static_cast<unsigned char>(text[i]) < 0x80)
        return 1;
    return i + 1 < text.size() ? 2 : 0;
}

}  // namespace

PriceItem::PriceItem(int32_t priceKind) : TextItem(ItemClass::Price) {
    kind = priceKind;
}

void PriceItem::writeExtra(ArchiveWriter& out) const {
    out.writeText(valueText);
    out.writeInt32(priceStyle);
    out.writeInt32(lineColour);
}

void PriceItem::readExtra(ArchiveReader& in) {
    valueText = in.readText();
    priceStyle = in.readInt32();
    lineColour = in.readInt32();
}

bool PriceItem::hasSmallDecimals(int s) {
    return (s >= 5 && s <= 12) || s == 14 || s == 15;
}

bool PriceItem::hasRaisedDecimals(int s) {
    return (s >= 9 && s <= 12) || s == 15;
}

PriceItem::Line PriceItem::lineOf(int s) {
    switch (s) {
        case 2:
        case 6:
        case 10:
            return Line::Cross;
        case 3:
        case 7:
        case 11:
            return Line::Strike;
        case 4:
        case 8:
        case 12:
            return Line::Base;
        default:
            return Line::None;
    }
}

bool PriceItem::isName() const {
    for (const QByteArray& name : kNames) {
        if (CharClasses::indexOfOnBoundary(valueText, name) >= 0)
            return true;
    }
    return false;
}

qsizetype PriceItem::smallStart() const {
    if (!hasSmallDecimals(priceStyle) || isName())
        return valueText.size();
    qsizetype lastPoint = -1;
    for (qsizetype i = 0; i < valueText.size();) {
        const int len = charLength(valueText, i);
        if (len == 0)
            break;
        if (valueText[i] == '.')
            lastPoint = i;
        i += len;
    }
    return lastPoint < 0 ? valueText.size() : lastPoint;
}

int PriceItem::advanceOf(const QByteArray& text, qsizetype from, qsizetype to,
                         const StyleMetrics& m) {
    int sum = 0;
    for (qsizetype i = from; i < to;) {
        const int len = charLength(text, i);
        if (len == 0)
            break;
        const auto b = static_cast<unsigned char>(text[i]);
        if (len == 2) {
            sum += m.chineseHeight;
        } else if (b == ' ') {
            sum += m.westernHeight / 2;
        } else {
            sum += m.widthOf(b);
        }
        i += len;
    }
    return sum;
}

void PriceItem::measure(const TextMetrics& metrics) {
    const StyleMetrics full = metrics.measure(*style, style->size);
    const qsizetype split = smallStart();
    width = advanceOf(valueText, 0, split, full);
    if (split < valueText.size()) {
        const StyleMetrics small = metrics.measure(*style, smallSize(style->size));
        width += advanceOf(valueText, split, valueText.size(), small);
    }
    height = std::max(full.chineseHeight, full.westernHeight);
    ascent = std::max(full.chineseAscent, full.westernAscent);
}

void PriceItem::draw(QPainter& painter, const TextMetrics& metrics, double zoom, int originX,
                     int originY, int dpiX, int dpiY) const {
    drawAt(painter, metrics, zoom, originX, originY, dpiX, dpiY, this->x, this->y);
}

void PriceItem::drawAt(QPainter& painter, const TextMetrics& metrics, double zoom, int originX,
                       int originY, int dpiX, int dpiY, int x, int y) const {
    const double zx = zoom * dpiX / 1440.0;
    const double zy = zoom * dpiY / 1440.0;
    const StyleMetrics full = metrics.measure(*style, style->size);
    const int h = std::min(full.chineseHeight, full.westernHeight);
    const int baseline = originY + int(std::trunc(y * zy));

    painter.save();
    painter.setPen(TextPaint::colour(style->textColour));
    const qsizetype split = smallStart();
    int advance = 0;
    auto drawRun = [&](qsizetype from, qsizetype to, int size, int base) {
        const StyleMetrics m = metrics.measure(*style, size);
        const int pixels = int(std::trunc(zoom * size * dpiX / 72.0));
        for (qsizetype i = from; i < to;) {
            const int len = charLength(valueText, i);
            if (len == 0)
                break;
            const auto b = static_cast<unsigned char>(valueText[i]);
            const QPoint at(originX + int(std::trunc((x + advance) * zx)), base);
            if (len == 2) {
                TextPaint::drawGlyph(painter, TextPaint::font(*style, true, pixels), at,
                                     valueText.mid(i, 2));
            } else if (b >= 33) {
                TextPaint::drawGlyph(painter, TextPaint::font(*style, false, pixels), at,
                                     valueText.mid(i, 1));
            }
            advance += advanceOf(valueText, i, i + len, m);
            i += len;
        }
    };
    drawRun(0, split, style->size, baseline);
    if (split < valueText.size()) {
        const int raisedBase =
            hasRaisedDecimals(priceStyle) ? originY + int(std::trunc((y - h / 4) * zy)) : baseline;
        drawRun(split, valueText.size(), smallSize(style->size), raisedBase);
    }

    const Line line = lineOf(priceStyle);
    if (line != Line::None) {
        const int penWidth = std::max(2, int(std::trunc(zoom * style->size * dpiX / 1440.0)));
        QPen pen(TextPaint::colour(lineColour));
        pen.setWidth(penWidth);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        const int xs = originX + int(std::trunc(x * zx));
        const int xe = originX + int(std::trunc((x + width) * zx));
        const int yb = baseline;
        const int yt = originY + int(std::trunc((y - 3 * h / 5) * zy));
        const int ym = (yt + yb) / 2;
        if (line == Line::Cross) {
            painter.drawLine(xs, yt, xe, yb);
            painter.drawLine(xs, yb, xe, yt);
        } else if (line == Line::Strike) {
            painter.drawLine(xs, ym, xe, ym);
        } else {
            painter.drawLine(xs, yb, xe, yb);
        }
    }
    painter.restore();
}

}  // namespace pemo
