// Rendering with installed faces, checked by structure: where ink, lines and
// inverted bands fall, never whole pictures byte for byte.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <QPainter>

#include "TextFixtures.h"
#include "core/text/PriceItem.h"

using namespace pemo;
using namespace pemo::test;

namespace {

// Pinned faces: 黑体 maps to Noto Sans CJK SC, Arial to Liberation Sans.
CharStyle pinnedStyle(int size) {
    CharStyle s;
    s.chineseFace = gbk("微软雅黑");
    s.westernFace = "Arial";
    s.size = uint16_t(size);
    return s;
}

RichText platformText(const char* utf8, int width, int height, int size, int spacing = 0,
                      int32_t kind = TextKind::Fixed) {
    RichText t(width, height, gbk(utf8), pinnedStyle(size), kind, size, spacing, RichText::Left);
    t.layout();
    return t;
}

QImage render(const RichText& t, QSize size, bool selection, double zoom = 1.0) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    t.draw(p, TextDevice{zoom, 0, 0, 96, 96}, selection);
    return image;
}

bool dark(QRgb c) {
    return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110;
}
int px(int twips) {
    return twips * 96 / 1440;
}

TEST(RenderTest, UnderlineFollowsTheStyleLastDrawn) {
    // "ab" underlined with a space that is not; "cd" plain with a space that is.
    RichText t = platformText("ab cd e", 20000, 5000, 24);
    t.setSelection({0, true}, {2, true});
    t.applyStyle(RichText::Underline, 1, false);
    t.setSelection({5, true}, {6, true});
    t.applyStyle(RichText::Underline, 1, false);
    t.setSelection({0, true}, {0, true});
    t.layout();
    const QImage img = render(t, {700, 120}, false);
    const int baseline = px(t.item(0).y);
    const int row = baseline + 96 * 8 / 72;
    auto underlined = [&](int item) {
        const int x0 = px(t.item(item).x) + 1;
        const int x1 = px(t.item(item).x + t.item(item).drawnWidth) - 1;
        for (int x = x0; x <= x1; ++x) {
            if (!dark(img.pixel(x, row)))
                return false;
        }
        return true;
    };
    EXPECT_TRUE(underlined(0));
    EXPECT_TRUE(underlined(1));
    EXPECT_TRUE(underlined(2)) << "space after an underlined word";
    EXPECT_FALSE(underlined(3));
    EXPECT_FALSE(underlined(5)) << "space after a plain word";
    // The offset stays 8/72 inch at every zoom.
    const QImage zoomed = render(t, {1400, 240}, false, 2.0);
    const int zBaseline = int(2.0 * t.item(0).y * 96 / 1440);
    EXPECT_TRUE(dark(zoomed.pixel(int(2.0 * t.item(0).x * 96 / 1440) + 4, zBaseline + 10)));
}

TEST(RenderTest, SelectionInvertsOneBandPerLine) {
    RichText t = platformText("中文中文中文", 2000, 10000, 24, 100);
    ASSERT_NE(t.item(0).lineTop, t.item(5).lineTop);
    t.setSelection({1, true}, {5, true});
    const QImage img = render(t, {300, 200}, true);
    // Rows that are mostly dark over the frame's width form the bands.
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < img.height(); ++y) {
        int darkCount = 0;
        for (int x = 0; x < img.width(); ++x)
            darkCount += dark(img.pixel(x, y));
        const bool band = darkCount > 40;
        if (band && !inBand)
            ++bands;
        inBand = band;
    }
    EXPECT_EQ(bands, 2);
    // The first character is outside the selection: its cell stays mostly white.
    const QRect cell(px(t.item(0).x), px(t.item(0).lineTop), px(t.item(0).drawnWidth),
                     px(t.item(0).lineHeight));
    int darkCount = 0;
    for (int y = cell.top(); y < cell.bottom(); ++y)
        for (int x = cell.left(); x < cell.right(); ++x)
            darkCount += dark(img.pixel(x, y));
    EXPECT_LT(darkCount, cell.width() * cell.height() / 2);
    // Without editing no band is drawn.
    const QImage plain = render(t, {300, 200}, false);
    EXPECT_FALSE(dark(plain.pixel(px(t.item(2).x) + 1, px(t.item(2).lineTop) + 1)));
}

}  // namespace

namespace {

// Ink (dark or coloured pixels, not the pale frames) inside a rectangle less a 2-pixel rim.
int inkIn(const QImage& image, const QRect& frame) {
    int ink = 0;
    const QRect inside = frame.adjusted(2, 2, -2, -2).intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            ink += std::min({qRed(c), qGreen(c), qBlue(c)}) < 160;
        }
    }
    return ink;
}

