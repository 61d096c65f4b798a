// The art effects painted on a raster: pixel probes around a solid square glyph (■),
// whose ink is a plain rectangle in every face, so the probes do not depend on shapes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>

#include "TextFixtures.h"
#include "core/pictures/PictureStore.h"
#include "core/text/ArtText.h"
#include "core/text/FontFaces.h"
#include "core/text/TextPaint.h"

using namespace pemo;
using namespace pemo::test;

namespace {

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kBlue = 0xFF0000;
const QPoint kAt(60, 150);

QFont squareFont() {
    return FontFaces::font(gbk("黑体"), 80, false, false);
}

QString square() {
    return QString::fromUtf8("■");
}

QImage paint(int effect, int s = 4, int pattern = 1, const QImage& texture = QImage(),
             const QByteArray& textureKey = QByteArray()) {
    QImage image(240, 220, QImage::Format_RGB32);
    image.fill(Qt::white);
    CharStyle style;
    style.textColour = kRed;
    style.effectColour = kBlue;
    style.effect = effect;
    style.pattern = pattern;
    style.textureKey = textureKey;
    QPainter p(&image);
    ArtText::paintCharacter(p, kAt, square(), squareFont(), style, s, texture);
    return image;
}

// The ink of the plain glyph.
QRect inkOf(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(255, 0, 0))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60; }
bool isWhite(QRgb c) { return c == qRgb(255, 255, 255); }
bool isPainted(QRgb c) { return !isWhite(c); }
bool isTinted(QRgb c) { return !isWhite(c) && qBlue(c) > qRed(c); }

TEST(ArtTextTest, EffectFamiliesPaintWhereExpected) {
    const QRect ink = inkOf(paint(0));
    ASSERT_GT(ink.width(), 30);
    const QPoint centre = ink.center();
    const QPoint topLeft(ink.left() - 2, ink.top() - 2), topRight(ink.right() + 2, ink.top() - 2);
    const QPoint bottomLeft(ink.left() - 2, ink.bottom() + 2), bottomRight(ink.right() + 2, ink.bottom() + 2);
    const QPoint leftEdge(ink.left(), centre.y()), justLeft(ink.left() - 2, centre.y());
    using Probe = bool (*)(QRgb);
    const struct {
        int effect;
        QPoint where;
        Probe expect;
    } cases[] = {
        {1, topLeft, isBlue},     {1, bottomRight, isWhite}, {1, centre, isRed},
        {2, topRight, isBlue},    {2, bottomLeft, isWhite},  {3, bottomLeft, isBlue},
        {3, topRight, isWhite},   {4, bottomRight, isBlue},  {4, topLeft, isWhite},
        {5, centre, isWhite},     {5, leftEdge, isRed},      {6, centre, isRed},
        {6, justLeft, isBlue},    {7, centre, isRed},        {7, QPoint(ink.left() - 3, centre.y()), isBlue},
        {8, topLeft, isTinted},   {8, centre, isRed},        {8, bottomRight, isWhite},
        {11, bottomRight, isTinted}, {11, topLeft, isWhite}, {40, centre, isPainted},
        {77, centre, isRed},      {77, topLeft, isWhite},    {-3, justLeft, isWhite},
    };
    for (const auto& c : cases) {
        const QImage image = paint(c.effect);
        EXPECT_TRUE(c.expect(image.pixel(c.where)))
            << "effect " << c.effect << " at " << c.where.x() << "," << c.where.y() << " "
            << std::hex << image.pixel(c.where);
    }
}

TEST(ArtTextTest, PatternAndTextureFillOnlyInsideTheGlyph) {
    const QRect ink = inkOf(paint(0));
    const int y = ink.center().y();
    // Pattern 19: the cell's left half in the first colour, its right half in the second.
    const QImage halves = paint(40, 1, 19);
    EXPECT_TRUE(isRed(halves.pixel(ink.left() + 3, y)));
    EXPECT_TRUE(isBlue(halves.pixel(ink.right() - 3, y)));
    EXPECT_TRUE(isWhite(halves.pixel(ink.left() - 3, y)));
    // Patterns outside 1 to 32 paint white.
    EXPECT_TRUE(isWhite(paint(40, 1, 33).pixel(ink.center())));
    EXPECT_TRUE(isWhite(paint(40, 1, 0).pixel(ink.center())));

    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    const QImage textured = paint(41, 1, 1, green);
    EXPECT_EQ(textured.pixel(ink.center()), qRgb(0, 200, 0));
    EXPECT_TRUE(isWhite(textured.pixel(ink.left() - 3, y)));
    // The texture under the style's key in the document's pictures.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    green.save(&buffer, "PNG");
    PictureStore pictures;
    PictureDescription description;
    description.extension = ".png";
    pictures.addBytes("T1", description, png);
    ArtText::setDocumentPictures(&pictures);
    EXPECT_EQ(paint(41, 1, 1, QImage(), "T1").pixel(ink.center()), qRgb(0, 200, 0));
    // A key that names nothing, or no key: the built-in texture.
    for (const QByteArray& key : {QByteArray("nothing"), QByteArray()}) {
        const QImage builtIn = paint(41, 1, 1, QImage(), key);
        EXPECT_FALSE(isWhite(builtIn.pixel(ink.center())));
        EXPECT_FALSE(isRed(builtIn.pixel(ink.center())));
        EXPECT_NE(builtIn.pixel(ink.center()), qRgb(0, 200, 0));
    }
    ArtText::setDocumentPictures(nullptr);
}

