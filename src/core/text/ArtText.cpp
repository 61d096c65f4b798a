#include "ArtText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "CharStyle.h"
#include "TextPaint.h"
#include "core/codecs/Picture.h"
#include "core/graphics/EffectFill.h"
#include "core/graphics/TextOutline.h"
#include "core/pictures/PictureStore.h"

namespace pemo::ArtText {

namespace {

const PictureStore* gDocumentPictures = nullptr;

int trunc(double v) {
    return int(std::trunc(v));
}

// √ of a value that rounding may have pushed just below zero.
double root(double v) {
    return std::sqrt(std::max(0.0, v));
}

// Offsets of the shadow effects 1 to 4 (and of the soft shadows 8 to 11).
QPoint shadowOffset(int direction, int s) {
    return QPoint(direction == 1 || direction == 3 ? -s : s, direction == 1 || direction == 2 ? -s : s);
}

// The character's cell as the device measures it: advance × font height, and the
// baseline's distance from the cell's top.
struct Cell {
    int width = 0;
    int height = 0;
    int ascent = 0;
};

Cell cellOf(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    return Cell{metrics.horizontalAdvance(text), metrics.height(), metrics.ascent()};
}

QImage blankImage(int width, int height) {
    QImage image(std::max(1, width), std::max(1, height), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The glyph in a colour on a transparent image, its baseline's left end at `at`.
void drawGlyphInto(QImage& image, QPoint at, const QString& text, const QFont& font,
                   const QColor& colour) {
    QPainter p(&image);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(at, text);
}

void drawPlain(QPainter& painter, QPoint at, const QString& text, const QFont& font,
               const QColor& colour) {
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(at, text);
}

QPainterPath outlineOf(QPoint at, const QString& text, const QFont& font) {
    QPainterPath path;
    path.addText(at, font, text);
    // Glyphs of many Chinese faces are built of overlapping strokes.
    path.setFillRule(Qt::WindingFill);
    return path;
}

void strokeAndFill(QPainter& painter, const QPainterPath& path, const QColor& pen, int width,
                   const QColor* brush) {
    QPen outline(pen, width);
    outline.setJoinStyle(Qt::MiterJoin);
    painter.setPen(outline);
    painter.setBrush(brush ? QBrush(*brush) : QBrush(Qt::NoBrush));
    painter.drawPath(path);
}

// Keeps, in every pixel, the strongest alpha of the pixels at the given offsets along
// one axis; a pass along each axis gives the union of the image moved by every pair of
// offsets. Alpha values are w × h bytes, row by row.
void spreadAlpha(std::vector<uint8_t>& alpha, int w, int h, const std::vector<int>& offsets,
                 bool vertical) {
    const std::vector<uint8_t> source = alpha;
    const int along = vertical ? h : w;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int at = vertical ? y : x;
            uint8_t best = 0;
            for (int d : offsets) {
                const int from = at - d;
                if (from < 0 || from >= along)
                    continue;
                const size_t index = vertical ? size_t(from) * size_t(w) + size_t(x)
                                              : size_t(y) * size_t(w) + size_t(from);
                best = std::max(best, source[index]);
            }
            alpha[size_t(y) * size_t(w) + size_t(x)] = best;
        }
    }
}

// The halo of the double border: copies of the outline, stroked and filled, moved by
// every (dx, dy) with dx and dy from −s to s (in steps of 6 from 4 pixels on). Their
// union is composed as one picture.
void paintHalo(QPainter& painter, const QPainterPath& path, const QColor& colour, int s) {
    const int step = s < 4 ? 1 : 6;
    std::vector<int> offsets;
    for (int d = -s; d <= s; d += step)
        offsets.push_back(d);
    const QRect bounds = path.boundingRect().toAlignedRect().adjusted(-s - 2, -s - 2, s + 2, s + 2);
    QImage halo = blankImage(bounds.width(), bounds.height());
    {
        QPainter p(&halo);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(-bounds.topLeft());
        strokeAndFill(p, path, Qt::black, 1, &QColorConstants::Black);
    }
    const int w = halo.width(), h = halo.height();
    std::vector<uint8_t> alpha(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(halo.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[size_t(y) * size_t(w) + size_t(x)] = uint8_t(qAlpha(row[x]));
    }
    spreadAlpha(alpha, w, h, offsets, false);
    spreadAlpha(alpha, w, h, offsets, true);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(halo.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = alpha[size_t(y) * size_t(w) + size_t(x)];
            row[x] = qRgba(colour.red() * a / 255, colour.green() * a / 255, colour.blue() * a / 255, a);
        }
    }
    painter.drawImage(bounds.topLeft(), halo);
}

void paintDoubleBorder(QPainter& painter, const QPainterPath& path, const QColor& text,
                       const QColor& effect, int s) {
    paintHalo(painter, path, effect, s);
    strokeAndFill(painter, path, QColor(0xFE, 0xFE, 0xFE), s, &text);
}

void paintSoftShadow(QPainter& painter, QPoint at, const QString& text, const QFont& font,
                     const CharStyle& style, int s) {
    const QPoint d = shadowOffset(style.effect - 7, s);
    const int passes = 2 * std::abs(d.x()) + 1;
    const Cell cell = cellOf(font, text);
    // A margin around the cell lets the shadow and its blur show in full on every side.
    const int margin = s + passes + 1;
    QImage shadow = blankImage((cell.width + 3) / 4 * 4 + 2 * margin, cell.height + 2 * margin);
    drawGlyphInto(shadow, QPoint(margin, margin + cell.ascent) + d, text, font,
                  TextPaint::colour(style.effectColour));
    blur(shadow, passes);
    painter.drawImage(at.x() - margin, at.y() - cell.ascent - margin, shadow);
    drawPlain(painter, at, text, font, TextPaint::colour(style.textColour));
}

void paintWarp(QPainter& painter, QPoint at, const QString& text, const QFont& font,
               const CharStyle& style) {
    const Cell cell = cellOf(font, text);
    const int w = cell.width, h = cell.height;
    QPoint probe;
    if (!warpPoint(style.effect, 0, 0, w, h, &probe)) {
        drawPlain(painter, at, text, font, TextPaint::colour(style.textColour));
        return;
    }
    QImage glyph = blankImage(w, h);
    drawGlyphInto(glyph, QPoint(0, cell.ascent), text, font, TextPaint::colour(style.textColour));
    // Glyphs of ordinary proportions stay within a pixel or two of their cell; very
    // narrow or flat ones bend further out.
    const int margin = 2 + (w + h) / 4;
    QImage warped = blankImage(w + 2 * margin, h + 2 * margin);
    const int outW = warped.width(), outH = warped.height();
    for (int i = 0; i < h; ++i) {
        const auto* row = reinterpret_cast<const QRgb*>(glyph.constScanLine(i));
        for (int j = 0; j < w; ++j) {
            if (qAlpha(row[j]) == 0)
                continue;
            QPoint to;
            warpPoint(style.effect, j, i, w, h, &to);
            const int X = to.x() + margin, Y = to.y() + margin;
            if (X < 0 || Y < 0 || X >= outW || Y >= outH)
                continue;
            reinterpret_cast<QRgb*>(warped.scanLine(Y))[X] = row[j];
        }
    }
    painter.drawImage(at.x() - margin, at.y() - cell.ascent - margin, warped);
}

// The scaled texture of the last texture fill, reused while the key and size stay.
const QImage& scaledTexture(const QImage& source, int width, int height) {
    // Per thread: pages may be drawn off the main thread.
    thread_local QImage last;
    thread_local qint64 lastSource = -1;
    if (last.width() != width || last.height() != height || source.cacheKey() != lastSource) {
        last = source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                   .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        lastSource = source.cacheKey();
    }
    return last;
}

void paintFill(QPainter& painter, QPoint at, const QString& text, const QFont& font,
               const CharStyle& style, const QImage& givenTexture) {
    const Cell cell = cellOf(font, text);
    const int w = (cell.width + 7) / 8 * 8, h = cell.height;
    if (w <= 0 || h <= 0)
        return;
    if (style.effect == kPatternFill) {
        // The glyph itself takes the effect as its pen: it stays text on a PDF.
        paintEffectFill(painter, QRect(at.x(), at.y() - cell.ascent, w, h), style.pattern,
                        uint32_t(style.textColour), uint32_t(style.effectColour),
                        [&](QPainter& p, const QBrush& brush) {
                            p.setFont(font);
                            p.setPen(QPen(brush, 1));
                            p.drawText(at, text);
                        });
        return;
    }
    const QImage source = givenTexture.isNull() ? texture(style.textureKey) : givenTexture;
    QImage colour = scaledTexture(source, w, h).copy();
    {
        // Only the glyph's own pixels keep their colour.
        QImage mask = blankImage(w, h);
        drawGlyphInto(mask, QPoint(0, cell.ascent), text, font, Qt::black);
        QPainter p(&colour);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.drawImage(0, 0, mask);
    }
    painter.drawImage(at.x(), at.y() - cell.ascent, colour);
}

}  // namespace

bool warpPoint(int effect, int j, int i, int w, int h, QPoint* to) {
    if (effect < kFirstWarp || effect > kLastWarp || w <= 2 || h <= 2)
        return false;
    const int hw = w / 2, hh = h / 2;
    const double W = w, H = h;
    const auto q = [](int v) { return 3 * v / 4; };
    const auto Ex = [&](double R) { return trunc(root((1 - (j - hw) * double(j - hw) / (W * W / 4)) * R)); };
    const auto Ey = [&](double R) { return trunc(root((1 - (i - hh) * double(i - hh) / (H * H / 4)) * R)); };
    const auto Hx = [&] {
        return trunc(root(((j - hw) * double(j - hw) / (hw * double(hw) / 3) + 1) * hh * double(hh) / 4));
    };
    const auto Hy = [&] {
        return trunc(root(((i - hh) * double(i - hh) / (hh * double(hh) / 3) + 1) * hw * double(hw) / 4));
    };
    int X = j, Y = i;
    switch (effect) {
        case 12: Y = j < hw ? trunc(-j * H / (2 * W) + q(i) + H / 4) : trunc(j * H / (2 * W) + q(i) - H / 4); break;
        case 13: Y = j < hw ? trunc(j * H / (2 * W) + q(i)) : trunc(-j * H / (2 * W) + q(i) + H / 2); break;
        case 14: {
            const double k = i < hh ? -2 * H / W : 2 * H / W;
            X = trunc(q(j) + (i - hh) / k);
            break;
        }
        case 15: {
            const double e = i < hh ? i * W / (2 * H) : (h - i) * W / (2 * H);
            X = trunc(q(j) + e);
            break;
        }
        case 16: Y = i * trunc(j * H / (3 * W) + 2 * H / 3) / h; break;
        case 17: Y = i * trunc(5 * h / 3 - (j * H / (3 * W) + 2 * H / 3)) / h; break;
        case 18: {
            const double d = j * H / (3 * W) + 2 * H / 3;
            Y = trunc(H - d + d * i / H);
            break;
        }
        case 19: {
            const double e = j * H / (3 * W) + 2 * H / 3 - 2 * h / 3;
            Y = trunc(e + (H - e) * i / H);
            break;
        }
        case 20: {
            const int c = trunc(i * W / (3 * H));
            X = c + j * (w - c) / w;
            break;
        }
        case 21: X = trunc((W - i * W / (3 * H)) * j / W); break;
        case 22: {
            const double c = (h - i) * W / (3 * H);
            X = trunc(c + (W - c) * j / W);
            break;
        }
        case 23: X = trunc((W - (h - i) * W / (3 * H)) * j / W); break;
        case 24: {
            const int b = hw - Ey(W * W / 4);
            X = b + j * (w - 2 * b) / w;
            break;
        }
        case 25: {
            const int b = hh - Ex(H * H / 4);
            Y = b + i * (h - 2 * b) / h;
            break;
        }
        case 26: {
            const int b = Ex(H * H);
            Y = h + i * b / h - b;
            break;
        }
        case 27: Y = i * Ex(H * H) / h; break;
        case 28: {
            const int b = Ey(W * W);
            X = w + j * b / w - b;
            break;
        }
        case 29: X = j * Ey(W * W) / w; break;
        case 30: {
            const int e = hw - Hy();
            X = e + j * (w - 2 * e) / w;
            break;
        }
        case 31: {
            const int e = hh - Hx();
            Y = e + i * (h - 2 * e) / h;
            break;
        }
        case 32: Y = Hx() + q(i) - h / 4; break;
        case 33: Y = hh + q(i) - Hx(); break;
        case 34: X = Hy() + q(j) - w / 4; break;
        case 35: X = hw + q(j) - Hy(); break;
        case 36: X = trunc((std::sin(i * 6.2831852 / H) + 1) * W / 8 + q(j)); break;
        case 37: X = trunc((std::cos(i * 6.2831852 / H + 1.5707963) + 1) * W / 8 + q(j)); break;
        case 38: Y = trunc((std::sin(j * 6.2831852 / W) + 1) * H / 8 + q(i)); break;
        case 39: Y = trunc((std::cos(j * 6.2831852 / W + 1.5707963) + 1) * H / 8 + q(i)); break;
        default: break;
    }
    *to = QPoint(X, Y);
    return true;
}

namespace {

// The part of a premultiplied image that is not transparent.
QRect opaquePart(const QImage& image) {
    int top = image.height(), bottom = -1, left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] != 0) {
                top = std::min(top, y);
                bottom = y;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return bottom < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// One blur pass over the rows and columns of `area` (inside the border). Two bytes of a
// pixel travel together in 16-bit lanes: 16 × 255 still fits. Three rows of horizontal
// sums roll along, so the image is blurred in place.
void blurArea(QImage& image, const QRect& area) {
    constexpr uint32_t kLanes = 0x00FF00FF;
    const int x0 = area.left(), x1 = area.right(), n = x1 - x0 + 1;
    std::vector<uint32_t> low[3], high[3];
    for (int k = 0; k < 3; ++k) {
        low[k].assign(size_t(n), 0);
        high[k].assign(size_t(n), 0);
    }
    const auto sumRow = [&](int y, int slot) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        uint32_t* l = low[slot].data();
        uint32_t* h = high[slot].data();
        for (int x = x0; x <= x1; ++x) {
            const uint32_t a = row[x - 1], b = row[x], c = row[x + 1];
            l[x - x0] = (a & kLanes) + 2 * (b & kLanes) + (c & kLanes);
            h[x - x0] = ((a >> 8) & kLanes) + 2 * ((b >> 8) & kLanes) + ((c >> 8) & kLanes);
        }
    };
    sumRow(area.top() - 1, 0);
    sumRow(area.top(), 1);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int above = (y - area.top()) % 3, here = (above + 1) % 3, below = (above + 2) % 3;
        sumRow(y + 1, below);
        auto* out = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int i = 0; i < n; ++i) {
            const uint32_t l = (low[above][size_t(i)] + 2 * low[here][size_t(i)] + low[below][size_t(i)]) >> 4;
            const uint32_t h = (high[above][size_t(i)] + 2 * high[here][size_t(i)] + high[below][size_t(i)]) >> 4;
            out[x0 + i] = (l & kLanes) | ((h & kLanes) << 8);
        }
    }
}

