#pragma once

#include <QHash>
#include <functional>
#include <QMainWindow>
#include <array>

#include "core/config/MallInfoList.h"
#include "core/config/PhraseList.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QTabWidget;

namespace pemo {

class CPatApp;
class CPatView;
class MainToolBars;
class LibraryDocks;
class DesignHint;
class PictureCommands;
class RecordFindDialog;
class RecordGrid;
class TextCommands;

// The main frame: the design view with the menus, bars and status bar around it.
class CPatMain : public QMainWindow {
    Q_OBJECT
public:
    CPatMain(CPatApp& app, CPatDoc& doc);

    CPatView* view() const { return view_; }
    RecordGrid* recordGrid() const { return grid_; }
    // 信息编辑, the bar that holds the grid; its toggle action answers F7.
    QDockWidget* recordGridBar() const { return recordGridBar_; }
    RecordFindDialog* findDialog() const { return findDialog_; }
    const MallInfoList& mallInfo() const { return mallInfo_; }
    const PhraseList& phrases() const { return phrases_; }
    // Called after the variable names changed (the record grid renames its columns).
    std::function<void()> onVariablesRenamed;
    QAction* action(int id) const { return actions_.value(id); }
    // Any command of the window by its id: menu items, bar toggles, toolbar buttons.
    QAction* findCommand(int id) const;

    // The side bars: 底图, 模板/常用图库 (tabs 模板库 and 常用图库) and 信息编辑.
    static constexpr int kBackgroundBar = 34034;
    static constexpr int kTemplateBar = 34035;
    static constexpr int kRecordBar = 34033;
    static constexpr int kFullScreen = 32948;
    QDockWidget* sideBar(int id) const;
    QTabWidget* libraryTabs() const;
    MainToolBars* toolBars() const { return toolBars_; }
    // The font and size boxes follow the caret and the selection.
    void updateTextCombos();
    // Pane 0 of the status bar, repainted at once (the library panels' hints).
    void setMessageText(const QString& text);
    // 全屏显示: the records' pages one at a time on the whole screen.
    void runFullScreenShow();
    // The bars of the background, template and picture library.
    LibraryDocks* library() const { return library_; }

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
    // Carries out a record-list command from the menu, toolbar or grid.
    void runRecordCommand(int id);
    RecordCommandContext recordCommandContext() const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addCommand(QMenu* menu, int id, const QString& text,
                        const QKeySequence& key = QKeySequence());
    void buildMenus();
    // 编辑: the canvas carries the commands out and decides their state.
    void buildEditMenu();
    // 对象: for now the text tool and 锁定.
    void buildObjectMenu();
    void updateEditCommands();
    void buildRecordMenu();
    void buildTemplateMenu();
    void buildConfigMenu();
    void configureMallInfo();
    void configureVariables();
    void configurePhrases();
    void configureEditors();
    // Pushes values into the current page's placeholders with the view's mode.
    void refreshPlaceholders();

    static constexpr int kMallInfoConfig = 34434;
    static constexpr int kVariableConfig = 34435;
    static constexpr int kPhraseConfig = 34436;
    static constexpr int kEditorsConfig = 34437;
    void buildViewMenu();
    void buildStatusBar();
    // 转存为: the current page as a BMP (or PNG) picture at 150 pixels per inch.
    void exportPagePicture();
    // 导出PDF: the print queue in a chosen print mode and sheet, then says where it went.
    void exportPdf();
    // 模板方式 hides the record grid's bar; outside it the bar shows again.
    void showRecordGridBar(bool show);
    // 保存模板 saves over the record's template when it exists; 另存模板 always asks.
    void saveTemplate(bool askName);

    static constexpr int kExportPdf = 32940;
    static constexpr int kSaveTemplate = 34400;
    static constexpr int kSaveTemplateAs = 34401;
    void showInsertPopup();
    void refreshTitle();
    void documentChanged(CPatDoc::Change change);
    bool undoesPaste() const;
    bool redoesPaste() const;
    void buildRecordGrid();
    // The library's bars in their start places and sizes beside 信息编辑.
    void placeSideBars();
    // The 视图 menu's toggles of the toolbars and side bars (F3 to F7).
    void addBarToggles(QMenu* menu);
    void buildToolBars();
    // Blocks an earlier run left on the clipboard are never pasted into this one.
    void emptyOwnClipboard();
    // 信息打印 belongs to the 打印 menu, before 打印机设置.
    void moveListPrint(QMenu* printMenu);
    void arrangeObjectMenu();
    void buildLibrary();

    CPatApp& app_;
    CPatDoc& doc_;
    CPatView* view_ = nullptr;
    std::array<QLabel*, 10> statusPanes_{};
    // The 信息编辑 bar holding the record grid.
    QDockWidget* recordGridBar_ = nullptr;
    MainToolBars* toolBars_ = nullptr;
    RecordGrid* grid_ = nullptr;
    RecordFindDialog* findDialog_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QMenu* insertMenu_ = nullptr;
    QHash<int, QAction*> actions_;
    MallInfoList mallInfo_;
    PhraseList phrases_;
    TextCommands* textCommands_ = nullptr;
    PictureCommands* pictureCommands_ = nullptr;
    QMenu* objectMenu_ = nullptr;
    LibraryDocks* library_ = nullptr;
    RecordCommands recordCommands_;
    DesignHint* designHint_ = nullptr;
    QString documentTitle_;
};

}  // namespace pemo
