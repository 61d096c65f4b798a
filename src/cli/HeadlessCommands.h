#pragma once

#include <QString>
#include <functional>

#include "CommandRequests.h"

namespace pemo {

class CPatDoc;

// The commands the program carries out without a display, each on the request the
// command-line parser (CommandParser.h) made:
//   --dump FILE                 print a document or template as JSON
//   --export OUT FILE …         FILE as a document, a picture of one record's page, a PDF
//                               of the print queue or of the record list (PdfExport.h), or
//                               the records' values (ExportRecordsCommand.h)
//   --import DATA … --export OUT …  records from a text file, workbook or database (ImportCommand.h)
//   --check FILE …              the check before printing (CheckCommand.h); exit status 3
//                               when it finds something
//   --update FILE --from DATA … --export OUT …  a price list applied (UpdateCommand.h)
// Exit status 0 on success, 1 when a file is refused (the message on stderr).
// A run that runs out of memory ends with exit status 1 and says so; nothing is written.
int runHeadlessCommand(const CommandRequest& request);

// Opens a document, or reads a template into a new one-record document; throws FileError
// with the text to show. Returns the file's version.
int openDocument(CPatDoc& doc, const QString& path);

// Reads the document to export into a fresh document, given the request's `in`; throws
// FileError with the text to show.
using DocumentOpener = std::function<void(CPatDoc&, const QString& path)>;
// Writes the document open reads as the request asks.
int runExport(const ExportRequest& request, const DocumentOpener& open);

}  // namespace pemo
