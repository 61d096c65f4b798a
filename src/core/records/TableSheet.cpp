#include "TableSheet.h"

#include <QFile>
#include <QFileInfo>

#include "DelimitedText.h"
#include "XlsReader.h"
#include "XlsxReader.h"
#include "core/codecs/Archive.h"
#include "core/platform/SourceFile.h"

namespace pemo {

namespace {

const QByteArray& emptyCell() {
    static const QByteArray empty;
    return empty;
}

QString cannotOpen(const QString& path) {
    return QString::fromUtf8("无法打开文件 %1。").arg(path);
}

}  // namespace

TableSheet::TableSheet(const QString& path, char separator, const QString& sheetName,
                       std::optional<DelimitedText::Encoding> encoding) {
    QFile file;
    const QString problem = SourceFile::open(file, path);
    if (!problem.isEmpty()) {
        kind_ = isWorkbookPath(path) ? Kind::Xls : Kind::Text;
        fail(QStringLiteral("Error in opening file\n"), problem);
        return;
    }
    kind_ = kindOf(path, file.peek(8));
    try {
        switch (kind_) {
            case Kind::Xls:
                file.close();
                table_ = XlsReader::read(path, sheetName, &sheetNames_);
                break;
            case Kind::Xlsx:
                table_ = XlsxReader::read(file.readAll(), sheetName, &sheetNames_);
                break;
            case Kind::Text: {
                const QByteArray bytes = file.readAll();
                if (file.error() != QFileDevice::NoError) {
                    fail(QStringLiteral("Error in opening file\n"), cannotOpen(path));
                    return;
                }
                encoding_ = encoding ? *encoding : DelimitedText::detect(bytes);
                table_ = DelimitedText::parse(bytes, separator, encoding_);
                break;
            }
        }
    } catch (const FormatError& error) {
        table_ = CellTable();
        fail(QStringLiteral("Error reading row\n"), error.message());
    }
}

TableSheet::TableSheet(CellTable table, Kind kind) : kind_(kind), table_(std::move(table)) {}

TableSheet::Kind TableSheet::kindOf(const QString& path, const QByteArray& firstBytes) {
    if (firstBytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return Kind::Xls;
    if (firstBytes.startsWith("PK\x03\x04")) return Kind::Xlsx;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xls")) return Kind::Xls;
    if (suffix == QLatin1String("xlsx")) return Kind::Xlsx;
    return Kind::Text;
}

bool TableSheet::isWorkbookPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("xls") || suffix == QLatin1String("xlsx");
}

void TableSheet::fail(const QString& error, const QString& message) {
    lastError_ = error;
    message_ = message;
}

bool TableSheet::readRow(QList<QByteArray>& out, int row) {
    out.clear();
    if (row > totalRows()) {
        lastError_ = QStringLiteral("Desired row is greater than total number of rows in spreadsheet\n");
        return false;
    }
    if (row > 0) currentRow_ = row;
    if (row < 0 || currentRow_ < 1 || currentRow_ > totalRows()) return false;
    for (const QByteArray& field : table_.rows[size_t(currentRow_ - 1)]) out.append(field);
    ++currentRow_;
    return true;
}

bool TableSheet::readCell(int column, int row, QByteArray& out) {
    out.clear();
    if (column == 0) {
        lastError_ = QStringLiteral("Column cannot be zero\n");
        return false;
    }
    const int r = row == 0 ? currentRow_ : row;
    if (column < 0 || r < 1 || r > totalRows()) {
        lastError_ = QStringLiteral("Error reading row\n");
        return false;
    }
    const std::vector<QByteArray>& fields = table_.rows[size_t(r - 1)];
    if (size_t(column) > fields.size()) return false;
    out = fields[size_t(column - 1)];
    return true;
}

const QByteArray& TableSheet::cell(int column, int row) const {
    if (column < 1 || row < 1 || row > totalRows()) return emptyCell();
    const std::vector<QByteArray>& fields = table_.rows[size_t(row - 1)];
    return size_t(column) <= fields.size() ? fields[size_t(column - 1)] : emptyCell();
}

}  // namespace pemo
