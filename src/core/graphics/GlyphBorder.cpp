#include "GlyphBorder.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "TextOutline.h"

namespace pemo {

namespace GlyphBorder {

namespace {

struct Entry {
    int kind;
    char32_t symbol;
};

// The border kinds were symbols of a picture font; each maps onto a Unicode symbol of
// the same look that DejaVu Sans carries.
constexpr Entry kTable[] = {
    {32, 0},        {33, 0},        {34, 0x2702},  // ✂
    {36, 0x25CE},   // ◎
    {37, 0x266B},   // ♫
    {38, 0x274F},   // ❏
    {40, 0x260E},   // ☎
    {42, 0x2709},   // ✉
    {63, 0x270D},   // ✍
    {64, 0x270E},   // ✎
    {65, 0x270C},   // ✌
    {66, 0x261D},   // ☝
    {67, 0x261B},   // ☛
    {69, 0x261C},   // ☜
    {70, 0x261E},   // ☞
    {79, 0x2690},   // ⚐
    {81, 0x2708},   // ✈
    {82, 0x263C},   // ☼
    {84, 0x2744},   // ❄
    {89, 0x2721},   // ✡
    {93, 0x2638},   // ☸
    {108, 0x25CF},  // ●
    {109, 0x274D},  // ❍
    {110, 0x25A0},  // ■
    {113, 0x2751},  // ❑
    {114, 0x2752},  // ❒
    {117, 0x25C6},  // ◆
    {118, 0x2756},  // ❖
    {122, 0x2318},  // ⌘
    {123, 0x2740},  // ❀
};

}  // namespace

const std::vector<int>& kinds() {
    static const std::vector<int> list = [] {
        std::vector<int> out;
        for (const Entry& e : kTable) out.push_back(e.kind);
        return out;
    }();
    return list;
}

QString symbolOf(int kind) {
    for (const Entry& e : kTable) {
        if (e.kind == kind && e.symbol != 0) {
            const char32_t s[] = {e.symbol};
            return QString::fromUcs4(s, 1);
        }
    }
    return QString();
}

QFont symbolFont(int pixelHeight) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans Symbols2"),
                      QStringLiteral("Symbola")});
    font.setPixelSize(std::max(1, pixelHeight));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

std::vector<QPoint> cellPositions(int left, int top, int right, int bottom, int glyphWidth,
                                  int glyphHeight) {
    const int gw = glyphWidth;
    const int gh = glyphHeight;
    const int64_t d = gw > 0 ? 2 * int64_t(gw) + (int64_t(right) - left) : 0;
    const int64_t e = gh > 0 ? 2 * int64_t(gh) + (int64_t(bottom) - top) : 0;
    const int64_t n = gw > 0 ? d / gw - 1 : 0;
    const int64_t m = gh > 0 ? e / gh - 1 : 0;
    if (n <= 0 || m <= 0) {
        return {{left - gw, top - gh}, {right, top - gh}, {left - gw, bottom}, {right, bottom}};
    }
    std::vector<QPoint> out;
    out.reserve(size_t(2 * (n + 1) + 2 * std::max<int64_t>(0, m - 1)));
    const double stepX = gw + double(d % gw) / double(n);
    for (int y : {top - gh, bottom}) {
        for (int64_t i = 0; i < n; ++i) out.emplace_back(int(i * stepX) + left - gw, y);
        out.emplace_back(right, y);
    }
    const double stepY = gh + double(e % gh) / double(m);
    for (int64_t i = 1; i < m; ++i) {
        const int y = int(i * stepY) + top - gh;
        out.emplace_back(left - gw, y);
        out.emplace_back(right, y);
    }
    return out;
}

}  // namespace GlyphBorder

void drawGlyphBorder(QPainter& painter, int left, int top, int right, int bottom, int kind,
                     int fontHeight, uint32_t borderColour, bool transparent,
                     uint32_t backgroundColour) {
    painter.save();
    if (!transparent && right > left && bottom > top) {
        painter.fillRect(QRect(left, top, right - left, bottom - top),
                         colourOf(int32_t(backgroundColour)));
    }
    const QColor colour = colourOf(int32_t(borderColour));
    if (kind == GlyphBorder::kRectangle) {
        QPen pen(colour);
        pen.setWidth(1);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawPolyline(QPolygon({{left, top}, {left, bottom}, {right, bottom},
                                       {right, top}, {left, top}}));
    }
    const QString symbol = GlyphBorder::symbolOf(kind);
    if (!symbol.isEmpty()) {
        const QFont font = GlyphBorder::symbolFont(std::abs(fontHeight));
        const QFontMetrics metrics(font);
        const int gw = metrics.horizontalAdvance(symbol);
        const int gh = metrics.height();
        painter.setFont(font);
        painter.setPen(colour);
        for (const QPoint& cell :
             GlyphBorder::cellPositions(left, top, right, bottom, gw, gh)) {
            painter.drawText(cell.x(), cell.y() + metrics.ascent(), symbol);
        }
    }
    painter.restore();
}

}  // namespace pemo
