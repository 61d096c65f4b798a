#include <gtest/gtest.h>

#include "core/barcodes/BarcodeData.h"
#include "core/barcodes/BarcodeFace.h"
#include "core/codecs/Gbk.h"

using namespace pemo;

namespace {
using S = BarcodeFace::Symbology;
QString u(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

TEST(BarcodeFace, NamesRoundTripAndRealFacesAreNone) {
    for (const S s : BarcodeFace::all()) {
        const auto back = BarcodeFace::fromFaceName(BarcodeFace::gbkName(s));
        ASSERT_TRUE(back.has_value()) << BarcodeFace::name(s).toStdString();
        EXPECT_EQ(*back, s);
    }
    EXPECT_EQ(BarcodeFace::gbkNames().size(), 8);
    for (const char* real : {"宋体", "Arial", "条码", "条码 EAN-14", "二维码 qr", ""}) {
        EXPECT_FALSE(BarcodeFace::fromFaceName(Gbk::fromUnicode(u(real))).has_value()) << real;
    }
}

TEST(BarcodeData, NumbersTakeTheirCheckDigitAndRefuseWhatIsWrong) {
    const struct {
        S symbology;
        const char* text;
        const char* full;     // the number with its check digit, when valid
        const char* problem;  // else the reason
    } cases[] = {
        {S::Ean13, "690123456789", "6901234567892", ""},
        {S::Ean13, "6901234567892", "6901234567892", ""},
        {S::Ean13, " 6901234567892\n", "6901234567892", ""},
        {S::Ean13, "6 901234 567892", "6901234567892", ""},
        {S::Ean13, "6901234567893", "", "校验位应为 2"},
        {S::Ean13, "69012345678", "", "应为 13 位数字（或不带校验位的 12 位），现有 11 位"},
        {S::Ean13, "69012345678A", "", "只能是数字"},
        {S::Ean13, "６９０１２３４５６７８９", "6901234567892", ""},  // full-width digits from a till
        {S::Ean13, "６９０１２３４５６７８9３", "", "校验位应为 2"},
        {S::Ean13, "", "", "没有号码"},
        {S::Ean8, "9638507", "96385074", ""},
        {S::Ean8, "96385075", "", "校验位应为 4"},
        {S::UpcA, "03600029145", "036000291452", ""},
        {S::UpcA, "036000291452", "036000291452", ""},
        {S::Itf14, "1540014128876", "15400141288763", ""},
        {S::Itf14, "15400141288760", "", "校验位应为 3"},
        {S::Ean13, "0000000000000", "0000000000000", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const BarcodeData data = BarcodeData::prepare(c.symbology, u(c.text));
        EXPECT_EQ(data.problem, u(c.problem));
        EXPECT_EQ(data.fullNumber, u(c.full));
        if (data.valid()) {
            EXPECT_EQ(data.payload, QByteArray(c.full).chopped(1));
        }
    }
}

TEST(BarcodeData, TextsAreCheckedForWhatTheirSymbologyHolds) {
    const struct {
        S symbology;
        const char* text;
        bool valid;
        bool eci;
    } cases[] = {
        {S::Code39, "PEMO-39 $/+%.", true, false},
        {S::Code39, "pemo", false, false},
        {S::Code128, "Pemo 128 äß", true, false},
        {S::Code128, "价格", false, false},
        {S::Code128, "  ", false, false},
        {S::Qr, "佩墨 https://example.com", true, true},
        {S::Qr, "https://example.com", true, false},
        {S::DataMatrix, "数据矩阵", true, true},
        {S::Qr, "", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const BarcodeData data = BarcodeData::prepare(c.symbology, u(c.text));
        EXPECT_EQ(data.valid(), c.valid) << data.problem.toStdString();
        EXPECT_EQ(data.needsEci, c.eci);
        if (c.valid) {
            EXPECT_EQ(data.payload, QByteArray(c.text).trimmed());
        }
    }
}

// A matrix code carries the text as it is shown, full-width signs and ￥ included; a
// linear code holds ASCII and carries the ASCII form of full-width signs, digits and letters.
TEST(BarcodeData, MatrixCodesCarryTheTextAsShownLinearCodesFoldToAscii) {
    const struct {
        S symbology;
        const char* shown;
        const char* payload;
    } cases[] = {
        {S::Qr, "https：//shop.example/商品？id＝1（a）", "https：//shop.example/商品？id＝1（a）"},
        {S::Qr, "特价￥12，限时！", "特价￥12，限时！"},
        {S::DataMatrix, "ＡＢＣ１２３，〈好〉", "ＡＢＣ１２３，〈好〉"},
        {S::Code128, "A：B［1］", "A:B[1]"},
        {S::Code128, "ＰＥＭＯ－１２８ａ〈x〉", "PEMO-128a<x>"},
        {S::Code39, "￥12", "$12"},
        {S::Code39, "ＡＢＣ－１", "ABC-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        const BarcodeData data = BarcodeData::prepare(c.symbology, u(c.shown));
        EXPECT_TRUE(data.valid()) << data.problem.toStdString();
        EXPECT_EQ(QString::fromUtf8(data.payload), u(c.payload));
    }
}
