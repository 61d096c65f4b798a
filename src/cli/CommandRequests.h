#pragma once

// What each headless command is asked to do, as the command-line parser (CommandParser.h)
// reads it: every value checked, every option in its place. The commands receive these
// and never see the arguments.
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <variant>

#include "core/print/PrintSettings.h"
#include "core/print/PrintTable.h"
#include "core/records/ExportSettings.h"
#include "core/records/RecordImport.h"

namespace pemo {

// --dump FILE
struct DumpRequest {
    QString file;
};

// --export OUT FILE [options]: FILE (a document or template) written as OUT, in the form
// OUT's name asks for.
struct ExportRequest {
    // OUT.vxq: the document itself.
    struct Document {};
    // OUT.png, OUT.bmp: one record's page.
    struct Picture {
        int record = 1;  // 1-based
        int dpi = 150;
        bool withBackground = true;
        bool templateMode = false;  // placeholders show their names
    };
    // OUT.pdf: the print queue as the print command prints it, label sheets included.
    struct Pdf {
        PrintSettings settings;
        QSizeF paper{210, 297};  // the PDF's page, millimetres
        int dpi = 300;
    };
    // OUT.pdf --mode list: the record list as a table.
    struct List {
        PrintTable::Options options;
        QSizeF paper{210, 297};
        int dpi = 300;
    };
    // OUT.csv, OUT.txt, OUT.xlsx: the records' values.
    struct Records {
        using Orders = std::array<int32_t, ExportSettings::kTargetCount>;
        std::optional<Orders> orders;   // none: the saved choice
        std::optional<char> separator;  // none: the saved choice
        bool workbook = false;          // .xlsx, else delimited text
    };

    QString out;
    // The document written: FILE, or for --import and --update their DATA and FILE.
    QString in;
    std::variant<Document, Picture, Pdf, List, Records> form;
};

// --check FILE [print options]
struct CheckRequest {
    QString file;
    PrintSettings settings;
};

// The rows --import and --update read, and how.
struct ImportSource {
    QString data;
    QString sheet;  // workbooks: empty for the first
    char separator = ',';
    bool header = false;  // text files: the first line is no record
    // The targets' columns by number, or (database tables) by name; at most one is set.
    std::optional<RecordImport::Columns> columns;
    std::optional<QStringList> fieldNames;
    QString table;      // database files
    QString condition;  // database files
};

// --import DATA [data options] [--template T.vxt] --export OUT [export options]
struct ImportRequest {
    ImportSource source;
    QString templatePath;
    ExportRequest output;  // in: DATA
};

// --update FILE --from DATA --match T [data options] [--template T.vxt] --export OUT …
struct UpdateRequest {
    QString document;
    int keyTarget = 0;  // 0-based: 0-9 the variables, 10-12 the prices
    ImportSource source;
    QString templatePath;
    ExportRequest output;  // in: FILE
};

using CommandRequest = std::variant<DumpRequest, ExportRequest, ImportRequest, UpdateRequest, CheckRequest>;

}  // namespace pemo
