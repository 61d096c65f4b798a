#pragma once

#include <QString>
#include <QStringList>

namespace pemo {

// The full name a save dialog's answer stands for: `added` (an extension without its dot)
// is appended unless the name already ends in one of `accepted` (lower case, no dot).
// The dialog asked before replacing only the name as typed; when the extension was added
// and that file exists, the user is asked here. Empty when the user declines.
QString completeSaveName(const QString& chosen, const QStringList& accepted, const QString& added);

}  // namespace pemo
