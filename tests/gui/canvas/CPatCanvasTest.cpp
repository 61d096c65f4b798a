#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>

#include "ScriptedMessages.h"
#include "TestBlock.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/blocks/Twips.h"
#include "gui/canvas/CPatCanvas.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/EditCommands.h"
#include "core/text/RichText.h"
#include "gui/view/CPatView.h"

using namespace pemo;

namespace {

class CPatCanvasTest : public testing::Test {
protected:
    void SetUp() override {
        doc.newDocument();
        view = std::make_unique<CPatView>(doc);
        view->resize(600, 800);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->showCurrentRecord();
        canvas = view->canvas();
    }

    InfoRecord& record() { return *doc.currentRecord(); }

    TextBlock& addText(const TwipsRect& frame, const char* utf8 = "AB") {
        auto block =
            TextBlock::create(BlockKind::FixedText, frame, Gbk::fromUnicode(QString::fromUtf8(utf8)), true);
        return static_cast<TextBlock&>(record().appendBlock(std::move(block)));
    }

    QPoint device(QPoint twips) const {
        return QPoint(toDevice(twips.x(), view->pixelsPerInch(), view->zoom()),
                      toDevice(twips.y(), view->pixelsPerInch(), view->zoom()));
    }
    QPoint centre(const Block& b) const {
        return device(QPoint((b.frame.left + b.frame.right) / 2, (b.frame.top + b.frame.bottom) / 2));
    }
    QPoint grip(const Block& b, int32_t id) const {
        for (const auto& h : b.handles()) {
            if (h->id == id) return device(QPoint(h->x, h->y));
        }
        ADD_FAILURE() << "no grip " << id;
        return QPoint();
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, QPointF(at), QPointF(canvas->mapToGlobal(at)), button, buttons,
                          modifiers);
        QApplication::sendEvent(canvas, &event);
    }
    // Press, a few moves on the way, release.
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
        for (int i = 1; i <= 4; ++i) {
            mouse(QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, Qt::LeftButton,
                  modifiers);
        }
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    void click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { drag(at, at, modifiers); }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, k, modifiers, text);
        QApplication::sendEvent(canvas, &event);
    }
    int undoSteps() {
        int steps = 0;
        while (canvas->isCommandEnabled(EditCommand::Undo) && steps < 100) {
            canvas->runCommand(EditCommand::Undo);
            ++steps;
        }
        return steps;
    }

    CPatDoc doc;
    std::unique_ptr<CPatView> view;
    CPatCanvas* canvas = nullptr;
};

}  // namespace

