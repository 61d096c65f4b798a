#pragma once

#include <QStringList>
#include <optional>

namespace pemo {

// The commands the program carries out without a display:
//   --dump FILE                 print a document or template as JSON
//   --export OUT.vxq FILE       open FILE (a template becomes a one-record document), save OUT
//   --export OUT.pdf FILE …     print FILE's queue to a PDF (options in PdfExport.h)
// Exit status 0 on success, 1 when a file is refused, 2 for a usage error. Returns
// nothing when the arguments name no headless command.
std::optional<int> runHeadlessCommand(const QStringList& arguments);

}  // namespace pemo
