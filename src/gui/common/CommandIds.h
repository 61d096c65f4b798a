#pragma once

namespace pemo {

// Ids of the framework commands the program shares with its menus and keys.
namespace CommandId {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int PrintSetup = 57606;
inline constexpr int FirstRecentFile = 57616;
inline constexpr int AppExit = 57665;
inline constexpr int AppAbout = 57664;
inline constexpr int Help = 32864;
inline constexpr int ViewStatusBar = 59393;
}  // namespace CommandId

}  // namespace pemo
