#pragma once

#include <QString>
#include <functional>

#include "core/document/RecordCommands.h"
#include "gui/common/CommandGroup.h"

class QMenu;
class QMenuBar;
class QWidget;

namespace pemo {

class CPatDoc;
class RecordFindDialog;
class RecordGrid;

// 信息: the record list's commands — inserting, deleting, finding, the print queue, going
// from record to record, importing, the price update, exporting and making the records
// alike — enabled by the list's rules (RecordCommands). Two of them stand in other menus
// and follow the same rules: 应用到所有信息 (模板) and 信息打印 (打印); the window places
// them.
class RecordMenu : public CommandGroup {
public:
    RecordMenu(CPatDoc& doc, RecordGrid& grid, RecordFindDialog& find, QWidget* window);

    // Adds the menu at the end of bar, and makes the two commands that stand elsewhere.
    void addTo(QMenuBar* bar);
    // 信息插入's list, which its toolbar button opens too.
    QMenu* insertMenu() const { return insertMenu_; }
    // Carries out a list command from the menu, a toolbar, the grid or the status bar.
    void run(int id);
    RecordCommandContext context() const;
    // Enables each command by its rule.
    void update();

    // Set by the window: the view's 模板方式, the save prompt before an import (false = the
    // user cancelled), the document's file, and what the library has selected.
    std::function<bool()> templateMode;
    std::function<bool()> saveModified;
    std::function<QString()> documentPath;
    std::function<void(RecordCommandContext&)> fillLibraryChoice;
    // Ctrl+I: opens 信息插入's list under its toolbar button.
    std::function<void()> openInsertPopup;
    // After a command and before the menu opens: every command's state.
    std::function<void()> commandsChanged;

private:
    void addInsertMenu(QMenu* menu);
    void addListCommands(QMenu* menu);
    void addFileCommands(QMenu* menu);
    void addElsewhere();
    void changed();

    CPatDoc& doc_;
    RecordGrid& grid_;
    RecordFindDialog& find_;
    QWidget* window_;
    RecordCommands commands_;
    QMenu* insertMenu_ = nullptr;
};

}  // namespace pemo
