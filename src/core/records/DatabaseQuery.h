#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

#include "DatabaseTable.h"

namespace pemo {

// What a condition may take: a condition is the user's own SQL, and a recursive query
// or a huge blob would otherwise run without end or eat the machine.
struct ConditionLimits {
    int milliseconds = 5000;
    int64_t memoryBytes = 256 * 1024 * 1024;  // SQLite's heap beyond what it held before
    // Asked now and then while the condition runs; true stops it.
    std::function<bool()> cancelled;
};

// The statements of the database import and the user's condition. A condition is not
// handed to the file's driver (one driver silently ignores conditions on money columns
// and IS NULL): the table's rows are copied into a SQLite database in memory, with
// numbers as numbers, and the condition runs there, so it means the same for every file.
class DatabaseQuery {
public:
    using Limits = ConditionLimits;

    // "[name]"; empty when the name is empty or holds "]" (no driver reads an escape).
    static QString quoted(const QString& name);
    // "SELECT [a], [b] FROM [t]", with " WHERE condition" when there is one; empty when
    // a name cannot be quoted or no field is given.
    static QString statement(const QString& table, const QStringList& fields,
                             const QString& condition = QString());
    // Why the condition is not one expression (a ";" outside quoted text), else empty.
    static QString checkCondition(const QString& condition);
    // The indices of the rows of table that meet condition (all rows when it is empty),
    // in table order. False with message when SQLite rejects the condition (its own
    // words), it is more than one read-only expression, or it runs over the limits
    // (timeoutMessage(), memoryMessage()); false with an empty message when cancelled.
    static bool filter(const QString& tableName, const DatabaseTable& table,
                       const QString& condition, std::vector<int>& rows, QString& message,
                       const Limits& limits = Limits());

    // A table copied into SQLite under its name for select().
    struct NamedTable {
        QString name;
        const DatabaseTable* table = nullptr;
    };
    // The rows of one read-only statement over copies of tables, as text (NULL as a null
    // QString), texts compared without regard to case as Access compares them. False with
    // message as filter() says.
    static bool select(const std::vector<NamedTable>& tables, const QString& statement,
                       std::vector<QStringList>& rows, QString& message, const Limits& limits = Limits());

    // "条件执行超时"
    static QString timeoutMessage();
    // "条件执行所需内存超出限制"
    static QString memoryMessage();
};

}  // namespace pemo
