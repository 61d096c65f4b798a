#include "GridCells.h"

#include "DelimitedText.h"

#include <algorithm>

namespace pemo {

namespace GridCells {

Copies parseCopies(const QString& text) {
    Copies result;
    if (text.trimmed().isEmpty()) {
        result.problem = QString::fromUtf8("请键入一个整数。");
        return result;
    }
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < 0 || value > kMaxCopies) {
        result.problem =
            QString::fromUtf8("“请填入一个在%1和%2之间的整数。”").arg(0).arg(kMaxCopies);
        return result;
    }
    result.copies = static_cast<int>(value);
    return result;
}

namespace {

// Every line of two or more splits into the same number of fields, more than one, and
// no field after a comma starts with a space: "5L, 桶装" is a value, not two.
bool looksLikeCsv(const CellTable& table) {
    if (table.rows.size() < 2 || table.columns < 2) return false;
    for (const auto& row : table.rows) {
        if (int(row.size()) != table.columns) return false;
        if (std::any_of(row.begin() + 1, row.end(), [](const QByteArray& cell) { return cell.startsWith(' '); })) {
            return false;
        }
    }
    return true;
}

void normaliseLineBreaks(CellTable& table) {
    for (auto& row : table.rows) {
        for (QByteArray& cell : row) {
            if (!cell.contains('\n') && !cell.contains('\r')) continue;
            cell.replace("\r\n", "\n");
            cell.replace('\r', '\n');
            cell.replace("\n", "\r\n");
        }
    }
}

}  // namespace

CellTable parseClipboard(const QString& text, bool csv) {
    const QByteArray bytes = text.toUtf8();
    CellTable table;
    if (text.contains(QLatin1Char('\t'))) {
        table = DelimitedText::parse(bytes, '\t');
    } else {
        table = DelimitedText::parse(bytes, ',');
        // A single cell or a column may well hold commas of its own.
        if (!csv && !looksLikeCsv(table)) table = DelimitedText::parse(bytes, '\t');
    }
    normaliseLineBreaks(table);
    // Blank lines after the block carry no cells.
    while (!table.rows.empty() &&
           std::all_of(table.rows.back().begin(), table.rows.back().end(),
                       [](const QByteArray& cell) { return cell.isEmpty(); })) {
        table.rows.pop_back();
    }
    return table;
}

QString toClipboard(const std::vector<QStringList>& rows) {
    QStringList lines;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (QString field : row) {
            field.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (field.contains(QLatin1Char('\t')) || field.contains(QLatin1Char('"')) ||
                field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
                field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
                field = QLatin1Char('"') + field + QLatin1Char('"');
            }
            fields.append(field);
        }
        lines.append(fields.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace GridCells

}  // namespace pemo
