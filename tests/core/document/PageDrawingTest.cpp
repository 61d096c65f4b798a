#include <gtest/gtest.h>

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/InfoRecord.h"
#include "core/document/PageDrawing.h"
#include "core/pictures/PictureStore.h"
#include "core/text/RichText.h"

using namespace pemo;
using test::gbk;

namespace {

QImage makeImage(int width, int height, int ppi) {
    QImage image(width, height, QImage::Format_RGB32);
    const int dpm = qRound(ppi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    return image;
}

TextBlock& addText(InfoRecord& r, int32_t kind, TwipsRect rect, const char* text) {
    const QByteArray initial = kind == BlockKind::FixedText ? gbk(text) : r.placeholderText(kind, false, {});
    return static_cast<TextBlock&>(r.appendBlock(TextBlock::create(kind, rect, initial, true)));
}

// A background picture file of one colour, or a vertical gradient.
PictureDescription writeBackground(const QTemporaryDir& dir, const char* name, bool gradient) {
    QImage image(60, 90, QImage::Format_RGB32);
    if (gradient) {
        QPainter p(&image);
        QLinearGradient g(0, 0, 0, 90);
        g.setColorAt(0, QColor(255, 240, 200));
        g.setColorAt(1, QColor(200, 30, 40));
        p.fillRect(image.rect(), g);
    } else {
        image.fill(QColor(200, 30, 40));
    }
    const QString path = dir.filePath(QString::fromLatin1(name) + ".bmp");
    EXPECT_TRUE(image.save(path, "BMP"));
    return PictureDescription::ofFile(path, PictureDescription::Background, gbk("促销"),
                                      QByteArray(name));
}

// The page drawn in screen mode into an image of the page's size at ppi.
QImage screenImage(const InfoRecord& r, const PictureStore& backgrounds, int ppi,
                   bool withBackground, bool templateMode) {
    const int width = r.widthTw * ppi / 1440;
    const int height = r.heightTw * ppi / 1440;
    QImage image = makeImage(width, height, ppi);
    QPainter painter(&image);
    PageDrawOptions o;
    o.screenMode = true;
    o.target = QRect(0, 0, width, height);
    o.withBackground = withBackground;
    o.templateMode = templateMode;
    o.screenPixelsPerInch = ppi;
    drawPage(r, backgrounds, painter, o);
    return image;
}

struct Difference {
    int pixels = 0;
    int largest = 0;  // the largest difference of one colour channel
    QRect bounds;
    QString first;    // the first few differing pixels, for the failure message
};

Difference compare(const QImage& a, const QImage& b) {
    Difference d;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if ((la[x] & 0xFFFFFF) != (lb[x] & 0xFFFFFF)) {
                if (++d.pixels <= 8)
                    d.first += QString::asprintf("(%d,%d %06x/%06x) ", x, y, la[x] & 0xFFFFFF,
                                                 lb[x] & 0xFFFFFF);
                d.bounds |= QRect(x, y, 1, 1);
                d.largest = std::max({d.largest, std::abs(qRed(la[x]) - qRed(lb[x])),
                                      std::abs(qGreen(la[x]) - qGreen(lb[x])),
                                      std::abs(qBlue(la[x]) - qBlue(lb[x]))});
            }
        }
    }
    return d;
}

// Pixels inside a block's device frame that are not white.
int inkIn(const QImage& image, const TwipsRect& frame, int ppi) {
    const QRect r = QRect(QPoint(frame.left * ppi / 1440, frame.top * ppi / 1440),
                          QPoint(frame.right * ppi / 1440, frame.bottom * ppi / 1440))
                        .intersected(image.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++n;
    return n;
}

}  // namespace

