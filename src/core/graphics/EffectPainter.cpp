#include "EffectPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace pemo {

namespace {

constexpr int kFirstGradient = 1;
constexpr int kLastGradient = 18;
constexpr int kLastPattern = 32;
constexpr QRgb kWhite = 0xFFFFFFFF;

QRgb rgbOf(uint32_t c) { return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// The colours of steps 0 … n, ready to be written into an RGB32 image.
std::vector<QRgb> stepTable(uint32_t c1, uint32_t c2, int n) {
    std::vector<QRgb> table(size_t(n) + 1);
    for (int t = 0; t <= n; ++t) table[size_t(t)] = rgbOf(effectStep(c1, c2, t, n));
    return table;
}

// Gradients along one axis: the colour of a whole row (or column) by its index.
void axisGradient(int effect, int length, uint32_t c1, uint32_t c2, std::vector<QRgb>& out) {
    out.resize(size_t(length));
    const int half = (length + 1) / 2;
    const int kind = (effect - 1) % 4;  // 0 TB/LR, 1 BT/RL, 2 TM/LM, 3 MT/ML
    const int n = kind < 2 ? length : half;
    const std::vector<QRgb> table = stepTable(c1, c2, n);
    for (int v = 0; v < length; ++v) {
        const int i = std::min(v, length - 1 - v);
        int t = 0;
        switch (kind) {
            case 0: t = v; break;
            case 1: t = length - v; break;
            case 2: t = i; break;
            default: t = half - i; break;
        }
        out[size_t(v)] = table[size_t(t)];
    }
}

// Rows firstRow … of a width × height gradient into image (as wide, at most as high as
// what is left below firstRow).
void paintGradient(QImage& image, int width, int height, int firstRow, int effect, uint32_t c1,
                   uint32_t c2) {
    const int w = width;
    const int rows = image.height();
    const int L = std::max(width, height);
    std::vector<QRgb> line;
    if (effect <= 4) {  // rows
        axisGradient(effect, height, c1, c2, line);
        for (int y = 0; y < rows; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(row, row + w, line[size_t(firstRow + y)]);
        }
        return;
    }
    if (effect <= 8) {  // columns
        axisGradient(effect, w, c1, c2, line);
        for (int y = 0; y < rows; ++y) {
            std::copy(line.begin(), line.end(), reinterpret_cast<QRgb*>(image.scanLine(y)));
        }
        return;
    }
    if (effect <= 16) {
        // Diagonals of the L × L square at the top-left corner. The anti-diagonals
        // (x + y constant) are drawn from (i, 0) towards (0, i) without their end point,
        // so column 0 keeps the white of the bitmap.
        const bool anti = effect <= 12;
        const bool twoEnded = effect == 11 || effect == 12 || effect == 15 || effect == 16;
        const bool reverse = effect % 2 == 0;
        const int n = twoEnded ? L : 2 * L;
        const std::vector<QRgb> table = stepTable(c1, c2, n);
        for (int row = 0; row < rows; ++row) {
            const int y = firstRow + row;
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
            for (int x = anti ? 1 : 0; x < w; ++x) {
                int index = 0;  // the line's position from the start colour's end
                if (anti) {
                    const int s = x + y;
                    index = twoEnded ? std::min(s, 2 * L - 1 - s) : s;
                } else {
                    const int d = x - y;
                    index = twoEnded ? L - 1 - std::abs(d) : d + L;
                }
                out[x] = table[size_t(reverse ? n - index : index)];
            }
        }
        return;
    }
    // 17 MOUT, 18 MIN: rings of filled circles around (m, m); a pixel takes the colour of
    // the smallest circle whose disc holds its centre.
    const int m = (L + 1) / 2;
    const int r0 = ringSteps(L);
    const std::vector<QRgb> table = stepTable(c1, c2, r0);
    // Along a row the ring index only grows away from the centre column, so each half is
    // walked outwards and the index raised as needed, without square roots.
    const auto ringColour = [&](int r) {
        return r > r0 ? kWhite : table[size_t(effect == 17 ? r : r0 - r)];
    };
    for (int row = 0; row < rows; ++row) {
        const int y = firstRow + row;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        const int64_t dy = 2 * int64_t(y) + 1 - 2 * int64_t(m);
        const int64_t dy2 = dy * dy;
        const int64_t first = std::max<int64_t>(1, std::abs(dy) / 2);
        int64_t r = first;
        for (int x = std::max(m, 0); x < w; ++x) {
            const int64_t dx = 2 * int64_t(x) + 1 - 2 * int64_t(m);
            while (4 * r * r < dx * dx + dy2) ++r;
            out[x] = ringColour(int(std::min<int64_t>(r, r0 + 1)));
        }
        r = first;
        for (int x = std::min(m, w) - 1; x >= 0; --x) {
            const int64_t dx = 2 * int64_t(x) + 1 - 2 * int64_t(m);
            while (4 * r * r < dx * dx + dy2) ++r;
            out[x] = ringColour(int(std::min<int64_t>(r, r0 + 1)));
        }
    }
}

void fillPolygon(QPainter& p, const QColor& colour, const QPolygon& points) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(points);
}

void paintPattern(QPainter& p, int l, int t, int r, int b, int effect, uint32_t c1, uint32_t c2) {
    const PatternParts parts = patternParts(l, t, r, b, effect, c1, c2);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), parts.ground);
    for (const QRect& piece : parts.rects) p.fillRect(piece, parts.other);
    for (const QPolygon& piece : parts.polygons) fillPolygon(p, parts.other, piece);
    p.restore();
}

}  // namespace

