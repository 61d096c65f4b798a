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
#include "MainToolBars.h"
#include "ToolIcons.h"
#include "gui/view/CPatView.h"

namespace pemo {

namespace {

QDockWidget* makeSideBar(QMainWindow* window, const char* title, const char* name,
                         Qt::DockWidgetAreas areas) {
    auto* bar = new QDockWidget(QString::fromUtf8(title), window);
    bar->setObjectName(QString::fromUtf8(name));
    bar->setAllowedAreas(areas);
    bar->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                     QDockWidget::DockWidgetFloatable);
    return bar;
}

// A stand-in page until the library panel is put in.
QWidget* emptyPanel(const char* name) {
    auto* panel = new QWidget;
    panel->setObjectName(QString::fromUtf8(name));
    return panel;
}

}  // namespace

void CPatMain::buildSideBars() {
    const Qt::DockWidgetAreas sides = Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea;
    backgroundBar_ = makeSideBar(this, "底图", "BackgroundBar", sides);
    templateBar_ = makeSideBar(this, "模板/常用图库", "TemplateBar", sides);
    libraryTabs_ = new QTabWidget(templateBar_);
    libraryTabs_->setObjectName(QStringLiteral("LibraryTabs"));
    libraryTabs_->setTabPosition(QTabWidget::North);
    templateBar_->setWidget(libraryTabs_);
    setLibraryPanels(emptyPanel("BackgroundPanel"), emptyPanel("TemplatePanel"),
                     emptyPanel("PicturePanel"));
    addDockWidget(Qt::LeftDockWidgetArea, backgroundBar_);
    splitDockWidget(backgroundBar_, templateBar_, Qt::Vertical);
    // The start sizes: 150 pixels across for the library bars, 178 high for 信息编辑.
    resizeDocks({backgroundBar_, templateBar_}, {150, 150}, Qt::Horizontal);
    resizeDocks({backgroundBar_, templateBar_}, {400, 400}, Qt::Vertical);
    resizeDocks({recordGridBar_}, {178}, Qt::Vertical);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
}

void CPatMain::setLibraryPanels(QWidget* backgrounds, QWidget* templates, QWidget* pictures) {
    if (QWidget* old = backgroundBar_->widget()) old->deleteLater();
    backgroundBar_->setWidget(backgrounds);
    while (libraryTabs_->count() > 0) {
        QWidget* old = libraryTabs_->widget(0);
        libraryTabs_->removeTab(0);
        old->deleteLater();
    }
    libraryTabs_->addTab(templates, QString::fromUtf8("模板库"));
    libraryTabs_->addTab(pictures, QString::fromUtf8("常用图库"));
    libraryTabs_->setCurrentIndex(0);
}

QDockWidget* CPatMain::sideBar(int id) const {
    switch (id) {
        case kBackgroundBar: return backgroundBar_;
        case kTemplateBar: return templateBar_;
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
