// Drawing of RichText onto a painter: per-character fonts, underlines or side lines,
// price fields and the inverted selection bands.
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "FontFaces.h"
#include "PriceItem.h"
#include "RichText.h"
#include "TextPaint.h"
#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

int trunc(double v) {
    return int(std::trunc(v));
}

// The current drawing style and which of its two fonts is in use.
struct DrawState {
    const TextDevice& dev;
    CharStyle style;
    bool chinese = true;
    QFont font;
    int s = 1;       // art effect size in device pixels
    int ascent = 0;  // of the current font's cell, in device pixels
    int descent = 0;

    DrawState(const TextDevice& device, const CharStyle& first) : dev(device), style(first) {
        make(true);
    }

    void make(bool useChinese) {
        chinese = useChinese;
        const int pixels = trunc(dev.zoom * style.size * dev.dpiX / 72.0);
        font = TextPaint::font(style, chinese, pixels);
        // Stored sizes outside 1 to 3 are clamped, which keeps the effect loops bounded.
        s = std::max(1, trunc(dev.zoom * std::clamp(style.effectSize, 1, 3) * dev.dpiX / 96.0));
        const QByteArray& face = chinese ? style.chineseFace : style.westernFace;
        if (FontFaces::resolve(face).cjk) {
            // The same one-em cell the layout measured for Chinese faces.
            ascent = std::max(1, pixels) * 7 / 8;
            descent = std::max(1, pixels) - ascent;
        } else {
            const QFontMetrics metrics(font);
            ascent = metrics.ascent();
            descent = metrics.descent();
        }
    }

    void use(const TextItem& item, bool useChinese) {
        if (item.style != style) {
            style = *item.style;
            make(useChinese);
        } else if (chinese != useChinese) {
            make(useChinese);
        }
    }
};

// Joins the cells of a selection into one band per line and inverts each band.
class SelectionBands {
public:
    explicit SelectionBands(QPainter& painter, bool vertical)
        : painter_(painter), vertical_(vertical) {}
    ~SelectionBands() { flush(); }

    void add(const QRect& cell) {
        if (pending_.isNull()) {
            pending_ = cell;
        } else if (!vertical_ && cell.top() == pending_.top()) {
            pending_.setRight(cell.right());
        } else if (vertical_ && std::abs(cell.left() - pending_.left()) <= 9) {
            pending_.setBottom(cell.bottom());
        } else {
            flush();
            pending_ = cell;
        }
    }

private:
    void flush() {
        if (pending_.isNull())
            return;
        painter_.save();
        painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter_.fillRect(pending_, Qt::black);
        painter_.restore();
        pending_ = QRect();
    }

    QPainter& painter_;
    bool vertical_;
    QRect pending_;
};

constexpr uint16_t kFullStop = 0xA1A3;  // 。

uint16_t code(const TextItem& item) {
    return uint16_t(item.lead << 8 | item.trail);
}

QByteArray bytesOf(const TextItem& item) {
    QByteArray bytes(1, char(item.lead));
    if (ItemClass::isDoubleByte(item.itemClass()))
        bytes.append(char(item.trail));
    return bytes;
}

// Draws text turned a quarter turn clockwise, its origin at device point `at`.
void drawTurned(QPainter& painter, const QFont& font, QPoint at, const QByteArray& gbk,
                const QColor& colour) {
    painter.save();
    painter.setTransform(QTransform(0, 1, -1, 0, 0, 0), true);
    painter.setPen(colour);
    TextPaint::drawGlyph(painter, font, QPoint(at.y(), -at.x()), gbk);
    painter.restore();
}

