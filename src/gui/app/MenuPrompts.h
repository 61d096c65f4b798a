#pragma once

#include <functional>

class QAction;

namespace pemo {

// The status-bar prompts of the menu commands that have no toolbar button (the toolbar
// buttons bring their own); command(id) finds a command by its id.
void addMenuPrompts(const std::function<QAction*(int)>& command);

}  // namespace pemo
