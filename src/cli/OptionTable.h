#pragma once

// Every option of the headless commands, declared once: its name, whether it takes a
// value, the parts of a command line that take it, and how its value is checked and kept.
#include <QSizeF>
#include <QString>

#include "CommandRequests.h"

namespace pemo {

// The parts of a command line an option may stand in (bits of OptionEntry::sections).
enum OptionSection : unsigned {
    kPictureSection = 1u << 0,  // --export OUT.png|OUT.bmp|OUT.vxq FILE
    kPdfSection = 1u << 1,      // --export OUT.pdf FILE
    kRecordsSection = 1u << 2,  // --export OUT.csv|OUT.txt|OUT.xlsx FILE
    kCheckSection = 1u << 3,    // --check FILE
    kImportSection = 1u << 4,   // before --export in --import DATA and --update FILE
    kUpdateSection = 1u << 5,   // before --export in --update FILE only
};

// The options a rule looks at as a group, whatever their values (bits of
// OptionEntry::group and OptionValues::groups).
enum OptionGroup : unsigned {
    kNoGroup = 0,
    kPictureGroup = 1u << 0,  // options only a picture takes
    kLabelGroup = 1u << 1,    // --label, --start, --outline: --mode labels only
    kListGroup = 1u << 2,     // --all, --empty-columns: --mode list only
};

// The values a command line's options set, each checked as it was read; the parser
// makes the command's request of them.
struct OptionValues {
    unsigned groups = 0;  // the groups of the options given
    bool given(OptionGroup group) const { return (groups & group) != 0; }

    ExportRequest::Picture picture;

    // The print job of --check and --export OUT.pdf. The mode is looked up once every
    // option is read: --no-background picks the modes without background.
    QString modeName = QStringLiteral("by-item");
    bool withBackground = true;
    QSizeF paper{210, 297};
    PrintSettings print;
    int pdfDpi = 300;
    PrintTable::Options list;

    ExportRequest::Records records;

    ImportSource source;
    QString templatePath;
    int keyTarget = -1;  // --match, 0-based
};

struct OptionEntry {
    const char* name;
    bool takesValue;
    unsigned sections;
    OptionGroup group;
    // Checks the value (empty for an option without one) and keeps it; false refuses it
    // as "bad NAME: VALUE". A check with more to say throws its own UsageProblem.
    bool (*keep)(OptionValues& values, const QString& value);
};

// Keeps the DATA of --import (its first word) and of --update (--from): where the rows
// come from.
bool keepData(OptionValues& values, const QString& word);

// The option of that name that one of the sections takes, or none.
const OptionEntry* findOption(const QString& name, unsigned sections);

}  // namespace pemo