// At 300 pixels per inch the 190 × 280 mm page is 2243 × 3307 pixels: four bands, the
// boundaries at rows 1000, 2000 and 3000 (twips 4800, 9600, 14400). Every block below
// crosses one of them.
TEST(PageDrawing, BandsGiveTheSamePixelsAsOneScreenBitmap) {
    QTemporaryDir dir;
    PictureStore backgrounds;
    InfoRecord r;
    r.applyBackground(writeBackground(dir, "warm", true), backgrounds);
    ASSERT_EQ(r.background.present, 1);
    r.setValue(0, gbk("金龙鱼调和油"));
    r.setValue(InfoRecord::kCurrentPrice, "69.90");

    addText(r, BlockKind::FixedText, {700, 4300, 10000, 5400}, "超值特惠 Big Sale");
    addText(r, BlockKind::FirstVariable, {900, 9000, 9800, 10300}, "");
    TextBlock& turned = addText(r, BlockKind::FixedText, {2000, 6000, 8000, 7600}, "限时抢购 50%");
    turned.rotateTowards(8000, 3600);  // about 22 degrees; crosses row 1000 once turned
    turned.clearHandles();
    TextBlock& vertical = addText(r, BlockKind::FixedText, {9000, 8200, 10300, 12000}, "中文竖排");
    vertical.content()->setVertical(true);
    vertical.content()->fitToFrame(true);
    addText(r, BlockKind::CurrentPrice, {1000, 13700, 9000, 15200}, "");
    r.blocks.back()->layer = 2;  // drawn before the others
    r.refreshPlaceholders(false, {});
    ASSERT_LT(turned.frame.top * 300 / 1440, 1000);
    ASSERT_GT(turned.frame.bottom * 300 / 1440, 1000);

    // Glyphs cut at a band's edge may be smoothed a level or two differently, and the
    // stretched background may take a neighbouring source row where a band starts; both
    // stay within a few levels. Without the background only a handful of edge pixels may
    // differ at all.
    const struct {
        bool withBackground;
        int maxPixels;
    } cases[] = {{false, 50}, {true, 2243 * 60}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.withBackground);
        const QImage bands = renderPageImage(r, backgrounds, 300, c.withBackground, false);
        ASSERT_EQ(bands.size(), QSize(2243, 3307));
        const QImage screen = screenImage(r, backgrounds, 300, c.withBackground, false);
        ASSERT_EQ(screen.size(), bands.size());
        const Difference d = compare(bands, screen);
        const std::string where = QString::asprintf("differences in %d,%d %dx%d: ", d.bounds.x(),
                                                    d.bounds.y(), d.bounds.width(),
                                                    d.bounds.height()).toStdString() +
                                  d.first.toStdString();
        EXPECT_LE(d.largest, 6) << where;
        EXPECT_LE(d.pixels, c.maxPixels) << where;
        // PEMO_KEEP_IMAGES may name a folder to keep both pictures in, for a person to compare.
        if (const QString keep = qEnvironmentVariable("PEMO_KEEP_IMAGES"); !keep.isEmpty()) {
            bands.save(QString("%1/pemo_bands_%2.png").arg(keep).arg(c.withBackground));
            screen.save(QString("%1/pemo_screen_%2.png").arg(keep).arg(c.withBackground));
        }
    }

    // Something of every block is on the page.
    const QImage blocksOnly = renderPageImage(r, backgrounds, 300, false, false);
    for (const auto& block : r.blocks) {
        EXPECT_GT(inkIn(blocksOnly, block->frame, 300), 500) << std::hex << block->kind;
    }
}

TEST(PageDrawing, OutputSkipsEmptyVariablesAndPricesOutsideTemplateMode) {
    InfoRecord r;
    r.setValue(1, gbk("250ml×24盒"));
    const struct {
        int32_t kind;
        TwipsRect frame;
        bool inOutput;  // templateMode off
    } cases[] = {
        {BlockKind::FixedText, {500, 500, 5000, 1500}, true},
        {BlockKind::FirstVariable, {500, 2000, 5000, 3000}, false},      // empty value
        {BlockKind::FirstVariable + 1, {500, 3500, 5000, 4500}, true},   // has a value
        {BlockKind::OriginalPrice, {500, 5000, 5000, 6000}, false},      // empty value
        {BlockKind::FirstMallInfo + 1, {500, 6500, 5000, 7500}, true},   // never skipped
    };
    for (const auto& c : cases) addText(r, c.kind, c.frame, "特价");

    for (bool templateMode : {false, true}) {
        SCOPED_TRACE(templateMode);
        r.refreshPlaceholders(templateMode, {});
        const QImage output = renderPageImage(r, PictureStore(), 96, false, templateMode);
        const QImage screen = screenImage(r, PictureStore(), 96, false, templateMode);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << std::hex << c.kind);
            EXPECT_EQ(inkIn(output, c.frame, 96) > 0, templateMode || c.inOutput);
            EXPECT_GT(inkIn(screen, c.frame, 96), 0) << "the screen shows every block";
        }
    }
}

TEST(PageDrawing, SkippedKindsAreVariablesAndPricesWithoutAValue) {
    InfoRecord r;
    r.setValue(9, "x");
    r.setValue(InfoRecord::kDiscount, "8.5");
    const struct {
        int32_t kind;
        bool skipped;
    } cases[] = {
        {BlockKind::FixedText, false},
        {BlockKind::FirstVariable, true},
        {BlockKind::LastVariable, false},  // value 9 is set
        {BlockKind::OriginalPrice, true},
        {BlockKind::CurrentPrice, true},
        {BlockKind::Discount, false},      // value 12 is set
        {BlockKind::FirstMallInfo, false},
        {BlockKind::LastMallInfo, false},
        {BlockKind::ProductPicture, false},
        {BlockKind::Rectangle, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.kind);
        EXPECT_EQ(isSkippedInOutput(r, c.kind, false), c.skipped);
        EXPECT_FALSE(isSkippedInOutput(r, c.kind, true));
    }
}