TEST(ArtTextTest, WarpsReshapeTheGlyph) {
    const QRect ink = inkOf(paint(0));
    const QFontMetrics metrics(squareFont());
    const QRect cell(kAt.x(), kAt.y() - metrics.ascent(), metrics.horizontalAdvance(square()),
                     metrics.height());
    const int middle = cell.left() + cell.width() / 2;
    const struct {
        int effect;
        QPoint where;
        bool red;
    } cases[] = {
        // 12 bends up to a peak in the middle: the middle keeps its top, the left edge drops.
        {12, QPoint(middle, ink.top() + 1), true},
        {12, QPoint(ink.left() + 1, ink.top() + 1), false},
        // 26 stands on the bottom with column heights along an arch: corners fall away.
        {26, QPoint(ink.left() + 1, ink.top() + 1), false},
        {26, QPoint(middle, ink.bottom() - 1), true},
        // 24 squeezes rows into an ellipse: the top row narrows, the middle row keeps its ends.
        {24, QPoint(ink.left() + 1, ink.top() + 1), false},
        {24, QPoint(ink.left() + 2, ink.center().y()), true},
    };
    for (const auto& c : cases) {
        const QImage image = paint(c.effect);
        EXPECT_EQ(isRed(image.pixel(c.where)), c.red) << "effect " << c.effect;
    }
    // Every warp keeps its pixels within two pixels of the cell and paints something.
    for (int effect = ArtText::kFirstWarp; effect <= ArtText::kLastWarp; ++effect) {
        const QImage image = paint(effect);
        const QRect painted = inkOf(image);
        EXPECT_FALSE(painted.isEmpty()) << effect;
        EXPECT_TRUE(cell.adjusted(-2, -2, 2, 2).contains(painted)) << effect;
    }
}

TEST(ArtTextTest, WarpTableStaysNearTheCellForAnySize) {
    // Tiny, odd, even and lopsided glyphs; run under UBSan this also finds divisions by
    // zero and square roots of negative numbers. Lopsided cells bend a quarter of their
    // size beyond the cell at most.
    const QSize sizes[] = {{3, 3}, {3, 200}, {200, 3}, {4, 5}, {7, 7}, {33, 61}, {120, 90}};
    for (int effect = ArtText::kFirstWarp; effect <= ArtText::kLastWarp; ++effect) {
        for (const QSize& size : sizes) {
            for (int i = 0; i < size.height(); ++i) {
                for (int j = 0; j < size.width(); ++j) {
                    QPoint to;
                    ASSERT_TRUE(ArtText::warpPoint(effect, j, i, size.width(), size.height(), &to));
                    const int mx = size.width() / 4 + size.height() / 4 + 2;
                    const int my = size.height() / 4 + 2;
                    ASSERT_TRUE(QRect(-mx, -my, size.width() + 2 * mx, size.height() + 2 * my).contains(to))
                        << "effect " << effect << " " << size.width() << "x" << size.height()
                        << " (" << j << "," << i << ") -> (" << to.x() << "," << to.y() << ")";
                }
            }
        }
    }
}

TEST(ArtTextTest, GlyphsOfTwoPixelsOrLessAreNotWarped) {
    const struct {
        int effect, w, h;
        bool warps;
    } cases[] = {
        {12, 2, 50, false}, {24, 50, 2, false}, {36, 0, 0, false}, {30, 1, 1, false},
        {30, 3, 3, true},   {11, 50, 50, false}, {40, 50, 50, false},
    };
    for (const auto& c : cases) {
        QPoint to;
        EXPECT_EQ(ArtText::warpPoint(c.effect, 0, 0, c.w, c.h, &to), c.warps) << c.effect;
    }
    // A two-pixel font still paints, plainly.
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    CharStyle style;
    style.effect = 30;
    ArtText::paintCharacter(p, QPoint(5, 20), square(), FontFaces::font(gbk("黑体"), 2, false, false),
                            style, 1);
}

