#include <gtest/gtest.h>

#include "core/barcodes/BarcodeData.h"
#include "core/barcodes/BarcodeStyle.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

using S = BarcodeFace::Symbology;

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

QByteArray stored(const TextBlock& block) {
    ArchiveWriter out;
    block.store(out);
    return out.take();
}

std::unique_ptr<TextBlock> reread(const QByteArray& bytes) {
    auto block = std::make_unique<TextBlock>();
    ArchiveReader in(bytes);
    block->load(in);
    return block;
}

}  // namespace

TEST(BarcodeStyle, TheFaceMakesTheBarcodeAndTheFileKeepsIt) {
    const struct {
        S symbology;
        const char* text;
        bool showText;
    } cases[] = {
        {S::Ean13, "690123456789", true},
        {S::Qr, "佩墨 扫码有礼", true},
        {S::Code39, "PEMO", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto block = TextBlock::create(BlockKind::FixedText, {0, 0, 4000, 2000}, gbk(c.text), true);
        EXPECT_FALSE(block->barcode().has_value());
        BarcodeStyle::apply(*block->content(), c.symbology, c.showText, true);
        // Both faces: Chinese characters stay part of the symbol.
        for (int i = 0; i < block->content()->itemCount() - 1; ++i) {
            EXPECT_EQ(block->content()->item(i).style->chineseFace, BarcodeFace::gbkName(c.symbology));
            EXPECT_EQ(block->content()->item(i).style->westernFace, BarcodeFace::gbkName(c.symbology));
        }
        const auto back = reread(stored(*block));
        const auto look = BarcodeStyle::lookOf(*back->content());
        ASSERT_TRUE(look.has_value());
        EXPECT_EQ(look->symbology, c.symbology);
        EXPECT_EQ(look->showText, c.showText);
        const auto data = back->barcode();
        ASSERT_TRUE(data.has_value());
        EXPECT_TRUE(data->valid()) << data->problem.toStdString();
        EXPECT_EQ(stored(*back), stored(*block));
    }
}

TEST(BarcodeStyle, ARealFaceTurnsTheBarcodeBackIntoTheSameText) {
    const struct {
        int code;
        QByteArray face;
        QByteArray chinese;
        QByteArray western;
    } cases[] = {
        {RichText::WesternFace, "Arial", CharStyle::defaultChineseFace(), "Arial"},
        {RichText::WesternFace, "Times New Roman", CharStyle::defaultChineseFace(), "Times New Roman"},
        {RichText::ChineseFace, gbk("黑体"), gbk("黑体"), "Arial"},
    };
    for (const auto& c : cases) {
        auto plain = TextBlock::create(BlockKind::FixedText, {0, 0, 4000, 2000}, gbk("扫码 123"), true);
        auto block = TextBlock::create(BlockKind::FixedText, {0, 0, 4000, 2000}, gbk("扫码 123"), true);
        BarcodeStyle::apply(*block->content(), S::Qr, false, true);
        BarcodeStyle::clear(*block->content(), c.code, c.face, true);
        EXPECT_FALSE(block->barcode().has_value());
        const CharStyle& style = *block->content()->item(0).style;
        EXPECT_EQ(style.chineseFace, c.chinese);
        EXPECT_EQ(style.westernFace, c.western);
        EXPECT_EQ(style.italic, 0);
        EXPECT_EQ(block->content()->typingStyle->westernFace, c.western);
        if (c.face == "Arial") {
            EXPECT_EQ(stored(*block), stored(*plain));
        }
    }
}

// One template, every record its own symbol: the block encodes the value it shows.
TEST(BarcodeStyle, APlaceholderEncodesEachRecordsValue) {
    auto block = TextBlock::create(BlockKind::FirstVariable + 1, {0, 0, 6000, 3000}, "{x}", true);
    BarcodeStyle::apply(*block->content(), S::Ean13, true, true);
    for (const char* value : {"690123456789", "4006381333931", "123"}) {
        block->setPlaceholderText(value);
        const auto data = block->barcode();
        ASSERT_TRUE(data.has_value());
        EXPECT_EQ(data->valid(), QByteArray(value) != "123") << value;
        if (data->valid()) {
            EXPECT_TRUE(data->fullNumber.startsWith(QString::fromLatin1(value))) << value;
        }
        // The new value keeps the face of the one before.
        EXPECT_TRUE(BarcodeStyle::symbologyOf(*block->content()).has_value());
    }
}