TEST_F(CPatCanvasTest, DragLimitsKeepBlocksOnOrNearThePage) {
    const int32_t W = record().widthTw;
    const int32_t H = record().heightTw;
    struct Case {
        const char* name;
        QPoint pull;  // far beyond the page, in pixels
        TwipsRect single;
    } cases[] = {
        {"left and up", {-5000, -5000}, {-1500, -750, 500, 250}},
        {"right and down", {5000, 5000}, {W - 500, H - 250, W + 1500, H + 750}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        record().clearBlocks();
        TextBlock& block = addText({1000, 1000, 3000, 2000});
        drag(centre(block), centre(block) + c.pull);
        // Three quarters of its own size may leave the page, no more.
        EXPECT_EQ(block.frame, c.single);
        EXPECT_EQ(record().selection.size(), 1u);
    }

    // A group stays on the page as a whole.
    record().clearBlocks();
    TextBlock& a = addText({1000, 1000, 2000, 2000});
    TextBlock& b = addText({3000, 1500, 4000, 2500});
    record().selectBlock(&a);
    record().selectBlock(&b);
    drag(centre(a), centre(a) + QPoint(-5000, -5000));
    EXPECT_EQ(a.frame.left, 0);
    EXPECT_EQ(a.frame.top, 0);
    EXPECT_EQ(b.frame.left, 2000);
    EXPECT_EQ(b.frame.top, 500);
}

TEST_F(CPatCanvasTest, EveryDragIsOneUndoStep) {
    TextBlock& block = addText({1000, 1000, 3000, 2000});
    const TwipsRect start = block.frame;

    // Pressing on an unselected block and dragging moves it at once.
    drag(centre(block), centre(block) + QPoint(40, 30));
    ASSERT_NE(block.frame, start);
    EXPECT_TRUE(doc.isModified());
    // A second drag, now on the selected block, with many small moves.
    drag(centre(block), centre(block) + QPoint(20, 10));
    const TwipsRect moved = block.frame;
    // A corner grip drag.
    drag(grip(block, BlockHandle::BottomRight), grip(block, BlockHandle::BottomRight) + QPoint(30, 20));
    const TwipsRect resized = record().blocks.front()->frame;
    EXPECT_GT(resized.width(), moved.width());

    canvas->runCommand(EditCommand::Undo);
    EXPECT_EQ(record().blocks.front()->frame, moved);
    canvas->runCommand(EditCommand::Undo);
    canvas->runCommand(EditCommand::Undo);
    EXPECT_EQ(record().blocks.front()->frame, start);
    EXPECT_FALSE(canvas->isCommandEnabled(EditCommand::Undo));

    // A click without a move is no undo step.
    record().resetUndo();
    click(centre(*record().blocks.front()));
    EXPECT_FALSE(canvas->isCommandEnabled(EditCommand::Undo));
}

TEST_F(CPatCanvasTest, ResizingStopsAtTheSmallestFrame) {
    struct Case {
        bool text;
        int32_t grip;
        QPoint pull;
        int32_t width, height;
    } cases[] = {
        // A text corner grip past the opposite corner leaves 100 twips.
        {true, BlockHandle::BottomRight, {-400, -400}, 100, 100},
        // The top-right grip of live text leaves 200 twips.
        {true, BlockHandle::TopRight, {-400, 400}, 200, 200},
        // A graphic's grips past the opposite edge leave 100 twips.
        {false, BlockHandle::MiddleLeft, {400, 0}, 100, 1000},
        {false, BlockHandle::TopLeft, {400, 400}, 100, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grip);
        record().clearBlocks();
        const TwipsRect start{1000, 1000, 3000, 2000};
        Block& block = c.text ? static_cast<Block&>(addText(start))
                              : record().appendBlock(test::makeBlock(BlockKind::Rectangle, start));
        record().selectBlock(&block);
        const QPoint from = grip(block, c.grip);
        drag(from, from + c.pull);
        if (c.text) {
            EXPECT_EQ(block.sizeWidth, c.width);
            EXPECT_EQ(block.sizeHeight, c.height);
        } else {
            EXPECT_EQ(block.frame.width(), c.width);
            EXPECT_EQ(block.frame.height(), c.height);
        }
    }
}

TEST_F(CPatCanvasTest, LockedBlocksStayButAreSelectedByTheBand) {
    TextBlock& block = addText({1000, 1000, 3000, 2000});
    block.locked = true;
    drag(centre(block), centre(block) + QPoint(50, 50));
    EXPECT_EQ(block.frame, (TwipsRect{1000, 1000, 3000, 2000}));

    record().clearSelection();
    drag(device({500, 500}), device({3500, 2500}));
    ASSERT_EQ(record().selection.size(), 1u);
    key(Qt::Key_Delete);
    EXPECT_TRUE(record().blocks.empty());
}

TEST_F(CPatCanvasTest, ShiftClickTogglesAndTheArrowKeysNeedASelection) {
    TextBlock& a = addText({1000, 1000, 2000, 2000});
    TextBlock& b = addText({3000, 1000, 4000, 2000});
    click(centre(a));
    click(centre(b), Qt::ShiftModifier);
    EXPECT_EQ(record().selection.size(), 2u);
    click(centre(a), Qt::ShiftModifier);
    ASSERT_EQ(record().selection.size(), 1u);
    EXPECT_EQ(record().selection.front(), &b);

    key(Qt::Key_Escape);
    EXPECT_TRUE(record().selection.empty());
    record().resetUndo();
    doc.setModified(false);
    for (int k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home}) key(k);
    EXPECT_EQ(a.frame, (TwipsRect{1000, 1000, 2000, 2000}));
    EXPECT_EQ(b.frame, (TwipsRect{3000, 1000, 4000, 2000}));
    EXPECT_FALSE(canvas->isCommandEnabled(EditCommand::Undo));
    EXPECT_FALSE(doc.isModified());
}

