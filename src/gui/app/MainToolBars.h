#pragma once

#include <QHash>
#include <QObject>
#include <cstdint>
#include <functional>
#include <vector>

#include "gui/view/ViewCommands.h"

class QAction;
class QComboBox;
class QMainWindow;
class QMenu;
class QToolBar;

namespace pemo {

class CPatView;
class DropDownButton;
class FontNameBox;
class TextCommands;

// One button of a toolbar: its command, tooltip, status prompt and icon ("name" of the
// icon theme, or ":/icons/…svg" of our own). An id of 0 is a separator.
struct ToolButtonEntry {
    int id;
    const char* tip;
    const char* prompt;
    const char* icon;
};

// The three toolbars of the main window — 常用工具栏, 位置工具栏 and 对象工具栏 with the
// font and size boxes — and the upkeep of their buttons: enabled states, ticks, the
// colour bars of 字符颜色 and 图形颜色 and the face of 版式.
class MainToolBars : public QObject {
    Q_OBJECT
public:
    // The commands that show and hide each toolbar; they name the toolbars too.
    static constexpr int kCommonBar = ViewCommand::CommonBar;
    static constexpr int kPositionBar = ViewCommand::PositionBar;
    static constexpr int kObjectBar = ViewCommand::ObjectBar;
    static constexpr int kChineseFaceBox = 32949;
    static constexpr int kWesternFaceBox = 32950;
    static constexpr int kSizeBox = 32951;

    static const std::vector<ToolButtonEntry>& buttons(int bar);

    MainToolBars(QMainWindow& window, CPatView& view);

    // Makes the three toolbars, empty, docked at their start places.
    void create();
    // Fills them once the menus exist: a button runs the menu command of its id
    // (command(id)), or opens the popup of its id (popup(id)) under itself.
    void fill(TextCommands& text, const std::function<QAction*(int)>& command,
              const std::function<QMenu*(int)>& popup);

    QToolBar* bar(int id) const { return bars_.value(id); }
    FontNameBox* chineseBox() const { return chineseBox_; }
    FontNameBox* westernBox() const { return westernBox_; }
    QComboBox* sizeBox() const { return sizeBox_; }
    // The toolbar button (or box) of a command, for placing popups under it.
    QWidget* buttonOf(int id) const;
    // Opens a command's popup under its button, or at the mouse pointer while the
    // button's toolbar is hidden.
    void openPopup(int id);

    // The boxes follow the caret and the selection, showing the style typing goes on
    // with: the face boxes are enabled while text is edited in place, the size box also
    // while a text block is selected as a whole (its size then applies to all its text).
    void updateTextCombos();
    // Enabled states of the buttons without a menu action of their own, and the faces
    // of the drop-down buttons.
    void updateButtons();

private:
    void fillBar(int bar);
    void addBoxes(QToolBar* bar);
    void addDropDown(QToolBar* bar, const ToolButtonEntry& entry, QAction* command);
    void chooseFace(FontNameBox* box, int id);
    void chooseSize();
    void returnFocusToPage();

    QMainWindow& window_;
    CPatView& view_;
    TextCommands* text_ = nullptr;
    std::function<QAction*(int)> command_;
    std::function<QMenu*(int)> popup_;
    QHash<int, QToolBar*> bars_;
    QHash<int, QAction*> proxies_;  // buttons that open popups or run view commands
    QHash<int, DropDownButton*> dropDowns_;
    FontNameBox* chineseBox_ = nullptr;
    FontNameBox* westernBox_ = nullptr;
    QComboBox* sizeBox_ = nullptr;
    // What the drop-down buttons show now, so their faces are redrawn only on a change.
    uint32_t shownTextColour_ = 0xFFFFFFFF;
    uint32_t shownPenColour_ = 0xFFFFFFFF;
    int shownAlignment_ = -1;
};

}  // namespace pemo
