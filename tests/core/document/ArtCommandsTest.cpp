// 艺术字 and 文字图形化 on a record: when they apply, one undo step each, the texture
// rules, the converted block's frame and its stored forms.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/document/ArtCommands.h"
#include "core/document/InfoRecord.h"
#include "core/graphics/TextOutline.h"
#include "core/pictures/PictureStore.h"
#include "core/text/RichText.h"

using namespace pemo;
namespace AC = ArtCommand;

namespace {

TextBlock& addText(InfoRecord& r, int32_t kind, const char* text = "大促销", TwipsRect frame = {1000, 2000, 7000, 5000}) {
    return static_cast<TextBlock&>(
        r.appendBlock(TextBlock::create(kind, frame, test::gbk(text), true)));
}

int inkPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}

QImage drawn(TextBlock& block) {
    QImage image(600, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    block.drawForOutput(p, 1.0, 0, 0, 96);
    return image;
}

TEST(ArtCommands, EnableRulesFollowKindSelectionAndEditing) {
    registerBlockClasses();
    InfoRecord r;
    TextBlock& fixed = addText(r, BlockKind::FixedText);
    TextBlock& variable = addText(r, BlockKind::FirstVariable);
    TextBlock& price = addText(r, BlockKind::CurrentPrice, "12.50");
    TextBlock& empty = addText(r, BlockKind::FixedText, "");
    TextBlock& converted = addText(r, BlockKind::FixedText);
    converted.convertToGraphic();
    const struct {
        const char* name;
        std::vector<Block*> selection;
        bool editing;
        bool art, convert;
    } cases[] = {
        {"fixed text", {&fixed}, false, false, true},
        {"fixed text being edited", {&fixed}, true, true, false},
        {"a variable", {&variable}, false, false, false},
        {"a price", {&price}, false, false, false},
        {"empty text", {&empty}, false, false, false},
        {"converted text", {&converted}, false, false, true},
        {"two blocks", {&fixed, &converted}, false, false, false},
        {"nothing", {}, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        r.clearSelection();
        for (Block* b : c.selection) r.selectBlock(b);
        r.inPlaceEditing = c.editing;
        EXPECT_EQ(AC::isEnabled(AC::ArtText, r), c.art);
        EXPECT_EQ(AC::isEnabled(AC::ConvertToGraphic, r), c.convert);
    }
}

TEST(ArtCommands, SettingsApplyToTheSelectionInOneUndoStep) {
    registerBlockClasses();
    InfoRecord r;
    PictureStore images;
    TextBlock& block = addText(r, BlockKind::FixedText);
    r.selectBlock(&block);
    r.inPlaceEditing = true;
    block.content()->setSelection({1, true}, {2, true});
    AC::Settings s = AC::currentSettings(r);
    s.effect = 26;
    s.size = 9;  // out of range: stored as 3
    s.effectColour = 0x00FF00;
    ASSERT_EQ(AC::apply(r, images, s, true), AC::Result::Applied);
    const auto& text = *static_cast<TextBlock&>(*r.blocks.front()).content();
    EXPECT_EQ(text.item(0).style->effect, 0);
    EXPECT_EQ(text.item(1).style->effect, 26);
    EXPECT_EQ(text.item(1).style->effectSize, 3);
    EXPECT_EQ(text.item(1).style->effectColour, 0x00FF00);
    EXPECT_EQ(r.undoHistory.count(), 1);
    ASSERT_TRUE(r.undo());
    EXPECT_EQ(static_cast<TextBlock&>(*r.blocks.front()).content()->item(1).style->effect, 0);
}

TEST(ArtCommands, TextureIsAddedKeptOrReported) {
    registerBlockClasses();
    QTemporaryDir dir;
    const QString good = dir.filePath("纹理-测试.png");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(good));
    const QString broken = dir.filePath("坏.png");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    InfoRecord r;
    PictureStore images;
    TextBlock& block = addText(r, BlockKind::FixedText);
    r.selectBlock(&block);
    r.inPlaceEditing = true;
    block.content()->selectAll();
    AC::Settings s = AC::currentSettings(r);
    s.effect = 41;
    s.textureFile = good;
    ASSERT_EQ(AC::apply(r, images, s, true), AC::Result::Applied);
    const QByteArray key = block.content()->item(0).style->textureKey;
    EXPECT_FALSE(key.isEmpty());
    EXPECT_TRUE(images.contains(key));
    // Textures are described as such, in no library category.
    EXPECT_EQ(images.descriptionOf(key).kind, 3);
    EXPECT_TRUE(images.descriptionOf(key).category.isEmpty());

    // OK without a new choice keeps the texture; another effect drops it.
    s = AC::currentSettings(r);
    EXPECT_EQ(s.textureKey, key);
    ASSERT_EQ(AC::apply(r, images, s, true), AC::Result::Applied);
    EXPECT_EQ(block.content()->item(0).style->textureKey, key);
    s.textureFile = broken;
    EXPECT_EQ(AC::apply(r, images, s, true), AC::Result::TextureNotAdded);
    EXPECT_EQ(block.content()->item(0).style->textureKey, key) << "nothing changes";
    s.effect = 5;
    ASSERT_EQ(AC::apply(r, images, s, true), AC::Result::Applied);
    EXPECT_TRUE(block.content()->item(0).style->textureKey.isEmpty());
}

TEST(ArtCommands, ConvertingGivesAnUnrotatedGraphicInTheOldBox) {
    registerBlockClasses();
    const struct {
        const char* name;
        bool vertical;
        bool rotate;
    } cases[] = {{"horizontal", false, false}, {"rotated", false, true}, {"vertical", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InfoRecord r;
        TextBlock& block = addText(r, BlockKind::FixedText, c.vertical ? "大促销" : "大促销 Sale");
        if (c.vertical) {
            block.content()->setVertical(true);
            block.content()->fitToFrame(true);
        }
        if (c.rotate) block.rotateTowards(block.frame.right, block.frame.top - 2000);
        const TwipsRect box = block.frame;
        r.selectBlock(&block);
        ASSERT_TRUE(AC::convert(r));
        TextBlock& b = static_cast<TextBlock&>(*r.blocks.front());
        ASSERT_TRUE(b.converted);
        ASSERT_NE(b.outline(), nullptr);
        EXPECT_EQ(b.content(), nullptr);
        EXPECT_EQ(b.outline()->pieces.size(), c.vertical ? 3u : 7u);
        EXPECT_EQ(b.corners().angle(), 0.0);
        EXPECT_EQ(b.outlineReferenceWidth, b.frame.width());
        EXPECT_EQ(b.outlineReferenceHeight, b.frame.height());
        EXPECT_GT(b.frame.width(), 0);
        EXPECT_GT(b.frame.height(), 0);
        if (!c.vertical) {
            EXPECT_EQ(b.frame.left, box.left);
            EXPECT_GE(b.frame.top, box.top);
            EXPECT_LE(b.frame.bottom, box.bottom);
        }
        EXPECT_GT(inkPixels(drawn(b)), 200);
        EXPECT_EQ(r.undoHistory.count(), 1);
        ASSERT_TRUE(r.undo());
        EXPECT_FALSE(static_cast<TextBlock&>(*r.blocks.front()).converted);
    }
}

// 文字图形化 keeps the look of the text: the outline takes the art settings of the text's
// first character when it knows that effect, and is plain otherwise.
TEST(ArtCommands, ConvertingKeepsTheArtEffectTheOutlineKnows) {
    registerBlockClasses();
    QTemporaryDir dir;
    const QString textureFile = dir.filePath("纹理-测试.png");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(textureFile));
    const struct {
        const char* name;
        int32_t effect;
        int32_t expected;
    } cases[] = {
        {"bordered", 6, 6}, {"pattern fill", 40, 40}, {"texture fill", 41, 41}, {"a warp", 20, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InfoRecord r;
        PictureStore images;
        TextBlock& block = addText(r, BlockKind::FixedText);
        r.selectBlock(&block);
        r.inPlaceEditing = true;
        block.content()->selectAll();
        AC::Settings s = AC::currentSettings(r);
        s.effect = c.effect;
        s.textColour = 0x0000FF;
        s.effectColour = 0x00FF00;
        s.size = 2;
        s.pattern = 7;
        if (c.effect == 41) s.textureFile = textureFile;
        ASSERT_EQ(AC::apply(r, images, s, true), AC::Result::Applied);
        auto& live = static_cast<TextBlock&>(*r.blocks.front());
        const QByteArray texture = live.content()->item(0).style->textureKey;
        EXPECT_EQ(texture.isEmpty(), c.effect != 41);
        live.content()->setSelection({0, true}, {0, true});
        r.inPlaceEditing = false;
        ASSERT_TRUE(AC::convert(r));
        const TextOutline& outline = *static_cast<TextBlock&>(*r.blocks.front()).outline();
        EXPECT_EQ(outline.textColour, 0x0000FF);
        EXPECT_EQ(outline.effect, c.expected);
        if (c.expected != 0) {
            EXPECT_EQ(outline.effectColour, 0x00FF00);
            EXPECT_EQ(outline.size, 2);
            EXPECT_EQ(outline.pattern, 7);
            EXPECT_EQ(outline.pictureKey, texture);
        }
    }
}

TEST(ArtCommands, ConvertedBlocksRoundTripEveryStoredForm) {
    registerBlockClasses();
    InfoRecord r;
    TextBlock& block = addText(r, BlockKind::FixedText, "中文 AB");
    ASSERT_TRUE(block.convertToGraphic());
    block.outline()->effect = 6;
    block.outline()->size = 2;
    const QImage before = drawn(block);
    for (int form = 0; form < 3; ++form) {
        SCOPED_TRACE(form);
        ArchiveWriter out;
        if (form == 0) block.storeSnapshot(out);
        if (form == 1) block.store(out);
        if (form == 2) block.storeTemplate(out);
        const QByteArray bytes = out.take();
        TextBlock copy;
        ArchiveReader in(bytes);
        PictureStore local, images;
        if (form == 0) copy.loadSnapshot(in);
        if (form == 1) copy.load(in);
        if (form == 2) copy.loadTemplate(in, local, images);
        ASSERT_TRUE(copy.converted);
        ASSERT_NE(copy.outline(), nullptr);
        EXPECT_EQ(copy.outline()->pieces, block.outline()->pieces);
        EXPECT_EQ(copy.outline()->effect, 6);
        EXPECT_EQ(copy.frame, block.frame);
        EXPECT_EQ(drawn(copy), before);
    }
}

TEST(ArtCommands, ConvertedBlockEditsItsOutlineEffect) {
    registerBlockClasses();
    InfoRecord r;
    PictureStore images;
    TextBlock& block = addText(r, BlockKind::FixedText);
    block.convertToGraphic();
    r.selectBlock(&block);
    AC::Settings s = AC::currentSettings(r);
    s.effect = 40;
    s.pattern = 32;
    ASSERT_EQ(AC::apply(r, images, s, true), AC::Result::Applied);
    TextBlock& b = static_cast<TextBlock&>(*r.blocks.front());
    EXPECT_EQ(b.outline()->effect, 40);
    EXPECT_EQ(b.outline()->pattern, 32);
    // Warps are not outline effects.
    s.effect = 20;
    EXPECT_EQ(AC::apply(r, images, s, true), AC::Result::Unchanged);
    EXPECT_EQ(r.undoHistory.count(), 1);
}

}  // namespace
