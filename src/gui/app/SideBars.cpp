// The side bars of the main window and the switches of every bar.
#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include "CPatMain.h"
#include "LibraryDocks.h"
#include "MainToolBars.h"
#include "gui/common/ToolIcons.h"
#include "gui/view/CPatView.h"

namespace pemo {

void CPatMain::placeSideBars() {
    QDockWidget* backgrounds = library_->backgroundBar();
    QDockWidget* templates = library_->templateBar();
    for (QDockWidget* bar : {backgrounds, templates, recordGridBar_}) {
        bar->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                         QDockWidget::DockWidgetFloatable);
    }
    // 底图 above 模板/常用图库 on the left, 150 pixels across; 信息编辑 178 high below
    // the page, the left column running down beside it.
    splitDockWidget(backgrounds, templates, Qt::Vertical);
    resizeDocks({backgrounds, templates}, {150, 150}, Qt::Horizontal);
    resizeDocks({backgrounds, templates}, {400, 400}, Qt::Vertical);
    resizeDocks({recordGridBar_}, {178}, Qt::Vertical);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
}

QTabWidget* CPatMain::libraryTabs() const { return library_->tabs(); }

QDockWidget* CPatMain::sideBar(int id) const {
    switch (id) {
        case kBackgroundBar: return library_->backgroundBar();
        case kTemplateBar: return library_->templateBar();
        case kRecordBar: return recordGridBar_;
        default: return nullptr;
    }
}

void CPatMain::addBarToggles(QMenu* menu) {
    struct Toggle {
        int id;
        const char* text;
        Qt::Key key;
    };
    // A toggle's tick is the bar's own visibility, so closing a bar by its button clears it.
    const auto add = [this, menu](QAction* toggle, const Toggle& t) {
        toggle->setText(QString::fromUtf8(t.text));
        toggle->setData(t.id);
        if (t.key != Qt::Key_unknown) toggle->setShortcut(t.key);
        toggle->setShortcutContext(Qt::ApplicationShortcut);
        menu->addAction(toggle);
        addAction(toggle);
        actions_.insert(t.id, toggle);
    };
    const Toggle toolBars[] = {{MainToolBars::kCommonBar, "常用工具栏(&C)", Qt::Key_unknown},
                               {MainToolBars::kObjectBar, "对象工具栏(&O)", Qt::Key_F3},
                               {MainToolBars::kPositionBar, "位置工具栏(&P)", Qt::Key_F4}};
    for (const Toggle& t : toolBars) add(toolBars_->bar(t.id)->toggleViewAction(), t);
    menu->addSeparator();
    const Toggle sideBars[] = {{kBackgroundBar, "底图(&B)", Qt::Key_F5},
                               {kTemplateBar, "模板(&T)", Qt::Key_F6},
                               {kRecordBar, "信息编辑(&E)", Qt::Key_F7}};
    for (const Toggle& t : sideBars) {
        QAction* toggle = sideBar(t.id)->toggleViewAction();
        add(toggle, t);
        // The page fits the view the bar left, once the window has laid itself out.
        connect(toggle, &QAction::triggered, this, [this] {
            QTimer::singleShot(0, view_, [this] { view_->showCurrentRecord(); });
        });
    }
}

void CPatMain::setMessageText(const QString& text) {
    statusBar()->showMessage(text);
    statusBar()->repaint();
}

}  // namespace pemo
