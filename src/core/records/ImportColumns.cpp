#include "ImportColumns.h"

#include <algorithm>

#include "MappingGuess.h"
#include "RecordImport.h"
#include "TableSheet.h"
#include "core/codecs/Gbk.h"
#include "core/document/InfoRecord.h"
#include "core/text/PriceNumber.h"

namespace pemo {

namespace {

// How far down a column a label looks for its first value.
constexpr int kLabelRows = 20;

}  // namespace

QStringList ImportColumns::firstRow(const TableSheet& sheet) {
    QStringList cells;
    for (int column = 1; column <= sheet.totalColumns(); ++column) {
        cells.append(Gbk::toUnicode(sheet.cell(column, 1)));
    }
    return cells;
}

bool ImportColumns::firstRowIsHeader(const TableSheet& sheet, const ImportSettings::Columns& columns,
                                     const VariableNameList& names) {
    if (sheet.totalRows() < 1) return false;
    QList<int> priceColumns;
    for (int target = InfoRecord::kOriginalPrice; target <= InfoRecord::kDiscount; ++target) {
        const int column = columns[size_t(target)];
        if (column >= 1 && column <= sheet.totalColumns()) priceColumns.append(column);
    }
    if (priceColumns.isEmpty()) {
        for (int column = 1; column <= sheet.totalColumns(); ++column) priceColumns.append(column);
    }
    for (int column : priceColumns) {
        if (PriceNumber::isNumber(sheet.cell(column, 1))) return false;
    }
    const int rows = std::min(sheet.totalRows(), kLabelRows);
    for (int row = 2; row <= rows; ++row) {
        for (int column : priceColumns) {
            if (PriceNumber::isNumber(sheet.cell(column, row))) return true;
        }
    }
    return MappingGuess::mappedCount(MappingGuess::guess(firstRow(sheet), names)) > 0;
}

QString ImportColumns::bareLabel(int column) { return QString::fromUtf8("列%1").arg(column); }

QString ImportColumns::label(const TableSheet& sheet, int column) {
    const int rows = std::min(sheet.totalRows(), kLabelRows);
    for (int row = 1; row <= rows; ++row) {
        const QString text =
            Gbk::toUnicode(RecordImport::cutText(sheet.cell(column, row).trimmed(), kLabelBytes))
                .simplified();
        if (!text.isEmpty()) return bareLabel(column) + QString::fromUtf8("：") + text;
    }
    return bareLabel(column);
}

QStringList ImportColumns::labels(const TableSheet& sheet, int count) {
    QStringList out;
    for (int column = 1; column <= count; ++column) {
        out.append(column <= sheet.totalColumns() ? label(sheet, column) : bareLabel(column));
    }
    return out;
}

}  // namespace pemo
