#pragma once

#include <QString>
#include <cstdint>

class QMenu;
class QWidget;

namespace pemo {

class CPatView;

// The commands that arm the drawing tools: 绘制图形 opens the shape picker, each shape
// command arms its kind, and the next press on the canvas draws it.
namespace ShapeCommands {

inline constexpr int DrawShape = 34500;  // 绘制图形: the shape picker
inline constexpr int FirstShape = 34502; // 绘制直线 … 绘制多边形 (34502 to 34510)
inline constexpr int LastShape = 34510;
inline constexpr int FirstArrow = 34520;  // arrows 1 to 12
inline constexpr int LastArrow = 34531;
inline constexpr int FirstStar = 34532;  // stars 1 to 4
inline constexpr int LastStar = 34535;

// The drawing kind a command arms; 0 for any other id.
int32_t kindOf(int id);
// The command's name, as its menu item and the picker's tip show it.
QString nameOf(int id);
// Stops in-place editing and arms the command's kind.
void arm(CPatView& view, int id);
// Adds 绘制图形 to a menu: it opens the picker at the mouse pointer and is ticked
// while a drawing tool is armed.
void addTo(QMenu* menu, CPatView& view);

}  // namespace ShapeCommands

}  // namespace pemo
