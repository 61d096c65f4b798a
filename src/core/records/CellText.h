#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace pemo {

// Turns the cells readers find (Unicode text, numbers, dates) into the GBK texts the
// records keep. A character GBK cannot hold is refused with a message naming its row
// and column (1-based), never turned into "?".
class CellText {
public:
    CellText();

    // The cell's text in GBK; throws FormatError naming the row, column and character
    // when GBK cannot hold one of its characters.
    QByteArray toGbk(QStringView text, int row, int column);
    // The same for UTF-8 bytes.
    QByteArray utf8ToGbk(const char* utf8, qsizetype size, int row, int column);

    // The message for a character GBK cannot hold.
    static QString badCharacterMessage(int row, int column, const QString& character);
    // The first character of text that GBK cannot hold (a surrogate pair stays whole).
    static QString firstUnmappable(QStringView text);

    // "工作簿中没有名为“%1”的工作表。"
    static QString missingSheetMessage(const QString& sheetName);
    // The index of the sheet called name: an exact match first, then one that differs
    // only in case (a trailing "$" as the old drivers wrote it is ignored); an empty name
    // takes the first sheet. -1 when there is none.
    static int findSheet(const QStringList& sheetNames, const QString& name);

    // A number as the cell shows it: whole numbers without a decimal point or exponent,
    // others with at most 15 significant digits, never an exponent (12, 19.99,
    // 1234567890123, 0.000015).
    static QString formatNumber(double value);
    // A workbook date serial (days since 1899-12-30, or since 1904-01-01 in a 1904
    // workbook) as "yyyy-mm-dd", with " hh:mm:ss" when withTime, or only "hh:mm:ss"
    // when dateless. An impossible serial gives the number itself.
    enum class DateForm { Date, DateTime, Time };
    static QString formatDate(double serial, bool date1904, DateForm form);

private:
    QStringEncoder encoder_;
    QStringDecoder decoder_;
};

}  // namespace pemo
