#pragma once

#include <functional>

#include "gui/common/CommandGroup.h"

class QMenuBar;
class QWidget;

namespace pemo {

class CPatView;

// 视图: the switches of the toolbars and side bars (F3 to F7), the page's display switches
// (显示对齐线, 显示边框线, 模板方式), the zoom, the status bar and 全屏显示. The ticks of the
// page's switches follow the view through update().
class ViewMenu : public CommandGroup {
public:
    ViewMenu(CPatView& view, QWidget* window);

    // Adds the menu at the end of bar; its 状态栏 item shows and hides statusBar.
    void addTo(QMenuBar* bar, QWidget* statusBar);
    void update();
    // 全屏显示: the records' pages one at a time on the whole screen.
    void runFullScreenShow();

    // The toggle action of a toolbar or side bar by its id (ViewCommand::CommonBar …); it
    // goes into the menu as it is, its tick being the bar's own visibility.
    std::function<QAction*(int id)> barToggle;
    // After a switch was turned and before the menu opens: every command's state.
    std::function<void()> commandsChanged;

private:
    void addBarToggles(QMenu* menu);
    void addPageSwitches(QMenu* menu);
    void changed();

    CPatView& view_;
    QWidget* window_;
};

}  // namespace pemo
