#pragma once

#include <QHash>
#include <QMainWindow>

#include "config/MallInfoList.h"
#include "document/RecordCommands.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;

namespace pemo {

class CPatApp;
class CPatDoc;
class CPatView;
class RecordFindDialog;
class RecordGrid;

// The main frame: the design view with the menus, bars and status bar around it.
class CPatMain : public QMainWindow {
    Q_OBJECT
public:
    CPatMain(CPatApp& app, CPatDoc& doc);

    CPatView* view() const { return view_; }
    RecordGrid* recordGrid() const { return grid_; }
    // 信息编辑, the bar that holds the grid; its toggle action answers F7.
    QDockWidget* recordGridBar() const { return gridBar_; }
    RecordFindDialog* findDialog() const { return findDialog_; }
    const MallInfoList& mallInfo() const { return mallInfo_; }
    QAction* action(int id) const { return actions_.value(id); }

    // Enables and ticks every command by its rule.
    void updateCommands();
    // Title "佩墨 - <document title>".
    void updateTitle(const QString& documentTitle);
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
    void buildRecordMenu();
    void buildTemplateMenu();
    // 保存模板 saves over the record's template when it exists; 另存模板 always asks.
    void saveTemplate(bool askName);

    static constexpr int kSaveTemplate = 34400;
    static constexpr int kSaveTemplateAs = 34401;
    void showInsertPopup();
    void updateStatus();
    void documentChanged();
    void buildRecordGrid();

    CPatApp& app_;
    CPatDoc& doc_;
    CPatView* view_ = nullptr;
    RecordGrid* grid_ = nullptr;
    QDockWidget* gridBar_ = nullptr;
    RecordFindDialog* findDialog_ = nullptr;
    QLabel* recordPane_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QMenu* insertMenu_ = nullptr;
    QHash<int, QAction*> actions_;
    MallInfoList mallInfo_;
    RecordCommands recordCommands_;
};

}  // namespace pemo
