#include <gtest/gtest.h>

#include "Bytes.h"
#include "ScriptedMessages.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/document/CPatDoc.h"
#include "core/document/EditCommands.h"

using namespace pemo;
namespace EC = EditCommand;
using pemo::test::gbk;

namespace {

class EditCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        BlockFactory::setCreator(BlockKind::TextBit, [] { return std::make_unique<TextBlock>(); });
        doc.newDocument();
        page = doc.currentRecord();
    }

    TextBlock& add(int32_t kind, TwipsRect rect, bool select = true) {
        auto block = TextBlock::create(kind, rect, page->placeholderText(kind, false, {}), true);
        Block& b = page->appendBlock(std::move(block));
        if (select) page->selectBlock(&b);
        return static_cast<TextBlock&>(b);
    }

    CPatDoc doc;
    InfoRecord* page = nullptr;
};

}  // namespace

TEST_F(EditCommandsTest, PasteIntoTheSamePageDropsUniqueKindsAndSaysSo) {
    add(BlockKind::OriginalPrice, {1000, 2000, 3000, 3000});
    add(BlockKind::FixedText, {1500, 2500, 4000, 4000});
    const QByteArray clip = EditCommands::copySelection(*page, doc);
    const QString message = EditCommands::paste(*page, doc, clip, false);
    EXPECT_EQ(message, QString::fromUtf8("已有{原价}, 剪贴板中{原价}被忽略。\n"));
    ASSERT_EQ(page->blocks.size(), 3u);
    // The kept block lands where it was copied from, and is the only one selected.
    EXPECT_EQ(page->blocks[2]->frame, (TwipsRect{1500, 2500, 4000, 4000}));
    ASSERT_EQ(page->selection.size(), 1u);
    EXPECT_EQ(page->selection[0], page->blocks[2].get());
    EXPECT_TRUE(page->undo());
    EXPECT_EQ(page->blocks.size(), 2u);
}

TEST_F(EditCommandsTest, PasteIntoALargerPageScalesTheGroup) {
    add(BlockKind::FixedText, {1000, 2000, 3000, 3000});
    add(BlockKind::FirstVariable, {2000, 4000, 5000, 6000});
    const QByteArray clip = EditCommands::copySelection(*page, doc);
    // The origin is the smallest left and top of the copied blocks.
    page->clearBlocks();
    page->resizePage(280, 400);
    EXPECT_TRUE(EditCommands::paste(*page, doc, clip, false).isEmpty());
    ASSERT_EQ(page->blocks.size(), 2u);
    const double sx = 280.0 / 190, sy = 400.0 / 280;
    // Relative to the origin, then scaled: the group keeps its arrangement from the
    // page's top-left corner.
    EXPECT_EQ(page->blocks[0]->frame.left, static_cast<int>(0 * sx));
    EXPECT_EQ(page->blocks[1]->frame.left, static_cast<int>(1000 * sx));
    EXPECT_EQ(page->blocks[1]->frame.top, static_cast<int>(2000 * sy));
}

TEST_F(EditCommandsTest, ADamagedClipboardStreamPastesNothing) {
    add(BlockKind::FixedText, {1000, 2000, 3000, 3000});
    const QByteArray clip = EditCommands::copySelection(*page, doc);
    const size_t before = page->blocks.size();
    const int undoBefore = page->undoHistory.count();
    for (qsizetype cut : {qsizetype(0), qsizetype(3), clip.size() / 2, clip.size() - 1}) {
        EXPECT_THROW(EditCommands::paste(*page, doc, clip.left(cut), false), FormatError);
        EXPECT_EQ(page->blocks.size(), before);
        EXPECT_EQ(page->undoHistory.count(), undoBefore);
    }
}

TEST_F(EditCommandsTest, AlignmentSkipsLockedBlocks) {
    TextBlock& locked = add(BlockKind::FixedText, {1000, 500, 2000, 900});
    locked.locked = true;
    TextBlock& a = add(BlockKind::FixedText, {3000, 800, 4000, 1200});
    TextBlock& b = add(BlockKind::FixedText, {5000, 1500, 6000, 1900});
    ASSERT_TRUE(EditCommands::run(EC::TopEdges, *page));
    EXPECT_EQ(locked.frame.top, 500);
    EXPECT_EQ(a.frame.top, 800);
    EXPECT_EQ(b.frame.top, 800);
    ASSERT_TRUE(EditCommands::run(EC::CentreHorizontally, *page));
    EXPECT_EQ(a.frame.left, (3000 + page->widthTw - 4000) / 2);
    EXPECT_EQ(locked.frame.left, 1000);
}

TEST_F(EditCommandsTest, LockTakesTheOppositeOfTheFirstSelected) {
    TextBlock& first = add(BlockKind::FixedText, {0, 0, 100, 100});
    first.locked = true;
    TextBlock& second = add(BlockKind::FixedText, {0, 0, 100, 100});
    EXPECT_TRUE(EditCommands::isChecked(EC::Lock, *page));
    ASSERT_TRUE(EditCommands::run(EC::Lock, *page));
    EXPECT_FALSE(first.locked);
    EXPECT_FALSE(second.locked);
}

TEST_F(EditCommandsTest, ToBottomPutsTheLastSelectedFirst) {
    add(BlockKind::FixedText, {0, 0, 100, 100}, false);
    TextBlock& a = add(BlockKind::FixedText, {0, 0, 100, 100});
    TextBlock& b = add(BlockKind::FixedText, {0, 0, 100, 100});
    ASSERT_TRUE(EditCommands::run(EC::ToBottom, *page));
    EXPECT_EQ(page->blocks[0].get(), &b);
    EXPECT_EQ(page->blocks[1].get(), &a);
    EXPECT_EQ(a.layer, 0);
    EXPECT_EQ(b.layer, 0);
    EXPECT_FALSE(EditCommands::isEnabled(EC::LayerDown, *page));
}

TEST_F(EditCommandsTest, UndoAndRedoAlternate) {
    add(BlockKind::FixedText, {0, 0, 1000, 1000});
    ASSERT_TRUE(EditCommands::run(EC::AlignRight, *page));
    const int32_t moved = page->blocks[0]->frame.left;
    ASSERT_TRUE(page->undo());
    EXPECT_EQ(page->blocks[0]->frame.left, 0);
    ASSERT_TRUE(page->redo());
    EXPECT_EQ(page->blocks[0]->frame.left, moved);
    EXPECT_FALSE(EditCommands::isEnabled(EC::Redo, *page));
    ASSERT_TRUE(page->undo());
    EXPECT_EQ(page->blocks[0]->frame.left, 0);
}

TEST_F(EditCommandsTest, DeleteRemovesTheSelection) {
    add(BlockKind::FixedText, {0, 0, 100, 100}, false);
    add(BlockKind::FixedText, {0, 0, 100, 100});
    add(BlockKind::FixedText, {0, 0, 100, 100});
    EditCommands::deleteSelection(*page);
    EXPECT_EQ(page->blocks.size(), 1u);
    EXPECT_TRUE(page->selection.empty());
}
