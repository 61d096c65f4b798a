#include "DatabaseSource.h"

#include <algorithm>

#include "DatabaseImport.h"
#include "OdbcConnection.h"
#include "core/codecs/Archive.h"
#include "core/platform/SourceFile.h"

namespace pemo {

namespace {

// The reply of a read, the same whether it ran here or came through the child's pipe.
void writeTable(ArchiveWriter& out, const DatabaseTable& table) {
    out.writeInt32(int32_t(table.columns.size()));
    for (const DatabaseColumn& column : table.columns) {
        out.writeText(column.name.toUtf8());
        out.writeText(column.typeName.toUtf8());
        out.writeInt32(int32_t(column.kind));
        out.writeInt32(column.scale);
        out.writeInt32(column.position);
    }
    out.writeInt32(int32_t(table.rows.size()));
    for (const QStringList& row : table.rows) {
        for (const QString& value : row) {
            out.writeByte(value.isNull() ? 0 : 1);
            if (!value.isNull()) out.writeText(value.toUtf8());
        }
    }
}

DatabaseTable readTable(ArchiveReader& in) {
    DatabaseTable table;
    const int32_t columns = in.readCount(4);
    for (int32_t c = 0; c < columns; ++c) {
        DatabaseColumn column;
        column.name = QString::fromUtf8(in.readText());
        column.typeName = QString::fromUtf8(in.readText());
        const int32_t kind = in.readInt32();
        if (kind < 0 || kind > int32_t(DatabaseColumn::Kind::Binary)) throw FormatError(QString());
        column.kind = DatabaseColumn::Kind(kind);
        column.scale = in.readInt32();
        column.position = in.readInt32();
        table.columns.push_back(std::move(column));
    }
    const int32_t rows = in.readCount(columns > 0 ? 1 : 0);
    table.rows.reserve(size_t(rows));
    for (int32_t r = 0; r < rows; ++r) {
        QStringList row;
        row.reserve(columns);
        for (int32_t c = 0; c < columns; ++c) {
            row << (in.readByte() ? QString::fromUtf8(in.readText()) : QString());
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

// What a read gives: ok, the message and the table, as bytes.
QByteArray reply(bool ok, const QString& message, const DatabaseTable& table) {
    ArchiveWriter out;
    out.writeByte(ok ? 1 : 0);
    out.writeText(message.toUtf8());
    if (ok) writeTable(out, table);
    return out.take();
}

// The work itself: the columns of the table, and the rows of the needed ones when
// selection is given.
QByteArray readHere(const QString& path, const QString& table, const DatabaseSelection* selection) {
    OdbcConnection connection;
    if (!connection.open(path)) return reply(false, connection.message(), {});
    DatabaseTable result;
    result.columns = connection.columns(table);
    if (result.columns.empty()) {
        const QString message = connection.message().isEmpty()
                                    ? QString::fromUtf8("数据库中没有名为“%1”的表。").arg(table)
                                    : connection.message();
        return reply(false, message, {});
    }
    if (!selection) return reply(true, QString(), result);
    for (const QString& field : selection->fields) {
        if (field.isEmpty()) continue;
        const bool found = std::any_of(result.columns.begin(), result.columns.end(),
                                       [&](const DatabaseColumn& c) { return c.name == field; });
        if (!found) {
            return reply(false, QString::fromUtf8("表“%1”中没有字段“%2”。").arg(table, field), {});
        }
    }
    const std::vector<DatabaseColumn> wanted = DatabaseSource::needed(*selection, result.columns);
    if (!connection.readTable(table, wanted, result)) return reply(false, connection.message(), {});
    return reply(true, QString(), result);
}

bool read(const QString& path, const QString& table, const DatabaseSelection* selection,
          DatabaseTable& out, QString& message, const ChildRun::Limits& limits) {
    out = DatabaseTable();
    message.clear();
    // A pipe, a device or a file too large is refused before anything opens it.
    message = SourceFile::problem(path);
    if (!message.isEmpty()) return false;
    const QByteArray head = SourceFile::head(path, 32);
    QByteArray bytes;
    if (OdbcConnection::driverFor(head) == OdbcConnection::Driver::Access) {
        const ChildRun::Outcome outcome =
            ChildRun::run([&] { return readHere(path, table, selection); }, limits, bytes);
        if (outcome != ChildRun::Outcome::Done) {
            message = DatabaseSource::overLimitsMessage(path);
            if (outcome == ChildRun::Outcome::Failed)
                message = QString::fromUtf8("无法打开数据库“%1”。").arg(path);
            return false;
        }
    } else {
        bytes = readHere(path, table, selection);
    }
    try {
        ArchiveReader in(bytes);
        const bool ok = in.readByte() != 0;
        message = QString::fromUtf8(in.readText());
        if (!ok) return false;
        out = readTable(in);
    } catch (const FormatError&) {
        message = QString::fromUtf8("无法打开数据库“%1”。").arg(path);
        return false;
    }
    return true;
}

}  // namespace

QString DatabaseSource::overLimitsMessage(const QString& path) {
    return QString::fromUtf8("文件“%1”读取超时或所需内存超出限制，无法导入。").arg(path);
}

std::vector<DatabaseColumn> DatabaseSource::needed(const DatabaseSelection& selection,
                                                   const std::vector<DatabaseColumn>& all) {
    std::vector<DatabaseColumn> wanted;
    for (size_t c = 0; c < all.size(); ++c) {
        const DatabaseColumn& column = all[c];
        if (column.kind == DatabaseColumn::Kind::Binary) continue;
        const bool mapped = std::find(selection.fields.begin(), selection.fields.end(), column.name) !=
                            selection.fields.end();
        // A name the condition mentions anywhere (bare, quoted or in brackets) may be one
        // it uses; reading one column too many costs less than a condition that fails.
        const bool named = selection.condition.contains(column.name, Qt::CaseInsensitive);
        if (mapped || named) {
            wanted.push_back(column);
            wanted.back().position = int(c) + 1;
        }
    }
    return wanted;
}

bool DatabaseSource::columns(const QString& path, const QString& table, std::vector<DatabaseColumn>& out,
                             QString& message, const ChildRun::Limits& limits) {
    DatabaseTable result;
    const bool ok = read(path, table, nullptr, result, message, limits);
    out = std::move(result.columns);
    return ok;
}

bool DatabaseSource::rows(const DatabaseSelection& selection, DatabaseTable& out, QString& message,
                          const ChildRun::Limits& limits) {
    return read(selection.path, selection.table, &selection, out, message, limits);
}

}  // namespace pemo
