#include "DatabaseQuery.h"

#include "CellText.h"

#include <sqlite3.h>

#include <QElapsedTimer>
#include <functional>
#include <algorithm>
#include <memory>

namespace pemo {

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using SqlStatement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

QString sqliteError(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

SqlStatement prepare(sqlite3* db, const QByteArray& sql, const char** tail = nullptr) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, tail) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return SqlStatement(statement);
}

// Nothing but reading the one table: no ATTACH, no pragmas, no writes.
int readOnlyAuthorizer(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
    case SQLITE_SELECT: case SQLITE_READ: case SQLITE_FUNCTION: case SQLITE_RECURSIVE:
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

// The watch the progress handler keeps over a running condition.
struct Watch {
    const DatabaseQuery::Limits* limits = nullptr;
    QElapsedTimer clock;
    bool timedOut = false;
    bool cancelled = false;
};

int watchProgress(void* context) {
    auto* watch = static_cast<Watch*>(context);
    if (watch->clock.elapsed() > watch->limits->milliseconds) {
        watch->timedOut = true;
        return 1;
    }
    if (watch->limits->cancelled && watch->limits->cancelled()) {
        watch->cancelled = true;
        return 1;
    }
    return 0;
}

// Caps SQLite's heap for the life of the object. The cap is the library's, not the
// connection's; nothing else runs SQLite while a condition does (one thread).
class HeapCap {
public:
    explicit HeapCap(int64_t bytes)
        : before_(sqlite3_hard_heap_limit64(-1)) {
        sqlite3_hard_heap_limit64(sqlite3_memory_used() + bytes);
    }
    ~HeapCap() { sqlite3_hard_heap_limit64(before_); }
    HeapCap(const HeapCap&) = delete;
    HeapCap& operator=(const HeapCap&) = delete;

private:
    sqlite3_int64 before_;
};

// Texts compare as SQLite does, or without regard to case.
enum class TextComparison { Exact, Caseless };

bool copyRows(sqlite3* db, const QString& tableName, const DatabaseTable& table, QString& message,
              TextComparison comparison = TextComparison::Exact) {
    QStringList definitions;
    QStringList names;
    for (const DatabaseColumn& column : table.columns) {
        const QString name = DatabaseQuery::quoted(column.name);
        if (name.isEmpty()) {
            message = QString::fromUtf8("字段名“%1”中不能有“]”。").arg(column.name);
            return false;
        }
        names << name;
        definitions << name + (column.isNumber()                            ? QLatin1String(" NUMERIC")
                               : comparison == TextComparison::Caseless ? QLatin1String(" TEXT COLLATE NOCASE")
                                                                        : QLatin1String(" TEXT"));
    }
    const QString quotedTable = DatabaseQuery::quoted(tableName);
    if (quotedTable.isEmpty() || names.isEmpty()) {
        message = QString::fromUtf8("表名“%1”中不能有“]”。").arg(tableName);
        return false;
    }
    const QString create = QStringLiteral("CREATE TABLE %1 (%2)").arg(quotedTable, definitions.join(QStringLiteral(", ")));
    if (sqlite3_exec(db, create.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        message = sqliteError(db);
        return false;
    }
    QStringList marks;
    for (qsizetype i = 0; i < names.size(); ++i) marks << QStringLiteral("?");
    const QString insertText = QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (?, %3)")
                                   .arg(quotedTable, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    const SqlStatement insert = prepare(db, insertText.toUtf8());
    if (!insert) {
        message = sqliteError(db);
        return false;
    }
    QByteArray utf8;
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        sqlite3_bind_int64(insert.get(), 1, sqlite3_int64(r));
        for (size_t c = 0; c < table.columns.size(); ++c) {
            const int slot = int(c) + 2;
            const QString& value = row.at(qsizetype(c));
            bool ok = false;
            if (value.isNull()) {
                sqlite3_bind_null(insert.get(), slot);
            } else if (table.columns[c].kind == DatabaseColumn::Kind::Integer &&
                       (void(value.toLongLong(&ok)), ok)) {
                sqlite3_bind_int64(insert.get(), slot, value.toLongLong());
            } else if (table.columns[c].isNumber() && (void(value.toDouble(&ok)), ok)) {
                sqlite3_bind_double(insert.get(), slot, value.toDouble());
            } else {
                utf8 = value.toUtf8();
                sqlite3_bind_text(insert.get(), slot, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(insert.get()) != SQLITE_DONE) {
            message = sqliteError(db);
            return false;
        }
        sqlite3_reset(insert.get());
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return true;
}

Database openMemoryDatabase(QString& message) {
    sqlite3* opened = nullptr;
    if (sqlite3_open_v2(":memory:", &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr) != SQLITE_OK) {
        message = opened ? sqliteError(opened) : QStringLiteral("SQLite is not available.");
        sqlite3_close(opened);
        return nullptr;
    }
    return Database(opened);
}

// Runs one read-only statement over what db holds, under the limits, handing each row to
// onRow. False with message (empty when cancelled).
bool runReadOnly(sqlite3* db, const QString& statement, const DatabaseQuery::Limits& limits,
                 const std::function<void(sqlite3_stmt*)>& onRow, QString& message) {
    sqlite3_set_authorizer(db, readOnlyAuthorizer, nullptr);
    const char* tail = nullptr;
    const QByteArray sql = statement.toUtf8();  // tail points into it
    const SqlStatement select = prepare(db, sql, &tail);
    if (!select) {
        message = sqliteError(db);
        return false;
    }
    if ((tail && QByteArray(tail).trimmed().size() > 0) || !sqlite3_stmt_readonly(select.get())) {
        message = QString::fromUtf8("导入条件只能是一个条件，不能含有“;”。");
        return false;
    }
    Watch watch;
    watch.limits = &limits;
    watch.clock.start();
    sqlite3_progress_handler(db, 1000, watchProgress, &watch);
    int rc = SQLITE_ROW;
    {
        const HeapCap cap(limits.memoryBytes);
        while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) onRow(select.get());
    }
    if (rc == SQLITE_DONE) return true;
    if (watch.cancelled) {
        message.clear();
    } else if (watch.timedOut) {
        message = DatabaseQuery::timeoutMessage();
    } else if (rc == SQLITE_NOMEM || rc == SQLITE_TOOBIG) {
        message = DatabaseQuery::memoryMessage();
    } else {
        message = sqliteError(db);
    }
    return false;
}

}  // namespace

QString DatabaseQuery::timeoutMessage() { return QString::fromUtf8("条件执行超时"); }

QString DatabaseQuery::memoryMessage() { return QString::fromUtf8("条件执行所需内存超出限制"); }

QString DatabaseQuery::quoted(const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char(']'))) return QString();
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString DatabaseQuery::statement(const QString& table, const QStringList& fields,
                                 const QString& condition) {
    QStringList names;
    for (const QString& field : fields) {
        const QString name = quoted(field);
        if (name.isEmpty()) return QString();
        names << name;
    }
    const QString from = quoted(table);
    if (names.isEmpty() || from.isEmpty()) return QString();
    QString text = QStringLiteral("SELECT ") + names.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + from;
    if (!condition.trimmed().isEmpty()) text += QStringLiteral(" WHERE ") + condition.trimmed();
    return text;
}

QString DatabaseQuery::checkCondition(const QString& condition) {
    QChar quote;
    for (QChar c : condition) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
        } else if (c == QLatin1Char(';') || c == QChar(0xFF1B)) {
            return QString::fromUtf8("导入条件只能是一个条件，不能含有“;”。");
        }
    }
    return QString();
}