TEST(ArtTextTest, BlurSpreadsOnePixelByTheKernelAndClearsTheBorder) {
    QImage image(5, 5, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setPixel(2, 2, 0xFFFFFFFF);
    ArtText::blurOnce(image);
    const struct {
        int x, y;
        QRgb value;
    } cases[] = {
        {2, 2, 0x3F3F3F3F},  // 255 × 4 / 16
        {1, 2, 0x1F1F1F1F},  {3, 2, 0x1F1F1F1F}, {2, 1, 0x1F1F1F1F},  // × 2
        {1, 1, 0x0F0F0F0F},  {3, 3, 0x0F0F0F0F},  // × 1
        {0, 0, 0}, {4, 2, 0}, {2, 4, 0},  // the border
    };
    for (const auto& c : cases)
        EXPECT_EQ(image.pixel(c.x, c.y), c.value) << c.x << "," << c.y;
    QImage full(4, 4, QImage::Format_ARGB32_Premultiplied);
    full.fill(0xFF102030);
    ArtText::blurOnce(full);
    EXPECT_EQ(full.pixel(1, 2), 0xFF102030u) << "an even area keeps its colour";
    EXPECT_EQ(full.pixel(0, 2), 0u);
    EXPECT_EQ(full.pixel(3, 3), 0u);
}

TEST(ArtTextTest, RepeatedBlurMatchesSinglePasses) {
    // Repeated passes only visit the area the painting can have reached; the result is
    // that of single passes over the whole image.
    for (int passes : {1, 2, 5, 12}) {
        QImage image(23, 17, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        for (int i = 0; i < 9; ++i)
            image.setPixel(8 + i % 3, 6 + i / 3 * 2, qPremultiply(qRgba(200, 30 * i, 90, 255 - 20 * i)));
        image.setPixel(0, 5, 0xFFFFFFFF);  // on the border
        QImage single = image;
        for (int i = 0; i < passes; ++i)
            ArtText::blurOnce(single);
        ArtText::blur(image, passes);
        EXPECT_EQ(image, single) << passes;
    }
}

// Counts what reaches a device: pictures, single points and text.
class CountingEngine : public QPaintEngine {
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++images; }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        ++images;
    }
    void drawPoints(const QPointF*, int count) override { points += count; }
    void drawPoints(const QPoint*, int count) override { points += count; }
    void drawTextItem(const QPointF&, const QTextItem&) override { ++texts; }
    void drawPath(const QPainterPath&) override { ++paths; }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }
    int images = 0, points = 0, texts = 0, paths = 0;
};

class CountingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth: return 4960;
            case PdmHeight: return 7016;
            case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 600;
            case PdmDepth: return 32;
            default: return 1;
        }
    }
    mutable CountingEngine engine;
};

// Pixel effects reach the device as one picture per character; a gradient or pattern
// fill as the glyph drawn with the effect for its pen (two colours: twice, clipped).
TEST(ArtTextTest, PixelEffectsReachTheDeviceAsOnePicturePerCharacter) {
    const struct {
        int effect;
        int pattern;
        int images, texts;
    } cases[] = {
        {8, 1, 1, 1}, {20, 1, 1, 0}, {39, 1, 1, 0}, {40, 1, 0, 1}, {40, 17, 0, 1},
        {40, 19, 0, 2}, {40, 32, 0, 2}, {41, 1, 1, 0}, {1, 1, 0, 2},
    };
    for (const auto& c : cases) {
        CountingDevice device;
        {
            QPainter p(&device);
            CharStyle style;
            style.effect = c.effect;
            style.pattern = c.pattern;
            ArtText::paintCharacter(p, QPoint(100, 400), square(),
                                    FontFaces::font(gbk("黑体"), 400, false, false), style, 18);
        }
        EXPECT_EQ(device.engine.images, c.images) << c.effect << "/" << c.pattern;
        EXPECT_EQ(device.engine.texts, c.texts) << c.effect << "/" << c.pattern;
        EXPECT_EQ(device.engine.points, 0) << c.effect;
    }
}

TEST(ArtTextTest, StoredEffectSizesAreClampedBeforePainting) {
    const struct {
        int stored, expected;
    } cases[] = {{1, 1}, {3, 3}, {0, 1}, {-5, 1}, {4, 3}, {1000000, 3}};
    for (const auto& c : cases) {
        RichText t = makeText("中", 3000, 3000);
        t.selectAll();
        CharStyle art = t.item(0).style;
        art.effect = 1;
        art.effectSize = c.stored;
        t.applyArtSettings(art, false);
        int seen = -1;
        TextPaint::setCharacterPainter(
            [&](QPainter&, QPoint, const QString&, const QFont&, const CharStyle&, int s) { seen = s; });
        QImage image(100, 100, QImage::Format_RGB32);
        QPainter p(&image);
        t.draw(p, TextDevice{1.0, 0, 0, 96, 96}, false);
        TextPaint::setCharacterPainter(nullptr);
        EXPECT_EQ(seen, c.expected) << c.stored;
    }
}

}  // namespace
