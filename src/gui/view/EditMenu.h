#pragma once

#include <functional>

#include "gui/common/CommandGroup.h"

class QMenuBar;

namespace pemo {

class CPatView;
class RecordGrid;

// 编辑: undo and redo, the clipboard, selecting, and the alignment and layer commands. The
// canvas carries them out and decides their state; a paste into the record grid that is
// the last change of the record shown is taken back (and put back) whole.
class EditMenu : public CommandGroup {
public:
    EditMenu(CPatView& view, RecordGrid& grid, QObject* parent);

    // Adds the menu at the end of bar.
    void addTo(QMenuBar* bar);
    // The enabled states, as the canvas and the grid's last paste allow.
    void update();
    void run(int id);

    // After a command and before the menu opens: every command that follows the canvas.
    std::function<void()> commandsChanged;

private:
    bool undoesPaste() const;
    bool redoesPaste() const;

    CPatView& view_;
    RecordGrid& grid_;
};

}  // namespace pemo
