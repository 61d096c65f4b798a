#include "ViewMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "CPatView.h"
#include "FullScreenShow.h"
#include "ViewCommands.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/common/CommandIds.h"
#include "gui/common/ToolIcons.h"

namespace pemo {

ViewMenu::ViewMenu(CPatView& view, QWidget* window)
    : CommandGroup(window), view_(view), window_(window) {}

void ViewMenu::addTo(QMenuBar* bar, QWidget* statusBar) {
    QMenu* menu = bar->addMenu(QString::fromUtf8("视图(&V)"));
    addBarToggles(menu);
    menu->addSeparator();
    addPageSwitches(menu);
    menu->addSeparator();
    connect(addCommand(menu, ViewCommand::ZoomIn, QString::fromUtf8("放大视图"), Qt::Key_F9),
            &QAction::triggered, &view_, &CPatView::zoomIn);
    connect(addCommand(menu, ViewCommand::ZoomOut, QString::fromUtf8("缩小视图"), Qt::Key_F10),
            &QAction::triggered, &view_, &CPatView::zoomOut);
    connect(addCommand(menu, ViewCommand::ActualSize, QString::fromUtf8("原大显示")),
            &QAction::triggered, &view_, &CPatView::showActualSize);
    connect(addCommand(menu, ViewCommand::FitPage, QString::fromUtf8("整版显示")),
            &QAction::triggered, &view_, [this] {
                view_.fitPage();
                view_.canvas()->refresh();
            });
    menu->addSeparator();
    QAction* status = addCommand(menu, CommandId::ViewStatusBar, QString::fromUtf8("状态栏(&S)"));
    status->setCheckable(true);
    status->setChecked(true);
    connect(status, &QAction::toggled, statusBar, &QWidget::setVisible);
    menu->addSeparator();
    QAction* show = addCommand(menu, ViewCommand::FullScreen, QString::fromUtf8("全屏显示"), Qt::Key_F2);
    show->setIcon(toolIcon("view-fullscreen"));
    connect(show, &QAction::triggered, this, &ViewMenu::runFullScreenShow);
    connect(menu, &QMenu::aboutToShow, this, &ViewMenu::changed);
}

void ViewMenu::addBarToggles(QMenu* menu) {
    struct Toggle {
        int id;
        const char* text;
        Qt::Key key;
    };
    const auto add = [this, menu](const Toggle& t) {
        QAction* toggle = barToggle(t.id);
        toggle->setText(QString::fromUtf8(t.text));
        toggle->setData(t.id);
        if (t.key != Qt::Key_unknown) toggle->setShortcut(t.key);
        toggle->setShortcutContext(Qt::ApplicationShortcut);
        menu->addAction(toggle);
        window_->addAction(toggle);
        keep(t.id, toggle);
        return toggle;
    };
    const Toggle toolBars[] = {{ViewCommand::CommonBar, "常用工具栏(&C)", Qt::Key_unknown},
                               {ViewCommand::ObjectBar, "对象工具栏(&O)", Qt::Key_F3},
                               {ViewCommand::PositionBar, "位置工具栏(&P)", Qt::Key_F4}};
    for (const Toggle& t : toolBars) add(t);
    menu->addSeparator();
    const Toggle sideBars[] = {{ViewCommand::BackgroundBar, "底图(&B)", Qt::Key_F5},
                               {ViewCommand::TemplateBar, "模板(&T)", Qt::Key_F6},
                               {ViewCommand::RecordBar, "信息编辑(&E)", Qt::Key_F7}};
    for (const Toggle& t : sideBars) {
        // The page fits the view the bar left, once the window has laid itself out.
        connect(add(t), &QAction::triggered, this, [this] {
            QTimer::singleShot(0, &view_, [this] { view_.showCurrentRecord(); });
        });
    }
}

void ViewMenu::addPageSwitches(QMenu* menu) {
    // Each switch turns the view's own state over, so a key press can never act on a stale
    // tick.
    using Get = bool (CPatView::*)() const;
    using Set = void (CPatView::*)(bool);
    const auto toggle = [this, menu](int id, const char* text, const QKeySequence& key, Get get,
                                     Set set) {
        QAction* action = addCommand(menu, id, QString::fromUtf8(text), key);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, get, set] {
            (view_.*set)(!(view_.*get)());
            changed();
        });
    };
    toggle(ViewCommand::ShowAlignmentLines, "显示对齐线(&A)", QKeySequence(),
           &CPatView::showAlignmentLines, &CPatView::setShowAlignmentLines);
    toggle(ViewCommand::ShowFrameLines, "显示边框线(&R)", QKeySequence(Qt::ALT | Qt::Key_B),
           &CPatView::showFrameLines, &CPatView::setShowFrameLines);
    toggle(ViewCommand::TemplateMode, "模板方式(&M)", QKeySequence(Qt::Key_F8), &CPatView::templateMode,
           &CPatView::setTemplateMode);
}

void ViewMenu::update() {
    action(ViewCommand::ShowAlignmentLines)->setChecked(view_.showAlignmentLines());
    action(ViewCommand::ShowFrameLines)->setChecked(view_.showFrameLines());
    action(ViewCommand::TemplateMode)->setChecked(view_.templateMode());
}

void ViewMenu::runFullScreenShow() {
    FullScreenShow show(view_.document(), view_.templateMode(), window_);
    show.exec();
    view_.canvas()->refresh();
}

void ViewMenu::changed() {
    if (commandsChanged) commandsChanged();
}

}  // namespace pemo
