#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include "TextFixtures.h"
#include "core/text/FontFaces.h"
#include "core/text/PriceItem.h"

using namespace pemo;
using namespace pemo::test;

namespace {

// What the installed font a face name resolves to is, read from the font files.
struct Installed {
    QString family;
    int weight = 0;       // of the style the font matched
    double width = 0;     // Latin advance against Liberation Sans's
    bool chinese = false; // draws 中 from its own glyphs
    int inkBold = 0;      // pixels inked by 中国 in the bold style, against the regular
    int inkRegular = 0;
};

int inkOf(const QFont& font, const QString& text) {
    QImage image(900, 500, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(10, 400, text);
    p.end();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
}

double latinAdvance(const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(QStringLiteral("0123456789 abcdefghijklmnopqrstuvwxyz"));
}

Installed installedFor(const char* name) {
    const QByteArray face = gbk(name);
    const QFont font = FontFaces::font(face, 300, false, false);
    const QFontInfo info(font);
    Installed out;
    // Qt names a family installed from two foundries "Family [foundry]".
    out.family = info.family().section(QStringLiteral(" ["), 0, 0);
    out.weight = QFontDatabase::weight(info.family(), info.styleName());
    const QFont arial = FontFaces::font("Arial", 300, false, false);
    out.width = latinAdvance(font) / latinAdvance(arial);
    const QRawFont raw = QRawFont::fromFont(font);
    out.chinese = raw.supportsCharacter(QChar(0x4E2D)) && raw.familyName() == out.family;
    const QString sample = FontFaces::resolve(face).cjk ? QString::fromUtf8("中国") : QStringLiteral("Hm");
    out.inkRegular = inkOf(font, sample);
    out.inkBold = inkOf(FontFaces::font(face, 300, true, false), sample);
    return out;
}

// Every face a designer is offered, and names the table does not know, resolve to an
// installed family of the right style, weight and width; bold is visibly heavier.
TEST(FontFacesTest, FacesResolveToInstalledFacesOfTheirStyleWeightAndWidth) {
    enum Width { Normal, Narrow, Wide };
    const struct {
        const char* name;
        const char* family;
        int minWeight, maxWeight;  // of the installed style that is drawn
        Width width;
    } cases[] = {
        {"宋体", "Noto Serif CJK SC", 400, 400, Normal},
        {"SimSun", "Noto Serif CJK SC", 400, 400, Normal},
        {"华文中宋", "Noto Serif CJK SC", 550, 650, Normal},
        {"仿宋", "Noto Serif CJK SC", 250, 350, Normal},
        {"细明体", "AR PL UMing CN", 300, 400, Normal},
        {"黑体", "Noto Sans CJK SC", 500, 500, Normal},
        {"simhei", "Noto Sans CJK SC", 500, 500, Normal},
        {"微软雅黑", "Noto Sans CJK SC", 400, 400, Normal},
        {"华文细黑", "Noto Sans CJK SC", 250, 350, Normal},
        {"幼圆", "Noto Sans CJK SC", 250, 350, Normal},
        {"华文琥珀", "Noto Sans CJK SC", 900, 900, Normal},
        {"方正综艺_GBK", "Noto Sans CJK SC", 900, 900, Normal},
        {"华文彩云", "Smiley Sans", 400, 400, Normal},
        {"方正姚体", "Smiley Sans", 400, 400, Normal},
        {"楷体", "LXGW WenKai", 400, 400, Normal},
        {"楷体_GB2312", "LXGW WenKai", 400, 400, Normal},
        {"华文行楷", "LXGW WenKai", 700, 700, Normal},
        {"方正舒体", "LXGW WenKai", 250, 350, Normal},
        {"华文新魏", "AR PL UKai CN", 400, 400, Normal},  // emboldened
        {"隶书", "Noto Serif CJK SC", 700, 700, Normal},
        {"方正超粗黑简体", "Noto Sans CJK SC", 400, 400, Normal},  // unknown Chinese face
        {"Arial", "Liberation Sans", 400, 400, Normal},
        {"Arial Black", "Roboto", 900, 900, Normal},
        {"Arial Narrow", "Nimbus Sans Narrow", 400, 400, Narrow},
        {"Impact", "Roboto Condensed", 700, 700, Narrow},
        {"Century Gothic", "URW Gothic", 400, 400, Wide},
        {"Book Antiqua", "P052", 400, 400, Normal},
        {"Times New Roman", "Liberation Serif", 400, 400, Normal},
        {"Courier New", "Liberation Mono", 400, 400, Wide},
        {"NoSuchFace", "Liberation Sans", 400, 400, Normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Installed in = installedFor(c.name);
        EXPECT_EQ(in.family, QString::fromUtf8(c.family));
        EXPECT_GE(in.weight, c.minWeight);
        EXPECT_LE(in.weight, c.maxWeight);
        const bool cjk = FontFaces::resolve(gbk(c.name)).cjk;
        if (cjk) {
            EXPECT_TRUE(in.chinese);
        }
        if (!cjk) {
            if (c.width == Narrow) {
                EXPECT_LT(in.width, 0.92);
            } else if (c.width == Wide) {
                EXPECT_GT(in.width, 1.05);
            } else {
                EXPECT_NEAR(in.width, 1.0, 0.12);
            }
        }
        // Bold is heavier, also where the family has one weight (emboldened at every size),
        // except for faces that are bold already.
        if (FontFaces::resolve(gbk(c.name)).weight < 700) {
            EXPECT_GT(in.inkBold, in.inkRegular * 11 / 10) << in.inkRegular;
        }
    }
    // The heavy faces are heavier than the plain ones in the same family.
    EXPECT_GT(installedFor("华文琥珀").inkRegular, installedFor("黑体").inkRegular * 13 / 10);
    EXPECT_GT(installedFor("黑体").inkRegular, installedFor("幼圆").inkRegular * 11 / 10);
    EXPECT_GT(installedFor("华文新魏").inkRegular, installedFor("楷体").inkRegular);
}

// The list a designer chooses from: names in GBK, every one resolving to what is listed.
TEST(FontFacesTest, DesignerFacesResolveAsListedToInstalledFamilies) {
    const QStringList installed = QFontDatabase::families();
    for (bool chinese : {true, false}) {
        const auto faces = FontFaces::designerFaces(chinese);
        EXPECT_GT(faces.size(), 10);
        EXPECT_EQ(FontFaces::names(chinese).size(), faces.size());
        for (const auto& listed : faces) {
            SCOPED_TRACE(Gbk::toUnicode(listed.name).toStdString());
            EXPECT_EQ(FontFaces::resolve(listed.name).family, listed.face.family);
            EXPECT_EQ(listed.face.cjk, chinese);
                        EXPECT_TRUE(installed.contains(listed.face.family) ||
                        installed.contains(listed.face.family + QStringLiteral(" [urw]")));
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
        price.style.edit().size = 48;
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