// Keeps a picture for a person to look at when PEMO_KEEP_IMAGES names a folder.
void keep(const QImage& image, const char* name) {
    const QString folder = qEnvironmentVariable("PEMO_KEEP_IMAGES");
    if (!folder.isEmpty()) image.save(folder + QLatin1Char('/') + QLatin1String(name));
}

// A sheet of horizontal, fill-justified, vertical and price text in every price style:
// each piece puts ink inside its own frame and none spills into the gaps between them.
TEST(RenderTest, SampleSheetDrawsEveryPieceInsideItsFrame) {
    QImage image(900, 560, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QColor(200, 200, 255));

    RichText fill(7200, 3000,
                  gbk("促销信息：全场商品 8 折起，Special offer (limited)! 数量有限，"
                      "售完即止。Price ￥12.50 per item."),
                  pinnedStyle(20), TextKind::Fixed, 20, 25, RichText::Fill);
    fill.setSelection({6, true}, {9, true});
    fill.applyStyle(RichText::Underline, 1, false);
    fill.setSelection({20, true}, {48, true});
    fill.layout();
    p.drawRect(10, 10, 480, 200);
    fill.draw(p, TextDevice{1.0, 10, 10, 96, 96}, true);

    RichText vertical(3000, 4200, gbk("竖排文字（示例）。\n“引号”，ABC 123！"), pinnedStyle(24),
                      TextKind::Fixed, 24, 25, RichText::Left);
    vertical.setVertical(true);
    vertical.selectAll();
    vertical.applyStyle(RichText::TextColour, 0x0000C0, false);
    vertical.setSelection({2, true}, {4, true});
    vertical.applyStyle(RichText::Underline, 1, false);
    vertical.setSelection({0, true}, {0, true});
    vertical.layout();
    p.drawRect(600, 10, 200, 280);
    vertical.draw(p, TextDevice{1.0, 600, 10, 96, 96}, false);

    for (int style = 1; style <= 15; ++style) {
        RichText price(3000, 900, gbk(style == 7 ? "{原价}" : "128.80"), pinnedStyle(28),
                       TextKind::OriginalPrice, 28, 0, RichText::Left);
        static_cast<PriceItem&>(price.item(0)).priceStyle = style;
        price.layout();
        const int col = (style - 1) % 4, row = (style - 1) / 4;
        const int x = 10 + col * 220, y = 300 + row * 62;
        p.drawRect(x, y, 200, 60);
        price.draw(p, TextDevice{1.0, x, y, 96, 96}, false);
    }
    p.end();
    keep(image, "richtext.png");
    EXPECT_GT(inkIn(image, QRect(10, 10, 480, 200)), 2000) << "fill text";
    EXPECT_GT(inkIn(image, QRect(600, 10, 200, 280)), 800) << "vertical text";
    for (int style = 1; style <= 15; ++style) {
        const int col = (style - 1) % 4, row = (style - 1) / 4;
        EXPECT_GT(inkIn(image, QRect(10 + col * 220, 300 + row * 62, 200, 60)), 150) << "price style " << style;
    }
    // The gaps between the frames stay white.
    EXPECT_EQ(inkIn(image, QRect(492, 0, 106, 290)), 0);
    EXPECT_EQ(inkIn(image, QRect(0, 212, 598, 86)), 0);

    QImage zoomed(560, 580, QImage::Format_RGB32);
    zoomed.fill(Qt::white);
    QPainter z(&zoomed);
    z.setPen(QColor(200, 200, 255));
    z.drawRect(10, 10, 400, 560);
    vertical.setSelection({9, true}, {14, true});
    vertical.draw(z, TextDevice{2.0, 10, 10, 96, 96}, true);
    RichText price(800, 3000, gbk("128.80"), pinnedStyle(20), TextKind::CurrentPrice, 20, 0,
                   RichText::Left);
    static_cast<PriceItem&>(price.item(0)).priceStyle = 12;
    price.setVertical(true);
    price.layout();
    z.drawRect(440, 10, 106, 400);
    price.draw(z, TextDevice{2.0, 440, 10, 96, 96}, false);
    z.end();
    keep(zoomed, "richtext_vertical.png");
    EXPECT_GT(inkIn(zoomed, QRect(10, 10, 400, 560)), 4 * 800) << "vertical text at zoom 2";
    EXPECT_GT(inkIn(zoomed, QRect(440, 10, 106, 400)), 300) << "vertical price at zoom 2";
    EXPECT_EQ(inkIn(zoomed, QRect(412, 0, 26, 580)), 0);
}

}  // namespace