bool DatabaseQuery::filter(const QString& tableName, const DatabaseTable& table,
                           const QString& condition, std::vector<int>& rows, QString& message,
                           const Limits& limits) {
    rows.clear();
    message.clear();
    const QString trimmed = condition.trimmed();
    if (trimmed.isEmpty()) {
        rows.resize(table.rows.size());
        for (size_t i = 0; i < rows.size(); ++i) rows[i] = int(i);
        return true;
    }
    message = checkCondition(trimmed);
    if (!message.isEmpty()) return false;
    const Database db = openMemoryDatabase(message);
    if (!db || !copyRows(db.get(), tableName, table, message)) return false;
    const QString sql = QStringLiteral("SELECT rowid FROM ") + quoted(tableName) + QStringLiteral(" WHERE (") +
                        trimmed + QLatin1Char(')');
    const auto keep = [&](sqlite3_stmt* select) {
        const sqlite3_int64 row = sqlite3_column_int64(select, 0);
        if (row >= 0 && row < sqlite3_int64(table.rows.size())) rows.push_back(int(row));
    };
    if (!runReadOnly(db.get(), sql, limits, keep, message)) {
        rows.clear();
        return false;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return true;
}

bool DatabaseQuery::select(const std::vector<NamedTable>& tables, const QString& statement,
                           std::vector<QStringList>& rows, QString& message, const Limits& limits) {
    rows.clear();
    message.clear();
    const Database db = openMemoryDatabase(message);
    if (!db) return false;
    for (const NamedTable& t : tables) {
        if (!copyRows(db.get(), t.name, *t.table, message, TextComparison::Caseless)) return false;
    }
    const auto keep = [&](sqlite3_stmt* select) {
        QStringList row;
        const int count = sqlite3_column_count(select);
        for (int c = 0; c < count; ++c) {
            // A computed number as the import writes numbers ("2.5", "5", never "5.0").
            if (sqlite3_column_type(select, c) == SQLITE_FLOAT) {
                row << CellText::formatNumber(sqlite3_column_double(select, c));
                continue;
            }
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(select, c));
            row << (text ? QString::fromUtf8(text, sqlite3_column_bytes(select, c)) : QString());
        }
        rows.push_back(std::move(row));
    };
    if (!runReadOnly(db.get(), statement, limits, keep, message)) {
        rows.clear();
        return false;
    }
    return true;
}

}  // namespace pemo