TEST_F(CPatCanvasTest, ARunOfNudgesIsOneUndoStep) {
    TextBlock& block = addText({1000, 1000, 2000, 2000});
    record().selectBlock(&block);
    const int step = toTwips(1, view->zoom(), view->pixelsPerInch());
    drag(device({1500, 1500}), device({2500, 1500}));  // one step of its own
    const TwipsRect dragged = record().blocks.front()->frame;
    ASSERT_NE(dragged.left, 1000);
    for (int i = 0; i < 31; ++i) key(Qt::Key_Right);
    EXPECT_EQ(record().blocks.front()->frame.left, dragged.left + 31 * step);

    // Thirty-one nudges are one step: the drag before them stays in the history.
    canvas->runCommand(EditCommand::Undo);
    EXPECT_EQ(record().blocks.front()->frame, dragged);
    canvas->runCommand(EditCommand::Undo);
    EXPECT_EQ(record().blocks.front()->frame.left, 1000);
    canvas->runCommand(EditCommand::Redo);
    // A nudge after an undo starts a run of its own.
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    canvas->runCommand(EditCommand::Undo);
    EXPECT_EQ(record().blocks.front()->frame, dragged);
}

TEST_F(CPatCanvasTest, TheTextToolPlacesABlockToTypeInto) {
    test::ScriptedMessages messages;
    view->setArmedTool(BlockKind::FixedText);
    drag(device({1000, 1000}), device({4000, 2500}));
    ASSERT_EQ(record().blocks.size(), 1u);
    EXPECT_EQ(view->armedTool(), BlockKind::SelectionTool);
    TextBlock* block = canvas->editedBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(block->plainText().isEmpty());

    // One double-byte character from the input method, one from a key: two steps.
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("价"));
    QApplication::sendEvent(canvas, &commit);
    key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("格"));
    EXPECT_EQ(Gbk::toUnicode(block->plainText()), QString::fromUtf8("价格"));
    // A character GBK cannot hold is refused with a message.
    key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("😀"));
    EXPECT_EQ(messages.informed.size(), 1);
    EXPECT_EQ(Gbk::toUnicode(block->plainText()), QString::fromUtf8("价格"));

    canvas->runCommand(EditCommand::Undo);
    ASSERT_NE(canvas->editedBlock(), nullptr);
    EXPECT_EQ(Gbk::toUnicode(canvas->editedBlock()->plainText()), QString::fromUtf8("价"));
    canvas->runCommand(EditCommand::Undo);
    EXPECT_TRUE(record().blocks.front()->plainText().isEmpty());
    canvas->runCommand(EditCommand::Undo);
    EXPECT_TRUE(record().blocks.empty());
}

