#pragma once

#include <QStringList>
#include <functional>

namespace pemo {

class CPatDoc;

// pemo --export OUT.pdf FILE [--mode M] [--no-background] [--sheet A4|A3|WxH]
//      [--overlap MM] [--spacing MM] [--dpi D]
// Prints FILE's print queue to OUT.pdf through the same print job as the 打印 menu.
// arguments: everything after --export. open reads FILE into the document (throws
// FormatError when it refuses it). Exit status 0, 1 when the job or a file is refused
// (the message on stderr), 2 for a usage error.
int exportPdf(const QStringList& arguments,
              const std::function<void(CPatDoc&, const QString&)>& open);

}  // namespace pemo