void clearBorder(QImage& image) {
    const int w = image.width(), h = image.height();
    std::fill_n(reinterpret_cast<uint32_t*>(image.scanLine(0)), w, 0u);
    std::fill_n(reinterpret_cast<uint32_t*>(image.scanLine(h - 1)), w, 0u);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        row[0] = row[w - 1] = 0;
    }
}

}  // namespace

void blur(QImage& image, int passes) {
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (passes <= 0)
        return;
    if (image.width() < 3 || image.height() < 3) {
        image.fill(Qt::transparent);
        return;
    }
    // Only pixels next to painted ones change; the painted part grows by one a pass.
    QRect area = opaquePart(image);
    const QRect inner(1, 1, image.width() - 2, image.height() - 2);
    for (int i = 0; i < passes && !area.isEmpty(); ++i) {
        area = area.adjusted(-1, -1, 1, 1) & inner;
        blurArea(image, area);
        if (i == 0)
            clearBorder(image);  // after the first pass has read it
    }
    clearBorder(image);
}

void blurOnce(QImage& image) {
    blur(image, 1);
}

void setDocumentPictures(const PictureStore* pictures) {
    gDocumentPictures = pictures;
}

QImage texture(const QByteArray& key) {
    if (!key.isEmpty()) {
        if (const PictureStore* images = gDocumentPictures) {
            if (const Picture* picture = images->find(key); picture && !picture->image().isNull())
                return picture->image();
        }
    }
    return TextOutline::builtInTexture();
}