TEST_F(CPatCanvasTest, PastingOntoALargerPageScalesTheBlocks) {
    test::ScriptedMessages messages;
    TextBlock& block = addText({1000, 1000, 3000, 2000});
    record().selectBlock(&block);
    canvas->runCommand(EditCommand::Copy);
    EXPECT_TRUE(canvas->isCommandEnabled(EditCommand::Paste));

    auto second = doc.newRecord();
    second->resizePage(record().widthMm * 2, record().heightMm * 2);
    doc.records.push_back(std::move(second));
    ASSERT_TRUE(doc.setCurrentIndex(1));
    canvas->runCommand(EditCommand::Paste);
    ASSERT_EQ(record().blocks.size(), 1u);
    // Scaled with the page, the group keeps its place relative to the top-left corner.
    const TwipsRect pasted = record().blocks.front()->frame;
    EXPECT_EQ(pasted.left, 0);
    EXPECT_EQ(pasted.top, 0);
    EXPECT_NEAR(pasted.width(), 4000, 4);
    EXPECT_NEAR(pasted.height(), 2000, 4);
    EXPECT_EQ(record().selection.size(), 1u);
    EXPECT_TRUE(messages.informed.isEmpty());
    EXPECT_TRUE(canvas->isCommandEnabled(EditCommand::Undo));

    // On a page of the source's size it lands where it was copied from.
    ASSERT_TRUE(doc.setCurrentIndex(0));
    canvas->runCommand(EditCommand::Paste);
    ASSERT_EQ(record().blocks.size(), 2u);
    EXPECT_EQ(record().blocks.back()->frame, (TwipsRect{1000, 1000, 3000, 2000}));
    ASSERT_TRUE(doc.setCurrentIndex(1));

    // A damaged stream says so and pastes nothing.
    auto* damaged = new QMimeData;
    damaged->setData(QString::fromLatin1(EditCommands::kClipboardMime), QByteArray("\x01\x00", 2));
    QApplication::clipboard()->setMimeData(damaged);
    canvas->runCommand(EditCommand::Paste);
    EXPECT_EQ(record().blocks.size(), 1u);
    EXPECT_EQ(messages.informed.size(), 1);
}

TEST_F(CPatCanvasTest, DoubleClickEditsTextAndOtherwiseActsAsAPress) {
    TextBlock& block = addText({1000, 1000, 3000, 2000});
    mouse(QEvent::MouseButtonPress, centre(block), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(block), Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, centre(block), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(block), Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(canvas->editedBlock(), &block);

    // While editing, the commands act on the text: plain text goes to the clipboard.
    canvas->runCommand(EditCommand::SelectAll);
    ASSERT_TRUE(canvas->isCommandEnabled(EditCommand::Copy));
    canvas->runCommand(EditCommand::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("AB"));
    EXPECT_EQ(record().blocks.size(), 1u);

    // A double click on the empty page: the second press starts the band and ends editing.
    const QPoint empty = device({500, 500});
    mouse(QEvent::MouseButtonPress, empty, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, empty, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(canvas->editedBlock(), nullptr);
    mouse(QEvent::MouseButtonDblClick, empty, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, device({3500, 2500}), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, device({3500, 2500}), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(record().selection.size(), 1u);
    EXPECT_EQ(canvas->editedBlock(), nullptr);

    // Ctrl-click edits at once, without an undo step.
    record().resetUndo();
    click(centre(block), Qt::ControlModifier);
    EXPECT_EQ(canvas->editedBlock(), &block);
    EXPECT_FALSE(canvas->isCommandEnabled(EditCommand::Undo));
}

TEST_F(CPatCanvasTest, TypedTextStaysInsideItsFrame) {
    for (bool autoFit : {true, false}) {
        SCOPED_TRACE(autoFit);
        view->setAutoFit(autoFit);
        record().clearBlocks();
        view->setArmedTool(BlockKind::FixedText);
        drag(device({1000, 1000}), device({6000, 5000}));
        TextBlock* block = canvas->editedBlock();
        ASSERT_NE(block, nullptr);
        for (int i = 0; i < 60; ++i) key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("价"));
        const RichText& text = *block->content();
        if (autoFit) {
            EXPECT_LE(text.extent(), text.isVertical() ? text.frameWidth() : text.frameHeight());
        } else {
            EXPECT_GT(text.extent(), text.frameHeight()) << "without 自动排版 the size stays";
        }
        canvas->stopEditing();
    }
    view->setAutoFit(true);
}
