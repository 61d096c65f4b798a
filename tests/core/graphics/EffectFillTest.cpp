#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPageSize>
#include <QPaintEngine>
#include <QPixmap>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdlib>

#include "core/blocks/BlockKind.h"
#include "core/graphics/EffectFill.h"
#include "core/graphics/EffectPainter.h"
#include "core/graphics/ShapeGeometry.h"

using namespace pemo;

namespace {

constexpr QRgb kGround = 0xFF123456;

struct ColourPair {
    uint32_t c1, c2;  // 0x00BBGGRR
};
// Wide and narrow spans in every channel, rising and falling.
const ColourPair kPairs[] = {{0x000000, 0xFFFFFF}, {0x1E16C8, 0x40D0FF}, {0xFF00FF, 0x00FF00}};

QImage canvas(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kGround);
    return image;
}

EffectShape wholeArea(const QRect& area) {
    return [area](QPainter& p, const QBrush& brush) { p.fillRect(area, brush); };
}

EffectShape graphic(int32_t kind, std::vector<QPoint> points) {
    return [kind, points](QPainter& p, const QBrush& brush) {
        ShapeGeometry::drawBody(p, kind, points, QPen(brush, 1), brush);
    };
}

QImage filled(QSize size, const QRect& area, int effect, ColourPair c, const EffectShape& shape,
              EffectRoute route) {
    QImage image = canvas(size);
    QPainter p(&image);
    paintEffectFill(p, area, effect, c.c1, c.c2, shape, route);
    return image;
}

int channel(QRgb c, int k) { return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c); }

// The most one channel changes between neighbouring pixels of the effect's bitmap: the
// size of its steps. The white first column of the anti-diagonal effects is left out.
int largestStep(const QImage& bitmap, int effect) {
    const int firstColumn = effect >= 9 && effect <= 12 ? 1 : 0;
    int step = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = firstColumn; x < bitmap.width(); ++x) {
            const QRgb here = bitmap.pixel(x, y);
            for (int k = 0; k < 3; ++k) {
                if (x + 1 < bitmap.width())
                    step = std::max(step, std::abs(channel(here, k) - channel(bitmap.pixel(x + 1, y), k)));
                if (y + 1 < bitmap.height())
                    step = std::max(step, std::abs(channel(here, k) - channel(bitmap.pixel(x, y + 1), k)));
            }
        }
    }
    return step;
}

struct Difference {
    int largest = 0;  // per channel
    int pixels = 0;   // that differ at all
};

Difference compare(const QImage& a, const QImage& b) {
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            int most = 0;
            for (int k = 0; k < 3; ++k)
                most = std::max(most, std::abs(channel(a.pixel(x, y), k) - channel(b.pixel(x, y), k)));
            d.largest = std::max(d.largest, most);
            if (most > 0) ++d.pixels;
        }
    }
    return d;
}

// A device of an A0 sheet at 600 dpi that keeps the sizes of the pictures drawn on it and
// draws gradients itself or not.
class PictureSizes : public QPaintEngine {
public:
    explicit PictureSizes(PaintEngineFeatures features) : QPaintEngine(features) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap& p, const QRectF&) override { bytes.push_back(p.toImage().sizeInBytes()); }
    void drawImage(const QRectF&, const QImage& image, const QRectF&, Qt::ImageConversionFlags) override {
        bytes.push_back(image.sizeInBytes());
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }
    std::vector<qsizetype> bytes;
};

class A0Sheet : public QPaintDevice {
public:
    explicit A0Sheet(QPaintEngine::PaintEngineFeatures features) : engine(features) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth: return 19866;
            case PdmHeight: return 28087;
            case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 600;
            case PdmDepth: return 32;
            default: return 1;
        }
    }
    mutable PictureSizes engine;
};

QByteArray pdfOf(QSizeF paperMm, int dpi, const std::function<void(QPainter&)>& draw) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(dpi);
        writer.setPageSize(QPageSize(paperMm, QPageSize::Millimeter));
        QPainter p(&writer);
        draw(p);
    }
    return buffer.data();
}

}  // namespace

// Every effect drawn as vectors matches its bitmap at screen resolution: gradients within
// a step of the bitmap per channel (straight ones within rounding), patterns pixel for
// pixel.
TEST(EffectFill, VectorsMatchTheBitmapOfEveryEffect) {
    const QSize sizes[] = {{120, 80}, {57, 143}, {9, 9}};
    for (QSize size : sizes) {
        for (const ColourPair& c : kPairs) {
            for (int effect = 1; effect <= 32; ++effect) {
                SCOPED_TRACE(testing::Message() << "effect " << effect << ", " << size.width() << "x"
                                                << size.height() << ", " << std::hex << c.c1 << "-" << c.c2);
                const QRect area(QPoint(0, 0), size);
                const QImage bitmap = renderEffect(size.width(), size.height(), effect, c.c1, c.c2);
                const QImage vector = filled(size, area, effect, c, wholeArea(area), EffectRoute::Vector);
                const Difference d = compare(bitmap, vector);
                if (effect <= 16) {
                    // The exact colour of each step rounded where the bitmap truncates it.
                    EXPECT_LE(d.largest, 2);
                } else if (effect <= 18) {
                    // A ring is a pixel's distance rounded up: half a step either way.
                    EXPECT_LE(d.largest, (largestStep(bitmap, effect) + 1) / 2 + 1);
                } else {
                    EXPECT_EQ(d.pixels, 0);
                }
            }
        }
    }
}

