#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace pemo {

// One column of a database table as the driver's catalogue describes it.
struct DatabaseColumn {
    // Binary: pictures, OLE objects and other bytes no sign can show; never read.
    enum class Kind { Text, Integer, Real, Money, Date, Binary };

    QString name;
    QString typeName;  // the driver's own ("Currency", "MONEY", "INTEGER" …)
    Kind kind = Kind::Text;
    int scale = 0;  // digits after the point of a decimal column
    int position = 0;  // of a column read for an import: its place in the table, from 1

    bool isNumber() const { return kind == Kind::Integer || kind == Kind::Real || kind == Kind::Money; }
};

// The rows of some columns of a table as the user would type them: money "18.00" (up to
// four decimals when the amount has them, "0.3333"),
// dates "1994-11-16" (with " hh:mm:ss" when the time is not midnight), numbers without
// trailing zeros. A NULL cell is a null QString, an empty text an empty one.
struct DatabaseTable {
    std::vector<DatabaseColumn> columns;
    std::vector<QStringList> rows;
};

}  // namespace pemo