// Punctuation is placed by the ink of the face's own glyph, not by where the face
// happens to draw it in its em: the ink of a closing mark (， 。 ： ） 】 ” …) sits at the
// start of its cell, against the character before it; the ink of an opening mark
// (（ 【 “ …) at the end of its cell, against the character after it. Along the run
// of the text, `cellStart` and `cellEnd` bound the cell and `ink` is the glyph's ink
// extent from its origin; the result is the origin. A glyph too wide for its cell keeps
// the face's own placement (`fallback`).
int placeInk(int cellStart, int cellEnd, int inkStart, int inkEnd, bool opening, int em, int fallback) {
    const int inkLength = inkEnd - inkStart;
    if (inkLength <= 0 || inkLength > cellEnd - cellStart) return fallback;
    // A small gap to the neighbour, as the Chinese faces' own half-width forms have.
    const int gap = std::min(em / 10, (cellEnd - cellStart - inkLength) / 2);
    return opening ? cellEnd - gap - inkEnd : cellStart + gap - inkStart;
}

QRect inkOf(const QFont& font, const QByteArray& gbk) {
    return QFontMetrics(font).tightBoundingRect(Gbk::toUnicode(gbk));
}

// The pen of an underline (horizontal text) or a side line (vertical text): the text's
// colour, one point wide, square ends.
void setUnderlinePen(QPainter& painter, const CharStyle& style, double zoom, int dpi) {
    QPen pen(TextPaint::colour(style.textColour));
    pen.setWidth(std::max(1, trunc(zoom * dpi / 72.0)));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
}

}  // namespace

void RichText::draw(QPainter& painter, const TextDevice& device, bool showSelection) const {
    draw(painter, device, showSelection, {});
}

void RichText::draw(QPainter& painter, const TextDevice& given, bool showSelection,
                    const std::function<void(int)>& beforeItem) const {
    // A resolution of 0 stands for the device's own.
    TextDevice device = given;
    if (painter.device() && device.dpiX <= 0)
        device.dpiX = painter.device()->logicalDpiX();
    if (painter.device() && device.dpiY <= 0)
        device.dpiY = painter.device()->logicalDpiY();
    painter.save();
    if (vertical_) {
        drawVertical(painter, device, showSelection, beforeItem);
    } else {
        drawHorizontal(painter, device, showSelection, beforeItem);
    }
    painter.restore();
}

