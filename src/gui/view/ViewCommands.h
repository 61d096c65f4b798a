#pragma once

namespace pemo {

// Ids of the commands the design view carries out (menus 视图 and 模板, keys, status bar).
namespace ViewCommand {
inline constexpr int ShowAlignmentLines = 34036;  // 显示对齐线
inline constexpr int ShowFrameLines = 34037;      // 显示边框线
inline constexpr int ZoomIn = 34041;              // 放大视图
inline constexpr int ZoomOut = 34042;             // 缩小视图
inline constexpr int ActualSize = 34043;          // 原大显示
inline constexpr int FitPage = 34044;             // 整版显示
inline constexpr int TemplateMode = 34048;        // 模板方式
inline constexpr int FirstStandardSize = 34405;   // A4幅面 … A0幅面 (34409)
inline constexpr int CustomSize = 34410;          // 自定义幅面
inline constexpr int RotatePage = 34411;          // 横向幅面 / 竖向幅面
inline constexpr int ExportPicture = 32939;       // 转存为
inline constexpr int FullScreen = 32948;          // 全屏显示
// The switches of the bars, which also name them: the three toolbars and the side bars
// 信息编辑, 底图 and 模板/常用图库.
inline constexpr int CommonBar = 34030;
inline constexpr int PositionBar = 34031;
inline constexpr int ObjectBar = 34032;
inline constexpr int RecordBar = 34033;
inline constexpr int BackgroundBar = 34034;
inline constexpr int TemplateBar = 34035;
}  // namespace ViewCommand

}  // namespace pemo