TEST(PageDrawing, BackgroundOnlyWhenPresentAndFound) {
    QTemporaryDir dir;
    const QRgb red = qRgb(200, 30, 40);
    const struct {
        const char* name;
        bool present;
        bool knownKey;
        bool withBackground;
        bool drawn;
    } cases[] = {
        {"present and found", true, true, true, true},
        {"not asked for", true, true, false, false},
        {"not present", false, true, true, false},
        {"key not in the store", true, false, true, false},
    };
    for (const auto& c : cases) {
        for (bool screenMode : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (screenMode ? " screen" : " bands"));
            PictureStore backgrounds;
            InfoRecord r;
            r.applyBackground(writeBackground(dir, "plain", false), backgrounds);
            r.background.present = c.present ? 1 : 0;
            if (!c.knownKey) r.background.key = "nothing";
            const QImage image = screenMode
                                     ? screenImage(r, backgrounds, 72, c.withBackground, false)
                                     : renderPageImage(r, backgrounds, 72, c.withBackground, false);
            ASSERT_FALSE(image.isNull());
            const QRgb expected = c.drawn ? red : qRgb(255, 255, 255);
            for (QPoint at : {QPoint(0, 0), QPoint(200, 300), QPoint(image.width() - 1, image.height() - 1)})
                EXPECT_EQ(image.pixel(at) & 0xFFFFFF, expected & 0xFFFFFF) << at.x() << "," << at.y();
        }
    }
}

TEST(PageDrawing, RefreshGivesPlaceholderBlocksTheirValuesOrNames) {
    InfoRecord r;
    TextBlock& variable = addText(r, BlockKind::FirstVariable, {500, 500, 6000, 1500}, "");
    TextBlock& price = addText(r, BlockKind::OriginalPrice, {500, 2000, 6000, 3000}, "");
    TextBlock& fixed = addText(r, BlockKind::FixedText, {500, 3500, 6000, 4500}, "全场特价");
    r.setValue(0, gbk("海飞丝洗发露"));
    r.setValue(InfoRecord::kOriginalPrice, "45.50");
    const struct {
        bool templateMode;
        const char* variable;
        const char* price;
    } cases[] = {
        {false, "海飞丝洗发露", "45.50"},
        // In running text the braces become full-width; the price field keeps its bytes.
        {true, "｛商品名称｝", "{原价}"},
        {false, "海飞丝洗发露", "45.50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateMode);
        r.refreshPlaceholders(c.templateMode, {});
        EXPECT_EQ(variable.plainText(), gbk(c.variable));
        EXPECT_EQ(price.plainText(), gbk(c.price));
        EXPECT_EQ(fixed.plainText(), gbk("全场特价"));
    }
    r.setValue(0, QByteArray());
    r.refreshPlaceholders(false, {});
    EXPECT_EQ(variable.plainText(), gbk("｛商品名称｝"));
}

// The full-screen show renders at the screen's resolution and stretches the result onto
// a device of twice that resolution: blocks land where band output puts them.
TEST(PageDrawing, ScreenModeRendersAtScreenResolutionAndStretches) {
    InfoRecord r;
    addText(r, BlockKind::FixedText, {1440, 2880, 7200, 5760}, "特价商品");
    QImage screen = makeImage(r.widthTw * 192 / 1440, r.heightTw * 192 / 1440, 192);
    {
        QPainter painter(&screen);
        PageDrawOptions o;
        o.screenMode = true;
        o.target = screen.rect();
        o.withBackground = false;
        o.screenPixelsPerInch = 96;
        drawPage(r, PictureStore(), painter, o);
    }
    const QImage bands = renderPageImage(r, PictureStore(), 192, false, false);
    ASSERT_EQ(bands.size(), screen.size());
    const auto inkBounds = [](const QImage& image) {
        QRect bounds;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) bounds |= QRect(x, y, 1, 1);
        return bounds;
    };
    const QRect a = inkBounds(screen);
    const QRect b = inkBounds(bands);
    ASSERT_FALSE(b.isEmpty());
    EXPECT_TRUE(QRect(192, 384, 768, 384).adjusted(-2, -2, 2, 2).contains(b));
    EXPECT_NEAR(a.left(), b.left(), 6);
    EXPECT_NEAR(a.top(), b.top(), 6);
    EXPECT_NEAR(a.right(), b.right(), 6);
    EXPECT_NEAR(a.bottom(), b.bottom(), 6);
}
