#pragma once

#include "CommandRequests.h"
#include "HeadlessCommands.h"

namespace pemo {

// --export OUT.csv|OUT.txt|OUT.xlsx FILE [--columns LIST] [--separator C]: FILE's records
// written as delimited text (GBK) or as a workbook. LIST gives the thirteen export order
// numbers (0 = left out); without it the numbers the export dialogs saved are used, or
// every value in order. The separator and sheet name come from the saved settings unless
// given. Exit status 0, 1 when the choice or a file is refused (the message on stderr).
int exportRecords(const ExportRequest& request, const ExportRequest::Records& records, const DocumentOpener& open);

}  // namespace pemo
