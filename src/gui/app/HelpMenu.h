#pragma once

#include "gui/common/CommandGroup.h"

class QMenuBar;
class QWidget;

namespace pemo {

class CPatApp;

// 帮助: the program's help (F1) and 关于佩墨.
class HelpMenu : public CommandGroup {
public:
    HelpMenu(CPatApp& app, QWidget* window);

    // Adds the menu at the end of bar.
    void addTo(QMenuBar* bar);

private:
    CPatApp& app_;
    QWidget* window_;
};

}  // namespace pemo