void paintCharacter(QPainter& painter, QPoint at, const QString& text, const QFont& font,
                    const CharStyle& style, int s, const QImage& givenTexture) {
    s = std::clamp(s, 1, kMaxEffectPixels);
    const QColor textColour = TextPaint::colour(style.textColour);
    const QColor effectColour = TextPaint::colour(style.effectColour);
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    const int effect = style.effect;
    if (effect >= 1 && effect <= 4) {
        drawPlain(painter, at + shadowOffset(effect, s), text, font, effectColour);
        drawPlain(painter, at, text, font, textColour);
    } else if (effect == 5) {
        strokeAndFill(painter, outlineOf(at, text, font), textColour, s, nullptr);
    } else if (effect == 6) {
        strokeAndFill(painter, outlineOf(at, text, font), effectColour, s, &textColour);
    } else if (effect == 7) {
        paintDoubleBorder(painter, outlineOf(at, text, font), textColour, effectColour, s);
    } else if (effect >= 8 && effect <= 11) {
        paintSoftShadow(painter, at, text, font, style, s);
    } else if (effect >= kFirstWarp && effect <= kLastWarp) {
        paintWarp(painter, at, text, font, style);
    } else if (effect == kPatternFill || effect == kTextureFill) {
        paintFill(painter, at, text, font, style, givenTexture);
    } else {
        drawPlain(painter, at, text, font, textColour);
    }
    painter.restore();
}

}  // namespace pemo::ArtText
