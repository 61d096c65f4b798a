#include "EffectPainter.h"

#include <QPainter>
#include <QPolygon>
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

void paintGradient(QImage& image, int effect, uint32_t c1, uint32_t c2) {
    const int w = image.width();
    const int h = image.height();
    const int L = std::max(w, h);
    std::vector<QRgb> line;
    if (effect <= 4) {  // rows
        axisGradient(effect, h, c1, c2, line);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(row, row + w, line[size_t(y)]);
        }
        return;
    }
    if (effect <= 8) {  // columns
        axisGradient(effect, w, c1, c2, line);
        for (int y = 0; y < h; ++y) {
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
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = anti ? 1 : 0; x < w; ++x) {
                int index = 0;  // the line's position from the start colour's end
                if (anti) {
                    const int s = x + y;
                    index = twoEnded ? std::min(s, 2 * L - 1 - s) : s;
                } else {
                    const int d = x - y;
                    index = twoEnded ? L - 1 - std::abs(d) : d + L;
                }
                row[x] = table[size_t(reverse ? n - index : index)];
            }
        }
        return;
    }
    // 17 MOUT, 18 MIN: rings of filled circles around (m, m); a pixel takes the colour of
    // the smallest circle whose disc holds its centre.
    const int m = (L + 1) / 2;
    const int r0 = int(m * std::sqrt(2.0)) + 1;
    const std::vector<QRgb> table = stepTable(c1, c2, r0);
    // Along a row the ring index only grows away from the centre column, so each half is
    // walked outwards and the index raised as needed, without square roots.
    const auto ringColour = [&](int r) {
        return r > r0 ? kWhite : table[size_t(effect == 17 ? r : r0 - r)];
    };
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int64_t dy = 2 * int64_t(y) + 1 - 2 * int64_t(m);
        const int64_t dy2 = dy * dy;
        const int64_t first = std::max<int64_t>(1, std::abs(dy) / 2);
        int64_t r = first;
        for (int x = std::max(m, 0); x < w; ++x) {
            const int64_t dx = 2 * int64_t(x) + 1 - 2 * int64_t(m);
            while (4 * r * r < dx * dx + dy2) ++r;
            row[x] = ringColour(int(std::min<int64_t>(r, r0 + 1)));
        }
        r = first;
        for (int x = std::min(m, w) - 1; x >= 0; --x) {
            const int64_t dx = 2 * int64_t(x) + 1 - 2 * int64_t(m);
            while (4 * r * r < dx * dx + dy2) ++r;
            row[x] = ringColour(int(std::min<int64_t>(r, r0 + 1)));
        }
    }
}

void fillPolygon(QPainter& p, const QColor& colour, std::initializer_list<QPoint> points) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygon(QList<QPoint>(points)));
}

void paintPattern(QPainter& p, int l, int t, int r, int b, int effect, uint32_t c1, uint32_t c2) {
    const bool first = effect % 2 == 1;
    const QColor a = QColor::fromRgb(rgbOf(first ? c1 : c2));
    const QColor o = QColor::fromRgb(rgbOf(first ? c2 : c1));
    const int mx = (l + r) / 2;
    const int my = (t + b) / 2;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    switch ((effect - 19) / 2) {
        case 0:
            p.fillRect(QRect(QPoint(l, t), QPoint(mx - 1, b - 1)), a);
            p.fillRect(QRect(QPoint(mx, t), QPoint(r - 1, b - 1)), o);
            break;
        case 1:
            p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, my - 1)), a);
            p.fillRect(QRect(QPoint(l, my), QPoint(r - 1, b - 1)), o);
            break;
        case 2:  // the second triangle is drawn last and keeps the diagonal
            p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), a);
            fillPolygon(p, o, {{l, b}, {r, b}, {r, t}});
            break;
        case 3:
            p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), a);
            fillPolygon(p, o, {{l, t}, {r, b}, {r, t}});
            break;
        case 4:
            p.fillRect(QRect(QPoint(l, t), QPoint(mx - 1, my - 1)), a);
            p.fillRect(QRect(QPoint(mx, my), QPoint(r - 1, b - 1)), a);
            p.fillRect(QRect(QPoint(mx, t), QPoint(r - 1, my - 1)), o);
            p.fillRect(QRect(QPoint(l, my), QPoint(mx - 1, b - 1)), o);
            break;
        case 5:
            p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), a);
            fillPolygon(p, o, {{l, t}, {r, t}, {mx, my}});
            fillPolygon(p, o, {{l, b}, {r, b}, {mx, my}});
            break;
        default:
            p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), a);
            fillPolygon(p, o, {{mx, t}, {l, my}, {mx, b}, {r, my}});
            break;
    }
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

QImage renderEffect(int width, int height, int effect, uint32_t colour1, uint32_t colour2) {
    if (width <= 0 || height <= 0) return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(kWhite);
    if (effect >= kFirstGradient && effect <= kLastGradient) {
        paintGradient(image, effect, colour1, colour2);
    } else if (effect > kLastGradient && effect <= kLastPattern) {
        QPainter p(&image);
        paintPattern(p, 0, 0, width, height, effect, colour1, colour2);
    }
    return image;
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
