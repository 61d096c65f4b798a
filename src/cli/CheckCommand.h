#pragma once

#include <QStringList>
#include <functional>

namespace pemo {

class CPatDoc;

// pemo --check FILE [--mode M] [--no-background] [--sheet A4|A3|WxH] [--overlap MM]
//      [--spacing MM]
// The check the print commands run first, on FILE's print queue for mode M (default
// by-item): one line per finding on stdout. arguments: everything after --check. Exit
// status 0 when nothing was found, 3 when something was, 1 when FILE is refused, 2 for a
// usage error.
int runCheck(const QStringList& arguments, const std::function<void(CPatDoc&, const QString&)>& open);

}  // namespace pemo
