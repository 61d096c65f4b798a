#pragma once

#include <QIcon>
#include <functional>

class QAction;

namespace pemo {

// The icons of the toolbars and menus: a name of the icon theme ("document-new") or one
// of the program's own pictures (":/icons/price-format.svg"). Both draw sharp at any
// scale: the theme's icons and ours are vector pictures.
QIcon toolIcon(const char* name);

// Gives the menu commands that have no toolbar button their icons (the alignments of 版式,
// the print modes, file and import commands); command(id) finds a command by its id.
void decorateMenuCommands(const std::function<QAction*(int)>& command);

// Chooses the icon theme the program's own icons are drawn to match, when it is
// installed; called once at start-up.
void useToolIconTheme();

}  // namespace pemo
