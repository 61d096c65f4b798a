#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "DatabaseTable.h"
#include "SavedQuery.h"

class QTemporaryDir;

namespace pemo {

// A read-only connection to a desktop database file through unixODBC's plain API. The
// driver is chosen by the file's first bytes (a SQLite file or a Jet/ACE file), never by
// its name; there is no data source and no driver dialog. Everything read is UTF-8 text
// from the driver turned into QString.
class OdbcConnection {
public:
    enum class Driver { None, Sqlite, Access };

    OdbcConnection();
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // The driver a file needs, by its first bytes: "SQLite format 3\0" at 0, "Standard
    // Jet DB" or "Standard ACE DB" at 4.
    static Driver driverFor(const QByteArray& firstBytes);
    // The installed driver's name as odbcinst.ini lists it ("SQLite3", "MDBTools").
    static QString driverName(Driver driver);
    // The connection string that opens a file for reading only; empty when the path
    // cannot be written into one (';', '{', '}', '=' or spaces at its ends: the drivers
    // read no quoting).
    static QString connectionString(Driver driver, const QString& path);
    // "数据库文件“<path>”已损坏，无法读取。"
    static QString damagedMessage(const QString& path);
    // Whether unixODBC knows a driver of that name.
    static bool isDriverInstalled(const QString& name);

    // Connects to the file for reading; false with message() on failure (a file that is
    // not a database, a missing driver named, the driver's own words). Nothing is written
    // to the file or beside it: a SQLite file with a journal or a write-ahead log is read
    // from a private copy in the temp folder.
    bool open(const QString& path);
    void close();
    bool isOpen() const;
    Driver driver() const { return driver_; }
    const QString& message() const { return message_; }

    // The user tables in catalogue order (no system tables, no views), then an Access
    // file's saved select queries that can be read as Access would (see SavedQuery), in
    // catalogue order. Empty with message() when the catalogue could not be read.
    QStringList tables();
    // The columns of a table or saved query in catalogue (or the query's) order.
    std::vector<DatabaseColumn> columns(const QString& table);
    // Every row of the named columns of a table or saved query, as text (see
    // DatabaseTable). Progress is not reported; false with message() when the driver fails.
    bool readTable(const QString& table, const std::vector<DatabaseColumn>& columns,
                   DatabaseTable& out);

private:
    bool fail(short handleType, void* handle, const QString& what);
    // Whether reading a SQLite file in place would need to write (a journal or a log).
    static bool needsPrivateCopy(const QString& path);
    bool makePrivateCopy(const QString& path, QString& copy);
    // Whether the SQLite file's list of tables can be read; else message() says the
    // file is damaged.
    bool schemaIsReadable(const QString& path);
    QString formatValue(const DatabaseColumn& column, const QByteArray& raw) const;
    QStringList userTables();
    std::vector<DatabaseColumn> driverColumns(const QString& table);
    bool readDriverTable(const QString& table, const std::vector<DatabaseColumn>& columns, DatabaseTable& out);

    // An Access file's saved queries that can be run, read from its system tables on
    // first use: by name, and their names in catalogue order.
    struct SavedQueries {
        std::map<QString, SavedQuery> byName;
        QStringList names;
    };
    const SavedQueries& savedQueries();
    const SavedQuery* savedQuery(const QString& name);
    // The columns a query gives: a column taken as it is keeps its kind, a computed one
    // is text. Empty when a column it takes is not in its table.
    std::vector<DatabaseColumn> queryColumns(const SavedQuery& query);
    // The query's rows over copies of its tables, or with withRows false over empty copies,
    // which tells whether SQLite takes its statement. False with message().
    bool runQuery(const SavedQuery& query, bool withRows, std::vector<QStringList>& rows);

    void* env_ = nullptr;
    void* dbc_ = nullptr;
    bool connected_ = false;
    Driver driver_ = Driver::None;
    // A plain name for an awkward path, or a private copy of a SQLite file.
    std::unique_ptr<QTemporaryDir> privateDir_;
    QString message_;
    std::optional<SavedQueries> savedQueries_;
};

}  // namespace pemo
