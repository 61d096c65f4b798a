#include "HelpMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "CPatApp.h"
#include "gui/common/HelpWindow.h"
#include "gui/common/CommandIds.h"

namespace pemo {

HelpMenu::HelpMenu(CPatApp& app, QWidget* window) : CommandGroup(window), app_(app), window_(window) {}

void HelpMenu::addTo(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QString::fromUtf8("帮助(&H)"));
    connect(addCommand(menu, CommandId::Help, QString::fromUtf8("《佩墨》帮助"), Qt::Key_F1),
            &QAction::triggered, this, [this] { HelpWindow::showHelp(window_); });
    connect(addCommand(menu, CommandId::AppAbout, QString::fromUtf8("关于佩墨(&A)...")),
            &QAction::triggered, this, [this] { app_.showAbout(window_); });
}

}  // namespace pemo
