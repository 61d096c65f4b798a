#pragma once

#include "CommandRequests.h"
#include "HeadlessCommands.h"

namespace pemo {

// --export OUT.pdf FILE [print options]: FILE's print queue printed to OUT.pdf through the
// same print job as the 打印 menu, label sheets included.
// Exit status 0, 1 when the job or a file is refused (the message on stderr).
int exportPdf(const ExportRequest& request, const ExportRequest::Pdf& job, const DocumentOpener& open);

// --export OUT.pdf FILE --mode list: the record list as a table (信息打印).
int exportList(const ExportRequest& request, const ExportRequest::List& list, const DocumentOpener& open);

}  // namespace pemo
