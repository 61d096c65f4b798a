#pragma once

#include <functional>

#include "gui/common/CommandGroup.h"

class QMenu;
class QMenuBar;
class QWidget;

namespace pemo {

class CPatView;
class MallInfoList;
class PhraseList;
class PictureCommands;
class TextCommands;

// 对象: the text format and insertion commands (TextCommands), the shape and style
// commands, 锁定 and the picture commands, put in the menu's order once every set has
// brought its own. The canvas's context menu gets the text format commands, the phrase
// tools their phrases.
class ObjectMenu : public CommandGroup {
public:
    ObjectMenu(CPatView& view, const MallInfoList& mallInfo, const PhraseList& phrases,
               QWidget* window);

    // Adds the menu at the end of bar.
    void addTo(QMenuBar* bar);
    // Puts the menu in its order; whatever else the sets brought (the face and size
    // choices, the colour pickers, the logo items) follows last.
    void arrange();
    // 锁定's state and tick, the text commands' and the picture commands' states.
    void update();

    TextCommands& text() const { return *text_; }
    PictureCommands& pictures() const { return *pictures_; }

    // After 锁定 and before the menu opens: every command that follows the canvas.
    std::function<void()> commandsChanged;

private:
    CPatView& view_;
    TextCommands* text_;
    PictureCommands* pictures_;
    QMenu* menu_ = nullptr;
};

}  // namespace pemo
