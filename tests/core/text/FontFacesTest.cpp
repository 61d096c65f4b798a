#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>

#include "TextFixtures.h"
#include "core/text/FontFaces.h"
#include "core/text/PriceItem.h"

using namespace pemo;
using namespace pemo::test;

namespace {

TEST(FontFacesTest, DocumentFacesMapOntoInstalledFaces) {
    const struct {
        const char* name;
        const char* family;
        bool cjk;
    } cases[] = {
        {"宋体", "Noto Serif CJK SC", true},
        {"新宋体", "Noto Serif CJK SC", true},
        {"SimSun", "Noto Serif CJK SC", true},
        {"黑体", "Noto Sans CJK SC", true},
        {"simhei", "Noto Sans CJK SC", true},
        {"楷体_GB2312", "AR PL UKai CN", true},
        {"KaiTi", "AR PL UKai CN", true},
        {"仿宋", "AR PL UMing CN", true},
        {"隶书", "AR PL UKai CN", true},
        {"幼圆", "WenQuanYi Micro Hei", true},
        {"方正超粗黑简体", "Noto Sans CJK SC", true},  // unknown Chinese face
        {"Arial", "Liberation Sans", false},
        {"Times New Roman", "Liberation Serif", false},
        {"Courier New", "Liberation Mono", false},
        {"NoSuchFace", "Liberation Sans", false},
    };
    for (const auto& c : cases) {
        const FontFaces::Face face = FontFaces::resolve(gbk(c.name));
        EXPECT_EQ(face.family, QString::fromLatin1(c.family)) << c.name;
        EXPECT_EQ(face.cjk, c.cjk) << c.name;
    }
}

TEST(FontFacesTest, EveryTargetIsInstalledAndChineseTargetsHaveChineseGlyphs) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : FontFaces::installedTargets()) {
        EXPECT_TRUE(installed.contains(family)) << family.toStdString();
        const QFont font = FontFaces::font(Gbk::fromUnicode(family), 40, false, false);
        EXPECT_EQ(QFontInfo(font).family(), family) << family.toStdString();
        if (FontFaces::resolve(Gbk::fromUnicode(family)).cjk) {
            EXPECT_TRUE(QRawFont::fromFont(font).supportsCharacter(QChar(0x4E2D)))
                << family.toStdString();
        }
    }
}

TEST(FontFacesTest, PlatformMetricsOfChineseFacesAreOneEmCells) {
    CharStyle style;  // 宋体 / Arial at 48 points
    const StyleMetrics m = TextMetrics::platform().measure(style, 48);
    EXPECT_EQ(m.chineseHeight, 960);
    EXPECT_EQ(m.chineseAscent, 840);
    // Liberation Sans has the cell of Arial: 0.905 + 0.212 em.
    EXPECT_NEAR(m.westernHeight, 1073, 3);
    EXPECT_NEAR(m.widthOf('0'), 534, 2);
}

TEST(PriceMeasureTest, WidthsOfTheStyles) {
    // Fixed metrics at 48 points: digits 480, "." 240; at 28 points: digits 280, "." 140.
    const struct {
        const char* text;
        int style;
        int width;
    } cases[] = {
        {"12.80", 0, 2160},
        {"12.80", 5, 960 + 140 + 560},
        {"12.80", 9, 960 + 140 + 560},
        {"12.80", 13, 2160},
        {"12.80", 14, 1660},
        {"1280", 5, 1920},                // no point: all at full size
        {"1.2.80", 5, 1200 + 700},        // small from the last point only
        {"{原价}", 7, 480 + 1920 + 480},  // a name stays at full size
        {"9 9", 0, 480 + 528 + 480},      // a space is half the Western cell
        {"12\xD6", 0, 960},               // a lone lead byte ends the value
    };
    for (const auto& c : cases) {
        PriceItem price;
        price.style.size = 48;
        price.valueText = gbk(c.text);
        if (QByteArray(c.text).endsWith('\xD6'))
            price.valueText = QByteArray(c.text);
        price.priceStyle = c.style;
        price.measure(fixedMetrics());
        EXPECT_EQ(price.width, c.width) << c.text << " " << c.style;
        EXPECT_EQ(price.height, 1056);
        EXPECT_EQ(price.ascent, 864);
    }
}

}  // namespace
