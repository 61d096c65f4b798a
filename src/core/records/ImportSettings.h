#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace pemo {

class VariableNameList;

// The column mapping of the text and workbook imports, remembered in "PemImTxt.dic"
// (thirteen int32 columns, then the separator index) and "PemImXls.dic" (the thirteen
// columns, then the sheet name as an archive text) in the program folder.
class ImportSettings {
public:
    enum class Kind { Text, Workbook };

    // Targets 0 … 12: variables 1 … 10, 原价, 现价, 折扣 (the record's value indices).
    static constexpr int kTargetCount = 13;
    static constexpr int kMaxColumn = 200;  // columns 1 … 200; 0 = "空"
    static constexpr int kSeparatorCount = 5;
    // A column number per target.
    using Columns = std::array<int32_t, kTargetCount>;

    explicit ImportSettings(Kind kind) : kind(kind) {}

    static QString fileName(Kind kind);
    // The separator characters of the list: "," ";" ":" "?" ".".
    static char separatorAt(int index);
    char separator() const { return separatorAt(separatorIndex); }

    // Whether the first row names the columns: remembered per kind of file beside the
    // settings file (its form has no room), under Import/TextFirstRowHeader and
    // Import/WorkbookFirstRowHeader. Unknown until the user chose once.
    enum class Header { Unknown, Yes, No };
    static QString headerKey(Kind kind);

    // The file's bytes.
    QByteArray encode() const;
    // Reads the file's bytes. A file too short for its form gives the defaults; a column
    // outside 0 … 200 becomes 0 and a separator index outside the list 0 (",").
    static ImportSettings decode(Kind kind, const QByteArray& bytes);
    // The settings file of that kind from the program folder, or the defaults, and the
    // remembered header choice.
    static ImportSettings load(Kind kind);
    // Replaces the settings file (also a read-only one) and remembers the header choice;
    // false when the file cannot be written.
    bool save() const;

    // The dialog's checks, in order; the message of the first that fails, else empty.
    QString check(const QString& fileName, const VariableNameList& names) const;
    // "{name of variable k+1}" for the ten variables, "{原价}", "{现价}", "{折扣}".
    static QString targetName(int target, const VariableNameList& names);

    Kind kind;
    Columns columns{};
    int32_t separatorIndex = 0;  // text files
    QByteArray sheetName;        // workbooks, GBK
    Header header = Header::Unknown;
};

}  // namespace pemo
