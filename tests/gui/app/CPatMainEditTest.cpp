#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "ScriptedMessages.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/records/RecordGrid.h"
#include "gui/view/CPatView.h"

using namespace pemo;

// The 编辑 commands' keys, and their states following the canvas without the menu
// being opened, so that the keys work right after an edit.
TEST(CPatMain, EditCommandsKeysAndStates) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    const std::pair<int, QKeySequence> keys[] = {
        {34001, QKeySequence(Qt::CTRL | Qt::Key_Z)}, {34002, QKeySequence(Qt::CTRL | Qt::Key_Y)},
        {34003, QKeySequence(Qt::CTRL | Qt::Key_X)}, {34004, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {34005, QKeySequence(Qt::CTRL | Qt::Key_V)}, {34006, QKeySequence()},
        {34007, QKeySequence(Qt::CTRL | Qt::Key_A)}, {34020, QKeySequence()},
    };
    for (const auto& [id, key] : keys) {
        SCOPED_TRACE(id);
        ASSERT_NE(main.action(id), nullptr);
        EXPECT_EQ(main.action(id)->shortcut(), key);
    }

    InfoRecord& record = *doc.currentRecord();
    Block& block = record.appendBlock(
        TextBlock::create(BlockKind::FixedText, TwipsRect{1000, 1000, 2000, 2000}, "A", true));
    record.selectBlock(&block);
    main.view()->canvas()->refresh();
    EXPECT_FALSE(main.action(34001)->isEnabled());
    EXPECT_TRUE(main.action(34004)->isEnabled());
    EXPECT_TRUE(main.action(34013)->isEnabled());  // 左框对齐
    EXPECT_FALSE(main.action(32944)->isEnabled());  // 左边框对齐 needs two blocks

    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(main.view()->canvas(), &right);
    ASSERT_GT(record.blocks.front()->frame.left, 1000);
    ASSERT_TRUE(main.action(34001)->isEnabled());
    main.action(34001)->trigger();
    EXPECT_EQ(doc.currentRecord()->blocks.front()->frame.left, 1000);
    EXPECT_TRUE(main.action(34002)->isEnabled());

    main.action(34020)->trigger();  // 锁定
    EXPECT_TRUE(doc.currentRecord()->blocks.front()->locked);
    EXPECT_TRUE(main.action(34020)->isChecked());
}

// The picture commands sit in the 对象 menu.
TEST(CPatMain, ObjectMenuHoldsThePictureCommands) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    QStringList texts;
    for (QAction* menu : main.menuBar()->actions()) {
        if (menu->text() != QString::fromUtf8("对象(&O)") || !menu->menu()) continue;
        for (QAction* a : menu->menu()->actions()) texts << a->text();
    }
    for (const char* name : {"变量信息(&V)", "常用文字(&T)", "商场信息(&H)", "价格信息(&J)", "价格格式(&P)",
                             "插入图象(&G)", "商场Logo1", "商场Logo2", "商品图片"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(name))) << name;
    }
}

// 编辑 → 撤消 takes back a paste into the grid whole while it is the last change of the
// record shown; on a record changed since, or not pasted into, it undoes that record.
TEST(CPatMain, UndoTakesBackTheLastPasteWhole) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    RecordGrid& grid = *main.recordGrid();
    constexpr int kNameColumn = 2;
    const auto paste = [&](const QString& text, int row) {
        QApplication::clipboard()->setText(text);
        grid.placeCursor(row, kNameColumn);
        QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    };
    paste(QStringLiteral("a\nb\nc\n"), 0);
    ASSERT_EQ(doc.recordCount(), 3);
    doc.setCurrentIndex(1);
    ASSERT_TRUE(main.action(34001)->isEnabled());
    main.action(34001)->trigger();
    EXPECT_EQ(doc.recordCount(), 1);
    EXPECT_TRUE(doc.records.front()->value(0).isEmpty());

    paste(QStringLiteral("x\ny\n"), 0);
    ASSERT_EQ(doc.recordCount(), 2);
    doc.setCurrentIndex(0);
    InfoRecord& first = *doc.currentRecord();
    first.takeUndoSnapshot();
    first.setValue(1, "changed later");
    main.action(34001)->trigger();
    EXPECT_EQ(doc.recordCount(), 2);  // the paste stays; the later change went
    EXPECT_EQ(doc.records[0]->value(0), "x");
    EXPECT_TRUE(doc.records[0]->value(1).isEmpty());
}

// 编辑 → 恢复 after a paste was taken back puts the whole paste back, not only the
// record shown's share of it.
TEST(CPatMain, RedoPutsBackTheWholePaste) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    doc.records.front()->setValue(0, "old");
    RecordGrid& grid = *main.recordGrid();
    constexpr int kNameColumn = 2;
    QAction* undo = main.action(34001);
    QAction* redo = main.action(34002);
    QApplication::clipboard()->setText(QStringLiteral("a\nb\nc\n"));
    grid.placeCursor(0, kNameColumn);
    test::ScriptedMessages answers{Messages::Answer::Yes};  // replacing "old"
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(doc.recordCount(), 3);
    undo->trigger();
    ASSERT_EQ(doc.recordCount(), 1);
    ASSERT_EQ(doc.records[0]->value(0), "old");

    ASSERT_TRUE(redo->isEnabled());
    redo->trigger();
    ASSERT_EQ(doc.recordCount(), 3);
    EXPECT_EQ(doc.records[0]->value(0), "a");
    EXPECT_EQ(doc.records[2]->value(0), "c");
    // …and it can be taken back again, whole.
    undo->trigger();
    EXPECT_EQ(doc.recordCount(), 1);
    EXPECT_EQ(doc.records[0]->value(0), "old");

    // Once something else has changed, the paste is not put back, nor a share of it.
    doc.records[0]->takeUndoSnapshot();
    doc.records[0]->setValue(1, "later");
    doc.notify(CPatDoc::Change::Page);
    EXPECT_FALSE(redo->isEnabled());
    redo->trigger();
    EXPECT_EQ(doc.recordCount(), 1);
    EXPECT_EQ(doc.records[0]->value(0), "old");
}
