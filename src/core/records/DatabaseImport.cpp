#include "DatabaseImport.h"

#include <algorithm>

#include "CellText.h"
#include "DatabaseQuery.h"
#include "DatabaseSource.h"
#include "core/codecs/Archive.h"

namespace pemo {

QString DatabaseImport::noMatchMessage() { return QString::fromUtf8("没有符合条件的数据。"); }

QString DatabaseImport::check(const DatabaseSelection& selection, const VariableNameList& names) {
    if (selection.path.isEmpty()) return QString::fromUtf8("空文件名。");
    if (selection.table.isEmpty()) return QString::fromUtf8("表名不能为空。");
    const auto& fields = selection.fields;
    if (std::all_of(fields.begin(), fields.end(), [](const QString& f) { return f.isEmpty(); })) {
        return QString::fromUtf8("在配置中，所有字段空，文件无法导入。");
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].isEmpty()) continue;
        for (size_t j = i + 1; j < fields.size(); ++j) {
            if (fields[j] == fields[i]) {
                return QString::fromUtf8("在配置中，%1和%2的字段名相同，文件无法导入。")
                    .arg(ImportSettings::targetName(int(i), names),
                         ImportSettings::targetName(int(j), names));
            }
        }
    }
    return QString();
}

RecordImport::Columns DatabaseImport::columns(const DatabaseSelection& selection) {
    RecordImport::Columns columns{};
    for (size_t k = 0; k < columns.size(); ++k) {
        columns[k] = selection.fields[k].isEmpty() ? 0 : int32_t(k) + 1;
    }
    return columns;
}

bool DatabaseImport::read(const DatabaseSelection& selection, CellTable& out, QString& message,
                          const DatabaseQuery::Limits& limits) {
    out = CellTable();
    message.clear();
    // Only the columns the mapping and the condition need are read.
    DatabaseTable table;
    if (!DatabaseSource::rows(selection, table, message)) return false;
    // Where each target's field is among the columns read (-1: not mapped, or binary).
    std::array<int, ImportSettings::kTargetCount> source{};
    for (size_t k = 0; k < source.size(); ++k) {
        source[k] = -1;
        for (size_t c = 0; c < table.columns.size(); ++c) {
            if (!selection.fields[k].isEmpty() && table.columns[c].name == selection.fields[k]) source[k] = int(c);
        }
    }
    std::vector<int> rows;
    if (!DatabaseQuery::filter(selection.table, table, selection.condition, rows, message, limits)) {
        return false;
    }

    CellTable cells;
    cells.columns = ImportSettings::kTargetCount;
    cells.rows.resize(rows.size());
    CellText text;
    try {
        for (size_t r = 0; r < rows.size(); ++r) {
            const QStringList& row = table.rows[size_t(rows[r])];
            std::vector<QByteArray>& target = cells.rows[r];
            target.resize(size_t(ImportSettings::kTargetCount));
            for (size_t k = 0; k < source.size(); ++k) {
                if (source[k] < 0) continue;
                target[k] = text.toGbk(row.at(source[k]), rows[r] + 1, table.columns[size_t(source[k])].position);
            }
        }
    } catch (const FormatError& error) {
        message = error.message();
        return false;
    }
    out = std::move(cells);
    return true;
}

}  // namespace pemo
