#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace pemo {

// One row an Access file keeps for a saved query in its table of queries (MSysQueries).
struct SavedQueryRow {
    int attribute = 0;
    int flag = 0;
    QString expression;
    QString name1;
    QString name2;
};

// A saved select query of an Access file, made from its rows into one SQLite statement over
// copies of the tables it reads: the file's driver lists saved queries but cannot run them.
// Only what SQLite computes as Access does is taken; anything else (parameters, other kinds
// of query, TOP, "&", "+", subtraction, Mod, True, functions without a like-for-like
// counterpart) makes no query, so a query is offered only when it can be read as Access would.
class SavedQuery {
public:
    struct Source {
        QString table;
        QString alias;  // empty when none
        QString reference() const { return alias.isEmpty() ? table : alias; }
    };
    struct Column {
        QString name;  // as the query names it
        // For a column taken as it is: the table (or alias) named before the point, if
        // any, and the column. Empty column for a computed one.
        QString tableReference;
        QString column;
    };

    static std::optional<SavedQuery> fromRows(const std::vector<SavedQueryRow>& rows);
    // An Access expression as SQLite's; nullopt when it holds what SQLite would compute
    // differently or not at all.
    static std::optional<QString> expression(const QString& access);

    const std::vector<Source>& sources() const { return sources_; }
    // Empty for a query of every column of its tables ("SELECT *").
    const std::vector<Column>& columns() const { return columns_; }
    bool selectsAll() const { return columns_.empty(); }
    const QString& statement() const { return statement_; }

private:
    // expression(), listing in names the column names it holds that nothing qualifies.
    static std::optional<QString> translate(const QString& access, QStringList* names);

    std::vector<Source> sources_;
    std::vector<Column> columns_;
    QString statement_;
};

}  // namespace pemo