void RichText::drawHorizontal(QPainter& painter, const TextDevice& dev, bool showSelection,
                              const std::function<void(int)>& beforeItem) const {
    const double zoom = dev.zoom;
    DrawState state(dev, *items_.front()->style);
    const bool selecting = showSelection && hasSelection();
    const auto [first, last] = selectionRange();
    SelectionBands bands(painter, false);

    for (int i = 0; i < itemCount(); ++i) {
        if (beforeItem)
            beforeItem(i);
        const TextItem& it = *items_[size_t(i)];
        const uint16_t c = it.itemClass();
        const int X = dev.originX + trunc(zoom * it.x * dev.dpiX / 1440.0);
        const int Y = dev.originY + trunc(zoom * it.y * dev.dpiY / 1440.0);
        bool drawn = false;
        if (ItemClass::isSingleByte(c)) {
            state.use(it, false);
            TextPaint::paintCharacter(painter, {X, Y}, bytesOf(it), state.font, state.style,
                                      state.s);
            drawn = true;
        } else if (ItemClass::isDoubleByte(c)) {
            state.use(it, true);
            int gx = X;
            if (c == ItemClass::Opening && it.width == it.height / 2)
                gx = dev.originX + trunc(zoom * (it.x - it.width) * dev.dpiX / 1440.0);
            if (c == ItemClass::Opening || c == ItemClass::Closing ||
                (c == ItemClass::NonStarter && code(it) == kFullStop)) {
                const int cellEnd = X + trunc(zoom * it.width * dev.dpiX / 1440.0);
                const QRect ink = inkOf(state.font, bytesOf(it));
                gx = placeInk(X, cellEnd, ink.left(), ink.left() + ink.width(), c == ItemClass::Opening,
                              state.font.pixelSize(), gx);
            }
            TextPaint::paintCharacter(painter, {gx, Y}, bytesOf(it), state.font, state.style,
                                      state.s);
            drawn = true;
        } else if (c == ItemClass::Space) {
            drawn = true;
        } else if (c == ItemClass::Price) {
            static_cast<const PriceItem&>(it).draw(painter, *metrics_, zoom, dev.originX,
                                                   dev.originY, dev.dpiX, dev.dpiY);
            state.style = *it.style;
            state.make(true);
        }
        if (drawn && state.style.underline) {
            setUnderlinePen(painter, state.style, zoom, dev.dpiX);
            const int u = dev.dpiX * 8 / 72;
            const int w = trunc(zoom * (int64_t(it.drawnWidth) * dev.dpiX / 1440));
            painter.drawLine(X, Y + u, X + w + 2, Y + u);
        }
        if (selecting && i >= first && i < last && !ItemClass::isEndOrBreak(c) &&
            !ItemClass::isReserved(c)) {
            const int left = dev.originX + trunc(zoom * (int64_t(it.x) * dev.dpiX / 1440));
            const int right = left + trunc(zoom * it.drawnWidth * dev.dpiX / 1440.0);
            const int top = dev.originY + trunc(zoom * (int64_t(it.lineTop) * dev.dpiY / 1440));
            const int bottom = top + trunc(zoom * it.lineHeight * dev.dpiY / 1440.0);
            bands.add(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
        }
    }
}

void RichText::drawVertical(QPainter& painter, const TextDevice& dev, bool showSelection,
                            const std::function<void(int)>& beforeItem) const {
    const double zoom = dev.zoom;
    DrawState state(dev, *items_.front()->style);
    const bool selecting = showSelection && hasSelection();
    const auto [first, last] = selectionRange();
    SelectionBands bands(painter, true);
    auto devX = [&](int x) { return dev.originX + trunc(zoom * x * dev.dpiX / 1440.0); };
    auto devY = [&](int y) { return dev.originY + trunc(zoom * y * dev.dpiY / 1440.0); };

    for (int i = 0; i < itemCount(); ++i) {
        if (beforeItem)
            beforeItem(i);
        const TextItem& it = *items_[size_t(i)];
        const uint16_t c = it.itemClass();
        const int X = devX(it.x);
        int glyphY = devY(it.y);
        bool drawn = false;
        auto upright = [&](int x, int y) {
            state.use(it, true);
            const int left = devX(x) - state.descent;
            glyphY = devY(y);
            // The cell's top-left corner is given; glyphs are drawn from their baseline.
            TextPaint::paintCharacter(painter, {left, glyphY + state.ascent}, bytesOf(it),
                                      state.font, state.style, state.s);
            drawn = true;
        };
        // Marks that sit in the cell's upper right quarter: their ink is centred in it.
        auto upperRight = [&] {
            state.use(it, true);
            const int em = state.ascent + state.descent;
            const int cellLeft = X - state.descent;
            const int cellTop = devY(it.y);
            const QRect ink = inkOf(state.font, bytesOf(it));
            if (ink.isEmpty() || ink.width() > em || ink.height() > em) {
                upright(it.x + it.width / 4, it.y - it.height / 4);
                return;
            }
            // Centred in the quarter, yet never out of the cell (a tall colon).
            const QPoint centre(cellLeft + em * 3 / 4, cellTop + em / 4);
            glyphY = cellTop;
            QPoint origin = centre - QPoint(ink.left() + ink.width() / 2, ink.top() + ink.height() / 2);
            origin.rx() = std::min(origin.x(), cellLeft + em - ink.left() - ink.width());
            origin.ry() = std::max(origin.y(), cellTop - ink.top());
            TextPaint::paintCharacter(painter, origin, bytesOf(it), state.font, state.style, state.s);
            drawn = true;
        };
        auto turned = [&](bool chinese, int y) {
            state.use(it, chinese);
            uint8_t lead = it.lead, trail = it.trail;
            if (chinese)
                CharClasses::verticalQuoteForm(&lead, &trail);
            glyphY = devY(y);
            QByteArray bytes(1, char(lead));
            if (chinese)
                bytes.append(char(trail));
            if (chinese) {
                // Turned, the glyph's run is the column's: its ink goes against its
                // neighbour in the column, as in horizontal text.
                const int cellStart = devY(it.y);
                const int cellEnd = devY(it.y + it.width);
                const QRect ink = inkOf(state.font, bytes);
                glyphY = placeInk(cellStart, cellEnd, ink.left(), ink.left() + ink.width(),
                                  it.itemClass() == ItemClass::Opening, state.font.pixelSize(), glyphY);
            }
            drawTurned(painter, state.font, {X, glyphY}, bytes,
                       TextPaint::colour(state.style.textColour));
            drawn = true;
        };
        const uint16_t code = uint16_t(it.lead << 8 | it.trail);
        if (c == ItemClass::Ideograph || c == ItemClass::Currency ||
            (c == ItemClass::NonStarter && code != 0xA1A3)) {
            upright(it.x, it.y);
        } else if ((c == ItemClass::NonStarter && code == 0xA1A3) ||
                   (c == ItemClass::Closing &&
                    (code == 0xA3AC || code == 0xA3BA || code == 0xA1A2 || code == 0xA3BB))) {
            upperRight();
        } else if (c == ItemClass::Closing && (code == 0xA3A1 || code == 0xA3BF)) {
            upright(it.x + it.width / 4, it.y);
        } else if (c == ItemClass::Opening) {
            turned(true, it.y - it.width);
        } else if (c == ItemClass::Closing) {
            turned(true, it.y);
        } else if (ItemClass::isSingleByte(c)) {
            turned(false, it.y);
        } else if (c == ItemClass::Space) {
            drawn = true;
        } else if (c == ItemClass::Price) {
            // A price runs down its column turned a quarter turn clockwise, as Latin
            // text does, its baseline on the column's baseline.
            painter.save();
            painter.translate(X, devY(it.y));
            painter.rotate(90);
            // Turned, the price's own x runs along the device's y and the other way round.
            static_cast<const PriceItem&>(it).drawAt(painter, *metrics_, zoom, 0, 0, dev.dpiY,
                                                     dev.dpiX, 0, 0);
            painter.restore();
            state.style = *it.style;
            state.make(true);
        }
        if (drawn && state.style.underline) {
            setUnderlinePen(painter, state.style, zoom, dev.dpiX);
            const int v = dev.dpiX * 2 / 72;
            const int lineX = X - state.descent - v;
            const int l = trunc(zoom * (int64_t(it.drawnWidth) * dev.dpiY / 1440)) +
                          (c == ItemClass::Space ? 4 : 2);
            painter.drawLine(lineX, glyphY, lineX, glyphY + l);
        }
        if (selecting && i >= first && i < last && !ItemClass::isEndOrBreak(c) &&
            !ItemClass::isReserved(c)) {
            const int left = dev.originX +
                             trunc(zoom * ((int64_t(it.x) - lineGap_ / 4) * dev.dpiX / 1440)) -
                             state.descent;
            const int right = left + trunc(zoom * it.lineHeight * dev.dpiX / 1440.0);
            const int top = dev.originY + trunc(zoom * (int64_t(it.y) * dev.dpiY / 1440));
            const int bottom = top + trunc(zoom * it.width * dev.dpiY / 1440.0);
            bands.add(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
        }
    }
}

std::optional<QRect> RichText::caretRect(const TextDevice& dev) const {
    if (hasSelection())
        return std::nullopt;
    const int i = std::clamp(caret_.index, 0, endIndex());
    const TextItem& it = *items_[size_t(i)];
    const double zoom = dev.zoom;
    // A caret after its item stands at the item's far edge.
    const int along = caret_.before ? 0 : it.drawnWidth;
    if (vertical_) {
        const int w = trunc(zoom * (int64_t(dev.dpiY) * (it.height * 3 / 4) / 1440));
        const int left = dev.originX + trunc(zoom * (int64_t(dev.dpiX) * it.x / 1440));
        const int top = dev.originY + trunc(zoom * (int64_t(dev.dpiY) * (it.y + along) / 1440));
        return QRect(left, top, w, 2);
    }
    const int h = trunc(zoom * (int64_t(dev.dpiY) * it.height / 1440));
    const int left = dev.originX + trunc(zoom * (int64_t(dev.dpiX) * (it.x + along) / 1440));
    const int top = dev.originY + trunc(zoom * (int64_t(dev.dpiY) * it.y / 1440)) - h * 3 / 4;
    return QRect(left, top, 2, h);
}

}  // namespace pemo
