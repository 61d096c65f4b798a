// The 信息 menu's group on its own, in a window of the test's: what it asks of the window
// through its hooks, and the two list commands that stand in other menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "ScriptedMessages.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"
#include "gui/records/RecordFindDialog.h"
#include "gui/records/RecordGrid.h"
#include "gui/records/RecordMenu.h"

using namespace pemo;
namespace RC = RecordCommand;

namespace {

class RecordMenuTest : public testing::Test {
protected:
    void SetUp() override {
        doc.newDocument();
        menu.commandsChanged = [this] {
            ++changes;
            menu.update();
        };
        menu.openInsertPopup = [this] { ++popups; };
        menu.templateMode = [] { return false; };
        menu.addTo(window.menuBar());
    }

    QList<QAction*> shownItems() const {
        return window.menuBar()->actions().front()->menu()->actions();
    }

    CPatDoc doc;
    QMainWindow window;
    RecordGrid grid{doc};
    RecordFindDialog find{doc, grid};
    RecordMenu menu{doc, grid, find, &window};
    int changes = 0;
    int popups = 0;
};

}  // namespace

TEST_F(RecordMenuTest, CommandsTellTheWindowAndFollowTheListsRules) {
    test::ScriptedMessages answers{Messages::Answer::Yes};  // 删除4项空信息?
    const struct {
        int id;
        int records;  // after the command
        bool deleteEnabled;
    } steps[] = {
        {RC::InsertFirst + 2, 4, true},  // 信息插入(3条)
        {RC::Last, 4, true},
        {RC::DeleteEmpty, 1, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.id);
        const int before = changes;
        menu.run(step.id);
        EXPECT_EQ(doc.recordCount(), step.records);
        EXPECT_EQ(changes, before + 1);
        EXPECT_EQ(menu.action(RC::Delete)->isEnabled(), step.deleteEnabled);
    }
    // 信息插入 itself opens its list, under the toolbar button the window knows of.
    menu.run(RC::InsertMenu);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(doc.recordCount(), 1);
}

// 应用到所有信息 and 信息打印 are made here but shown elsewhere, and enabled by the same rules.
TEST_F(RecordMenuTest, TheCommandsShownElsewhereAreKeptButNotShownHere) {
    for (const int id : {RC::ApplyDesign, RC::PrintList}) {
        SCOPED_TRACE(id);
        QAction* command = menu.action(id);
        ASSERT_NE(command, nullptr);
        EXPECT_FALSE(shownItems().contains(command));
    }
    menu.update();
    EXPECT_FALSE(menu.action(RC::ApplyDesign)->isEnabled());  // one record
    EXPECT_TRUE(menu.action(RC::PrintList)->isEnabled());
    menu.run(RC::InsertFirst);
    EXPECT_TRUE(menu.action(RC::ApplyDesign)->isEnabled());
    // Ctrl+I is the window's key, opening the list.
    QAction* key = nullptr;
    for (QAction* action : window.actions()) {
        if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_I)) key = action;
    }
    ASSERT_NE(key, nullptr);
    key->trigger();
    EXPECT_EQ(popups, 1);
}
