#pragma once

#include <QStringList>
#include <functional>
#include <optional>

namespace pemo {

class CPatDoc;

// The commands the program carries out without a display:
//   --dump FILE                 print a document or template as JSON
//   --export OUT.vxq FILE       open FILE (a template becomes a one-record document), save OUT
//   --export OUT.png FILE       one record's page as a picture (PNG, or BMP for OUT.bmp);
//       --record N (1-based, default 1), --dpi D (default 150), --no-background,
//       --template-mode (placeholders show their names); options before or after the paths
//   --export OUT.pdf FILE …     print FILE's queue to a PDF (options in PdfExport.h)
//   --import DATA … --export OUT …  records from a text file or workbook (ImportCommand.h)
//   --check FILE …              the check before printing (CheckCommand.h); exit status 3
//                               when it finds something
//   --update FILE --from DATA … --export OUT …  a price list applied (UpdateCommand.h)
// Exit status 0 on success, 1 when a file is refused, 2 for a usage error. Returns
// nothing when the arguments name no headless command.
std::optional<int> runHeadlessCommand(const QStringList& arguments);

// Opens a document, or reads a template into a new one-record document; throws FileError
// with the text to show. Returns the file's version.
int openDocument(CPatDoc& doc, const QString& path);

// Reads FILE into a fresh document; throws FormatError with the text to show.
using DocumentOpener = std::function<void(CPatDoc&, const QString& path)>;
// The --export forms (arguments as runHeadlessCommand takes them: program, "--export",
// then OUT, FILE and the options), with FILE read by open.
int runExport(const QStringList& arguments, const DocumentOpener& open);

}  // namespace pemo
