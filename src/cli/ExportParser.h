#pragma once

#include <QStringList>

#include "CommandRequests.h"

namespace pemo {

struct OptionValues;

// The words after --export: OUT, FILE and the options of the form the first word names
// (.pdf, .csv/.txt/.xlsx, else a picture or a document). --import and --update add their
// DATA or FILE as the last word. Throws UsageProblem.
ExportRequest parseExportWords(const QStringList& words);

// The print job that the options read into values ask for (--check and --export OUT.pdf):
// the mode, the sheet and, for label sheets, their paper. Throws UsageProblem.
ExportRequest::Pdf printJobOf(const OptionValues& values);

// Whether OUT names a text file or a workbook of the records' values.
bool isRecordExportPath(const QString& out);

}  // namespace pemo
