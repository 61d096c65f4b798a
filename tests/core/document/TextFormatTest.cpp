// The insertion commands' kinds and greying, and the text format commands' enable
// rules, effects and single undo steps.
#include <gtest/gtest.h>

#include "Bytes.h"
#include "TestBlock.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/InfoRecord.h"
#include "core/document/InsertCommands.h"
#include "core/document/TextFormat.h"
#include "core/text/PriceItem.h"
#include "core/text/RichText.h"

using namespace pemo;
namespace FC = FormatCommand;
namespace IC = InsertCommand;

namespace {

TextBlock& addText(InfoRecord& r, int32_t kind, const char* text = "价格") {
    const QByteArray bytes = BlockKind::isPrice(kind) ? QByteArray("12.50") : test::gbk(text);
    return static_cast<TextBlock&>(r.appendBlock(TextBlock::create(kind, {0, 0, 6000, 3000}, bytes, true)));
}

}  // namespace

TEST(InsertCommands, EveryIdArmsItsKind) {
    const struct {
        int id;
        int32_t kind;
    } cases[] = {
        {34201, 0x02020001}, {34205, 0x02020005}, {34210, 0x0202000A}, {34211, 0x04040001},
        {34221, 0x02010001}, {34222, 0x02010002}, {34241, 0x02010015}, {34251, 0x02040001},
        {34252, 0x02040002}, {34253, 0x02040003}, {34261, 0x02080001}, {34265, 0x02080005},
        {34266, 0x04020001}, {34267, 0x04020002}, {34200, 0},          {34212, 0},
        {34242, 0},          {34254, 0},          {34268, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(IC::kindOf(c.id), c.kind) << c.id;
    for (int id = IC::FirstPhrase; id <= IC::LastPhrase; ++id) {
        EXPECT_TRUE(BlockKind::isPhraseTool(IC::kindOf(id))) << id;
        EXPECT_TRUE(BlockKind::isText(IC::kindOf(id))) << id;
    }
}

TEST(InsertCommands, APlaceholderOnThePageIsGreyedPhrasesAndLogosNever) {
    test::useProgramBlocks();
    InfoRecord r;
    addText(r, BlockKind::OriginalPrice);
    addText(r, BlockKind::FirstVariable + 2);
    addText(r, BlockKind::FixedText);
    EXPECT_TRUE(IC::isGreyed(34251, r));
    EXPECT_FALSE(IC::isGreyed(34252, r));
    EXPECT_FALSE(IC::isGreyed(34253, r));
    EXPECT_TRUE(IC::isGreyed(34203, r));
    EXPECT_FALSE(IC::isGreyed(34201, r));
    EXPECT_FALSE(IC::isGreyed(34221, r)) << "phrases repeat";
    EXPECT_FALSE(IC::isGreyed(34266, r));
    EXPECT_FALSE(IC::isGreyed(34261, r));
}

// A variable or mall item chosen while fixed text is edited goes in at the caret, and
// the block shows that placeholder from then on; elsewhere the item places a new block.
TEST(InsertCommands, APlaceholderChosenWhileEditingGoesInAtTheCaret) {
    test::useProgramBlocks();
    const struct {
        const char* name;
        int32_t kind;
        bool editing;
        int id;
        bool inserted;
    } cases[] = {
        {"a variable into fixed text", BlockKind::FixedText, true, IC::FirstVariable + 5, true},
        {"a mall item into fixed text", BlockKind::FixedText, true, IC::FirstMallInfo, true},
        {"not while the block is only selected", BlockKind::FixedText, false, IC::FirstVariable + 5, false},
        {"not into a block of another variable", BlockKind::FirstVariable, true, IC::FirstVariable + 5, false},
        {"not into a price", BlockKind::CurrentPrice, true, IC::FirstVariable + 5, false},
        {"a phrase still places a block", BlockKind::FixedText, true, IC::FirstPhrase, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InfoRecord r;
        r.setValue(5, test::gbk("山东"));
        TextBlock& block = addText(r, c.kind, "产地：");
        r.selectBlock(&block);
        r.inPlaceEditing = c.editing;
        block.content()->caretTextEnd(false);
        PlaceholderSources sources;
        EXPECT_EQ(IC::insertAtCaret(c.id, r, false, sources), c.inserted);
        auto& now = static_cast<TextBlock&>(*r.blocks.front());
        if (!c.inserted) {
            EXPECT_EQ(now.kind, c.kind);
            EXPECT_EQ(r.undoHistory.count(), 0);
            continue;
        }
        const int32_t kind = IC::kindOf(c.id);
        EXPECT_EQ(now.kind, kind);
        if (c.id == IC::FirstVariable + 5) {
            EXPECT_EQ(now.content()->selectedText(), QByteArray()) << "the caret stays after the value";
            r.setValue(5, test::gbk("新疆"));
            r.refreshPlaceholder(kind, false, sources);
            now.content()->selectAll();
            EXPECT_EQ(now.content()->selectedText(), test::gbk("产地：新疆")) << "the block shows the record's value";
        }
        ASSERT_TRUE(r.undo());
        EXPECT_EQ(r.blocks.front()->kind, c.kind) << "one undo step";
    }
}

TEST(TextFormat, EnableRulesFollowTheSelectionAndEditing) {
    test::useProgramBlocks();
    InfoRecord r;
    TextBlock& fixed = addText(r, BlockKind::FixedText);
    TextBlock& price = addText(r, BlockKind::CurrentPrice);
    const int character[] = {FC::Bold, FC::Italic, FC::Underline, FC::ChineseFace, FC::FirstCharSpacing};
    // Size and colour also go to all the text of a block selected as a whole.
    const int sizeAndColour[] = {FC::TextColour, FC::Size};
    const int block[] = {FC::Fill, FC::Left, FC::Centre, FC::Right, FC::FirstLineSpacing};
    const struct {
        const char* name;
        std::vector<Block*> selection;
        bool editing;
        bool characters, wholeText, blocks, vertical, priceFormat;
    } cases[] = {
        {"nothing selected", {}, false, false, false, false, false, false},
        {"one text block", {&fixed}, false, false, true, true, true, false},
        {"editing text", {&fixed}, true, true, true, true, true, false},
        {"one price block", {&price}, false, false, true, true, false, true},
        {"two blocks", {&fixed, &price}, false, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        r.clearSelection();
        for (Block* b : c.selection) r.selectBlock(b);
        r.inPlaceEditing = c.editing;
        for (int id : character) EXPECT_EQ(FC::isEnabled(id, r), c.characters) << id;
        for (int id : sizeAndColour) EXPECT_EQ(FC::isEnabled(id, r), c.wholeText) << id;
        for (int id : block) EXPECT_EQ(FC::isEnabled(id, r), c.blocks) << id;
        EXPECT_EQ(FC::isEnabled(FC::Vertical, r), c.vertical);
        EXPECT_EQ(FC::isEnabled(FC::PriceFormat, r), c.priceFormat);
        EXPECT_TRUE(FC::isEnabled(FC::AutoFit, r));
    }
}

TEST(TextFormat, EachCommandChangesTheBlockInOneUndoStep) {
    test::useProgramBlocks();
    const struct {
        const char* name;
        int32_t kind;
        bool editing;
        std::function<bool(InfoRecord&)> run;
        std::function<bool(const TextBlock&)> done;
    } cases[] = {
        {"bold", BlockKind::FixedText, true, [](InfoRecord& r) { return FC::run(FC::Bold, r, true); },
         [](const TextBlock& b) { return b.content()->item(0).style->bold == 1; }},
        {"spacing 100", BlockKind::FixedText, true,
         [](InfoRecord& r) { return FC::run(FC::FirstCharSpacing + 4, r, true); },
         [](const TextBlock& b) { return b.content()->item(1).style->charSpacing == 100; }},
        {"colour", BlockKind::FixedText, true,
         [](InfoRecord& r) { return FC::applyTextColour(r, 0x0000FF, true); },
         [](const TextBlock& b) { return b.content()->item(0).style->textColour == 0x0000FF; }},
        {"face", BlockKind::FixedText, true,
         [](InfoRecord& r) { return FC::applyFace(FC::ChineseFace, r, test::gbk("黑体"), true); },
         [](const TextBlock& b) { return b.content()->item(0).style->chineseFace == test::gbk("黑体"); }},
        {"size clamped", BlockKind::FixedText, true, [](InfoRecord& r) { return FC::applySize(r, 999, false); },
         [](const TextBlock& b) { return b.content()->item(0).style->size == 360; }},
        {"small size", BlockKind::FixedText, true, [](InfoRecord& r) { return FC::applySize(r, 9, false); },
         [](const TextBlock& b) { return b.content()->item(0).style->size == 9; }},
        {"size clamped below", BlockKind::FixedText, true, [](InfoRecord& r) { return FC::applySize(r, 2, false); },
         [](const TextBlock& b) { return b.content()->item(0).style->size == 5; }},
        {"size of a block chosen whole", BlockKind::FixedText, false,
         [](InfoRecord& r) { return FC::applySize(r, 9, false); },
         [](const TextBlock& b) {
             const RichText& t = *b.content();
             for (int i = 0; i < t.itemCount(); ++i)
                 if (t.item(i).style->size != 9) return false;
             return t.typingStyle->size == 9;
         }},
        {"colour of a price chosen whole", BlockKind::CurrentPrice, false,
         [](InfoRecord& r) { return FC::applyTextColour(r, 0x00FF00, true); },
         [](const TextBlock& b) {
             const PriceItem* p = const_cast<TextBlock&>(b).content()->firstPriceItem(b.kind);
             return p && p->style->textColour == 0x00FF00;
         }},
        {"centre", BlockKind::FixedText, false, [](InfoRecord& r) { return FC::run(FC::Centre, r, true); },
         [](const TextBlock& b) { return b.content()->alignment() == RichText::Centre; }},
        {"line spacing 150", BlockKind::FixedText, false,
         [](InfoRecord& r) { return FC::run(FC::LastLineSpacing, r, true); },
         [](const TextBlock& b) { return b.content()->lineSpacing() == 150; }},
        {"vertical", BlockKind::FixedText, false, [](InfoRecord& r) { return FC::run(FC::Vertical, r, true); },
         [](const TextBlock& b) { return b.content()->isVertical(); }},
        {"price format", BlockKind::CurrentPrice, false,
         [](InfoRecord& r) { return FC::applyPriceFormat(r, 9, 0x00FF00, true); },
         [](const TextBlock& b) {
             const PriceItem* p = const_cast<TextBlock&>(b).content()->firstPriceItem(b.kind);
             return p && p->priceStyle == 9 && p->lineColour == 0x00FF00;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InfoRecord r;
        TextBlock& block = addText(r, c.kind);
        r.selectBlock(&block);
        r.inPlaceEditing = c.editing;
        if (c.editing) block.content()->selectAll();
        ASSERT_TRUE(c.run(r));
        EXPECT_TRUE(c.done(static_cast<TextBlock&>(*r.blocks.front())));
        EXPECT_EQ(r.undoHistory.count(), 1);
        ASSERT_TRUE(r.undo());
        EXPECT_FALSE(c.done(static_cast<TextBlock&>(*r.blocks.front()))) << "undone in one step";
    }
    // Character commands wait for editing; nothing changes, nothing is stored.
    InfoRecord r;
    TextBlock& block = addText(r, BlockKind::FixedText);
    r.selectBlock(&block);
    EXPECT_FALSE(FC::run(FC::Bold, r, true));
    EXPECT_EQ(r.undoHistory.count(), 0);
}
