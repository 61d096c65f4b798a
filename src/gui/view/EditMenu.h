#pragma once

#include <functional>

#include "gui/common/CommandGroup.h"

class QMenuBar;

namespace pemo {

class CPatView;

// 编辑: undo and redo, the clipboard, selecting, and the alignment and layer commands. The
// canvas carries them out and decides their state; 撤消 and 恢复 go through the whole
// document's history (UndoOrder), the record grid's pastes included.
class EditMenu : public CommandGroup {
public:
    EditMenu(CPatView& view, QObject* parent);

    // Adds the menu at the end of bar.
    void addTo(QMenuBar* bar);
    // The enabled states, as the canvas allows.
    void update();
    void run(int id);

    // After a command and before the menu opens: every command that follows the canvas.
    std::function<void()> commandsChanged;

private:
    CPatView& view_;
};

}  // namespace pemo
