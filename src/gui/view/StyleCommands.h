#pragma once

class QMenu;

namespace pemo {

class CPatView;

// The commands that give the selected blocks their look: pen colour, fill, line style,
// text colour and the glyph border. Each change is one undo step and marks the
// document modified.
namespace StyleCommands {

inline constexpr int TextBorder = 34274;     // 边框设置
inline constexpr int LineStyle = 34512;      // 线型
inline constexpr int PenColour = 34513;      // 图形颜色: the style's pen colour
inline constexpr int ChoosePenColour = 34514;  // 图形颜色's drop-down: the picker
inline constexpr int FillSettings = 34515;   // 填充方式
inline constexpr int TextColour = 35071;     // 字符颜色's drop-down: the picker

// Whether the command can run on the view's current selection.
bool isEnabled(const CPatView& view, int id);
// Runs the command; does nothing when it is not enabled.
void run(CPatView& view, int id);
// Adds the commands to a menu, enabled as the selection allows each time it opens.
void addTo(QMenu* menu, CPatView& view);

}  // namespace StyleCommands

}  // namespace pemo