// Bands put together are the whole bitmap: the rows of each band come from their own
// place in the effect.
TEST(EffectFill, BandsAddUpToTheWholeBitmap) {
    const QSize size(1500, 1800);  // three bands
    const QRect area(QPoint(0, 0), size);
    ASSERT_GT(int64_t(size.width()) * size.height() * 4, 2 * int64_t(kEffectBandBytes));
    for (int effect : {3, 6, 10, 15, 17, 18, 28, 32}) {
        SCOPED_TRACE(effect);
        const ColourPair c = kPairs[1];
        const QImage bands = filled(size, area, effect, c, wholeArea(area), EffectRoute::Bands);
        EXPECT_EQ(bands, renderEffect(size.width(), size.height(), effect, c.c1, c.c2));
    }
}

// Through a shape both routes paint the same pixels, the shape's outline included, and
// leave the rest alone.
TEST(EffectFill, BothRoutesShowTheEffectOnlyWhereTheShapePaints) {
    const QSize size(160, 120);
    const QRect area(10, 8, 136, 100);
    const struct {
        int32_t kind;
        std::vector<QPoint> points;
    } shapes[] = {
        {BlockKind::Ellipse, {{10, 8}, {140, 100}}},
        {BlockKind::Triangle, {{10, 100}, {75, 8}, {140, 100}}},
        {BlockKind::Rectangle, {{10, 8}, {140, 100}}},
    };
    for (const auto& s : shapes) {
        for (int effect : {1, 8, 9, 12, 16, 17, 20, 25, 27, 31, 0}) {
            SCOPED_TRACE(testing::Message() << "kind " << s.kind << ", effect " << effect);
            const ColourPair c = kPairs[0];
            const EffectShape shape = graphic(s.kind, s.points);
            const QImage bands = filled(size, area, effect, c, shape, EffectRoute::Bands);
            const QImage vector = filled(size, area, effect, c, shape, EffectRoute::Vector);
            QImage coverage = canvas(size);
            {
                QPainter p(&coverage);
                shape(p, QBrush(Qt::black));
            }
            int inside = 0;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const bool covered = coverage.pixel(x, y) != kGround;
                    inside += covered;
                    if (!covered) {
                        ASSERT_EQ(vector.pixel(x, y), kGround) << x << "," << y;
                        ASSERT_EQ(bands.pixel(x, y), kGround) << x << "," << y;
                    }
                }
            }
            EXPECT_GT(inside, 1000);
            const Difference d = compare(bands, vector);
            // 255 over 136 columns or 100 rows: steps of 1 to 3, patterns exact apart
            // from a few pixels where a slanted edge meets the outline.
            EXPECT_LE(d.largest, effect >= 19 && effect <= 32 ? 255 : 6);
            EXPECT_LE(d.pixels, effect >= 19 && effect <= 32 ? 8 : inside);
        }
    }
}

// A PDF holds a poster-sized effect as shadings and paths, not as a picture, and is
// quickly made.
TEST(EffectFill, PdfKeepsEffectsAsVectors) {
    for (int effect : {1, 11, 14, 18, 23, 32}) {
        SCOPED_TRACE(effect);
        QElapsedTimer clock;
        clock.start();
        const QByteArray pdf = pdfOf(QSizeF(841, 1189), 600, [&](QPainter& p) {
            const QRect area(100, 100, 19000, 27000);  // device pixels at 600 dpi
            paintEffectFill(p, area, effect, 0x1E16C8, 0x40D0FF,
                            graphic(BlockKind::Ellipse, {area.topLeft(), area.bottomRight()}));
        });
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_FALSE(pdf.contains("/Subtype /Image"));
        EXPECT_LT(pdf.size(), 100000);
        if (effect <= 18) {
            EXPECT_TRUE(pdf.contains("/ShadingType"));
        }
    }
}

// A device that draws no gradients gets a sheet-sized gradient in strips of at most
// kEffectBandBytes; one that does gets no picture at all.
TEST(EffectFill, DevicesWithoutGradientsGetStrips) {
    const QRect area(0, 0, 19000, 2000);
    const QPaintEngine::PaintEngineFeatures all(QPaintEngine::AllFeatures);
    const auto without = [&](QPaintEngine::PaintEngineFeature feature) {
        QPaintEngine::PaintEngineFeatures f = all;
        f.setFlag(feature, false);
        return f;
    };
    const struct {
        QPaintEngine::PaintEngineFeatures features;
        int effect;
        size_t strips;
    } cases[] = {
        {all, 1, 0},
        {all, 17, 0},
        {without(QPaintEngine::LinearGradientFill), 9, 37},  // 55 rows of 76,000 bytes each
        {without(QPaintEngine::RadialGradientFill), 18, 37},
        {without(QPaintEngine::RadialGradientFill), 25, 0},  // two colours: clipped regions
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        A0Sheet sheet(c.features);
        {
            QPainter p(&sheet);
            paintEffectFill(p, area, c.effect, 0x1E16C8, 0x40D0FF, wholeArea(area));
        }
        EXPECT_EQ(sheet.engine.bytes.size(), c.strips);
        for (qsizetype bytes : sheet.engine.bytes) EXPECT_LE(bytes, kEffectBandBytes);
    }
}

TEST(EffectFill, GradientBrushesOfOtherNumbersAreWhite) {
    for (int effect : {0, 19, 33, -1}) {
        EXPECT_EQ(effectGradient(QRect(0, 0, 10, 10), effect, 0, 0xFFFFFF), QBrush(Qt::white)) << effect;
    }
    EXPECT_EQ(effectGradient(QRect(), 1, 0, 0xFFFFFF), QBrush(Qt::white));
    // One row, a middle-out ramp: no gradient of zero length.
    EXPECT_EQ(effectGradient(QRect(0, 0, 5, 1), 3, 0x0000FF, 0xFFFFFF).style(), Qt::SolidPattern);
}
