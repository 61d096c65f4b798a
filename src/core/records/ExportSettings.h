#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace pemo {

class VariableNameList;

// The choices of the text and workbook exports, remembered in "PemExTxt.dic" (thirteen
// int32 order numbers, then the separator index) and "PemExXls.dic" (the order numbers,
// then the sheet name as an archive text) in the program folder — the layout of the
// import settings.
class ExportSettings {
public:
    enum class Kind { Text, Workbook };

    // Targets 0 … 12: variables 1 … 10, 原价, 现价, 折扣 (the record's value indices).
    static constexpr int kTargetCount = 13;
    // A workbook sheet name holds at most this many characters.
    static constexpr int kMaxSheetName = 31;

    explicit ExportSettings(Kind kind);

    static QString fileName(Kind kind);
    char separator() const;

    QByteArray encode() const;
    // A file too short for its form gives the defaults; an order number outside 0 … 13
    // becomes 0 and a separator index outside the list 0 (",").
    static ExportSettings decode(Kind kind, const QByteArray& bytes);
    static ExportSettings load(Kind kind);
    // Replaces the settings file (also a read-only one); false when it cannot be written.
    bool save() const;

    // "全部导出": every target, in target order.
    void selectAll();
    // The dialog's checks, in order; the message of the first that fails, else empty.
    QString check(const QString& fileName, const VariableNameList& names) const;
    // The targets with a number, by number (equal numbers by target).
    std::vector<int> order() const;
    // The workbook's column caption of a target: the variable's name (GBK, no braces),
    // "原价", "现价", "折扣".
    static QByteArray caption(int target, const VariableNameList& names);
    // Why a sheet name cannot be used in a workbook, or empty.
    static QString sheetNameProblem(const QString& name);

    Kind kind;
    std::array<int32_t, kTargetCount> orders{};  // 0 = not exported
    int32_t separatorIndex = 0;                   // text files
    QByteArray sheetName;                         // workbooks, GBK
};

}  // namespace pemo
