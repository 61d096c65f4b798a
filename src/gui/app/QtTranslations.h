#pragma once

namespace pemo {

// Qt's own dialogs and buttons (file, message, print, preview and colour dialogs, 确定 and
// 取消) speak Chinese: Qt's Simplified Chinese translations are installed once. False
// when they are not found; the texts then stay English.
bool installQtTranslations();

}  // namespace pemo
