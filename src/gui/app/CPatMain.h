#pragma once

#include <QMainWindow>
#include <array>
#include <vector>

#include "core/document/CPatDoc.h"

class QAction;
class QDockWidget;
class QLabel;
class QTabWidget;

namespace pemo {

class CPatApp;
class CPatView;
class CommandGroup;
class ConfigMenu;
class DesignHint;
class EditMenu;
class FileMenu;
class HelpMenu;
class LibraryDocks;
class MainToolBars;
class MallInfoList;
class ObjectMenu;
class PhraseList;
class PrintCommands;
class RecordFindDialog;
class RecordGrid;
class RecordMenu;
class TemplateMenu;
class ViewMenu;

// The main frame: the design view with the menus, bars, side bars and status bar around
// it. Each menu's commands are a group of their own (FileMenu, EditMenu, ViewMenu,
// RecordMenu, ObjectMenu, TemplateMenu, PrintCommands, ConfigMenu, HelpMenu); the frame
// assembles the menus and toolbars from them and keeps their states up to date.
class CPatMain : public QMainWindow {
    Q_OBJECT
public:
    CPatMain(CPatApp& app, CPatDoc& doc);

    CPatView* view() const { return view_; }
    RecordGrid* recordGrid() const { return grid_; }
    // 信息编辑, the bar that holds the grid; its toggle action answers F7.
    QDockWidget* recordGridBar() const { return recordGridBar_; }
    RecordFindDialog* findDialog() const { return findDialog_; }
    const MallInfoList& mallInfo() const;
    const PhraseList& phrases() const;
    // A command of a menu by its id; the bars' toggles are the 视图 menu's.
    QAction* action(int id) const;
    // Any command of the window by its id: menu items, bar toggles, toolbar buttons.
    QAction* findCommand(int id) const;

    // The side bars by their toggles' ids (ViewCommand::BackgroundBar, TemplateBar,
    // RecordBar), and the tabs 模板库 and 常用图库.
    QDockWidget* sideBar(int id) const;
    QTabWidget* libraryTabs() const;
    MainToolBars* toolBars() const { return toolBars_; }
    // The font and size boxes follow the caret and the selection.
    void updateTextCombos();
    // Pane 0 of the status bar, repainted at once (the library panels' hints).
    void setMessageText(const QString& text);
    // The bars of the background, template and picture library.
    LibraryDocks* library() const { return library_; }
    RecordMenu* recordMenu() const { return records_; }
    FileMenu* fileMenu() const { return file_; }
    PrintCommands* printCommands() const { return print_; }
    ViewMenu* viewMenu() const { return viewMenu_; }

    // Enables and ticks every command by its rule.
    void updateCommands();
    // Rewrites the ten panes after the message pane from the document.
    void updateStatusBar();
    // Pane 1 to 10 of the status bar.
    QLabel* statusPane(int pane) const { return statusPanes_.at(size_t(pane - 1)); }
    // Title "佩墨 - <document title>", with "*" after it while there are unsaved changes.
    void updateTitle(const QString& documentTitle);
    // The status bar's offer of 应用到所有信息 after a change of the record's design.
    DesignHint* designHint() const { return designHint_; }
    void updateRecentFiles();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildRecordGrid();
    // The library's bars in their start places and sizes beside 信息编辑.
    void placeSideBars();
    void buildStatusBar();
    // The command groups, their menus in the menu bar's order, and what they ask of the
    // frame.
    void buildMenus();
    void connectGroups();
    void buildLibrary();
    void buildToolBars();
    // The commands that follow the canvas: the 编辑 and 对象 menus, the toolbars.
    void updateEditCommands();
    void refreshTitle();
    void documentChanged(CPatDoc::Change change);
    // 模板方式 hides the record grid's bar; outside it the bar shows again.
    void showRecordGridBar(bool show);
    // Blocks an earlier run left on the clipboard are never pasted into this one.
    void emptyOwnClipboard();

    CPatApp& app_;
    CPatDoc& doc_;
    CPatView* view_ = nullptr;
    std::array<QLabel*, 10> statusPanes_{};
    // The 信息编辑 bar holding the record grid.
    QDockWidget* recordGridBar_ = nullptr;
    MainToolBars* toolBars_ = nullptr;
    RecordGrid* grid_ = nullptr;
    RecordFindDialog* findDialog_ = nullptr;
    LibraryDocks* library_ = nullptr;
    DesignHint* designHint_ = nullptr;
    QString documentTitle_;

    ConfigMenu* config_ = nullptr;
    FileMenu* file_ = nullptr;
    EditMenu* edit_ = nullptr;
    ViewMenu* viewMenu_ = nullptr;
    RecordMenu* records_ = nullptr;
    ObjectMenu* object_ = nullptr;
    TemplateMenu* template_ = nullptr;
    PrintCommands* print_ = nullptr;
    HelpMenu* help_ = nullptr;
    // The groups whose commands action() finds, in the menus' order.
    std::vector<const CommandGroup*> groups_;
};

}  // namespace pemo
