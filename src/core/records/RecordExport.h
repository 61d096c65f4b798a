#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace pemo {

class CPatDoc;

// Writes the values of every record of a document, in list order (empty records too),
// to a delimited text file or to a workbook (.xlsx). targets are the value indices in
// export order (ExportSettings::order). The target file is replaced only when the whole
// output was written; any failure throws IoError with the text to show and leaves the
// old file as it was.
class RecordExport {
public:
    enum class Encoding { Gbk, Utf8WithBom };

    // One line: every value in double quotes (quotes inside doubled), joined by the
    // separator, ended by CR LF. GBK bytes.
    static void appendLine(QByteArray& out, const std::vector<QByteArray>& fields, char separator);
    // The whole text file.
    static QByteArray text(const CPatDoc& doc, const std::vector<int>& targets, char separator,
                           Encoding encoding = Encoding::Gbk);
    static void writeText(const CPatDoc& doc, const std::vector<int>& targets, char separator,
                          const QString& path, Encoding encoding = Encoding::Gbk);
    // A workbook with one sheet: a header row of the targets' captions, then one row of
    // text cells per record. sheetName is Unicode. Control characters a workbook cannot
    // hold are left out of the cells; returns how many cells lost some, for
    // cleanedCellsMessage().
    static int writeWorkbook(const CPatDoc& doc, const std::vector<int>& targets,
                             const QString& sheetName, const QString& path);
    // "%d个单元格中有工作簿不能保存的控制字符，已去掉。"
    static QString cleanedCellsMessage(int cells);

    // The path a workbook export writes: a name ending in ".xls" becomes ".xlsx".
    static QString workbookPath(const QString& chosen);
};

}  // namespace pemo