uint32_t effectStep(uint32_t colour1, uint32_t colour2, int step, int steps) {
    if (steps <= 0) return colour1;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = int((colour1 >> shift) & 0xFF);
        const int b = int((colour2 >> shift) & 0xFF);
        const int v = a + (b - a) * step / steps;
        out |= uint32_t(std::clamp(v, 0, 255)) << shift;
    }
    return out;
}

int ringSteps(int side) { return int((side + 1) / 2 * std::sqrt(2.0)) + 1; }

PatternParts patternParts(int l, int t, int r, int b, int effect, uint32_t colour1,
                          uint32_t colour2) {
    const bool first = effect % 2 == 1;
    PatternParts parts;
    parts.ground = QColor::fromRgb(rgbOf(first ? colour1 : colour2));
    parts.other = QColor::fromRgb(rgbOf(first ? colour2 : colour1));
    const int mx = (l + r) / 2;
    const int my = (t + b) / 2;
    const auto box = [](int x0, int y0, int x1, int y1) { return QRect(QPoint(x0, y0), QPoint(x1, y1)); };
    switch ((effect - 19) / 2) {
        case 0: parts.rects = {box(mx, t, r - 1, b - 1)}; break;
        case 1: parts.rects = {box(l, my, r - 1, b - 1)}; break;
        case 2: parts.polygons = {QPolygon({{l, b}, {r, b}, {r, t}})}; break;
        case 3: parts.polygons = {QPolygon({{l, t}, {r, b}, {r, t}})}; break;
        case 4: parts.rects = {box(mx, t, r - 1, my - 1), box(l, my, mx - 1, b - 1)}; break;
        case 5:
            parts.polygons = {QPolygon({{l, t}, {r, t}, {mx, my}}), QPolygon({{l, b}, {r, b}, {mx, my}})};
            break;
        default: parts.polygons = {QPolygon({{mx, t}, {l, my}, {mx, b}, {r, my}})}; break;
    }
    return parts;
}

QImage renderEffectRows(int width, int height, int firstRow, int rows, int effect,
                        uint32_t colour1, uint32_t colour2) {
    if (width <= 0 || height <= 0) return QImage();
    firstRow = std::clamp(firstRow, 0, height);
    rows = std::min(rows, height - firstRow);
    if (rows <= 0) return QImage();
    QImage image(width, rows, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(kWhite);
    if (effect >= kFirstGradient && effect <= kLastGradient) {
        paintGradient(image, width, height, firstRow, effect, colour1, colour2);
    } else if (effect > kLastGradient && effect <= kLastPattern) {
        QPainter p(&image);
        p.translate(0, -firstRow);
        paintPattern(p, 0, 0, width, height, effect, colour1, colour2);
    }
    return image;
}

QImage renderEffect(int width, int height, int effect, uint32_t colour1, uint32_t colour2) {
    return renderEffectRows(width, height, 0, height, effect, colour1, colour2);
}

void paintEffect(QPainter& painter, int left, int top, int right, int bottom, int effect,
                 uint32_t colour1, uint32_t colour2) {
    const int64_t w = int64_t(right) - left;
    const int64_t h = int64_t(bottom) - top;
    if (w <= 0 || h <= 0) return;
    if (effect > kLastGradient && effect <= kLastPattern) {
        paintPattern(painter, left, top, right, bottom, effect, colour1, colour2);
        return;
    }
    if (effect < kFirstGradient || effect > kLastGradient) {
        painter.fillRect(QRect(left, top, int(w), int(h)), Qt::white);
        return;
    }
    painter.drawImage(left, top, renderEffect(int(w), int(h), effect, colour1, colour2));
}

QImage blankMask(int width, int height) {
    if (width <= 0 || height <= 0) return QImage();
    QImage mask(width, height, QImage::Format_MonoLSB);
    if (mask.isNull()) return mask;
    mask.setColorCount(2);
    mask.setColor(0, qRgb(0, 0, 0));
    mask.setColor(1, qRgb(255, 255, 255));
    mask.fill(0);
    return mask;
}

void maskedCopy(QPainter& painter, int x, int y, int width, int height, const QImage& colour,
                const QImage& mask) {
    width = std::min({width, colour.width(), mask.width()});
    height = std::min({height, colour.height(), mask.height()});
    if (width <= 0 || height <= 0) return;
    QImage out = colour.copy(0, 0, width, height).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const bool mono = mask.format() == QImage::Format_Mono || mask.format() == QImage::Format_MonoLSB;
    const bool lsb = mask.format() == QImage::Format_MonoLSB;
    // A set bit is the index whose colour is the lighter one (masks are painted white).
    const int setIndex = mono && mask.colorCount() == 2 && qGray(mask.color(0)) > qGray(mask.color(1)) ? 0 : 1;
    for (int row = 0; row < height; ++row) {
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(row));
        const uchar* bits = mask.constScanLine(row);
        for (int col = 0; col < width; ++col) {
            bool set = false;
            if (mono) {
                const int bit = lsb ? (bits[col >> 3] >> (col & 7)) & 1
                                    : (bits[col >> 3] >> (7 - (col & 7))) & 1;
                set = bit == setIndex;
            } else {
                set = qGray(mask.pixel(col, row)) > 127;
            }
            if (!set) dst[col] = 0;
        }
    }
    painter.drawImage(x, y, out);
}

}  // namespace pemo
