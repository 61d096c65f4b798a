#include "OdbcConnection.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>

#include <sql.h>
#include <sqlext.h>

#include "CellText.h"
#include "DatabaseQuery.h"
#include "SavedQuery.h"
#include "core/platform/Folders.h"
#include "core/platform/SourceFile.h"

namespace pemo {

namespace {

// Whether there are columns and no two share a name (as the import needs them).
bool hasDistinctNames(const std::vector<DatabaseColumn>& columns) {
    QStringList names;
    for (const DatabaseColumn& column : columns) {
        if (names.contains(column.name, Qt::CaseInsensitive)) return false;
        names << column.name;
    }
    return !names.isEmpty();
}

// A statement handle freed when it goes out of scope.
class Statement {
public:
    explicit Statement(SQLHDBC dbc) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &handle_))) handle_ = nullptr;
    }
    ~Statement() {
        if (handle_) SQLFreeHandle(SQL_HANDLE_STMT, handle_);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    SQLHSTMT get() const { return handle_; }

private:
    SQLHSTMT handle_ = nullptr;
};

// Column n of the current row as bytes, read in pieces; null when the value is NULL.
bool readText(SQLHSTMT statement, SQLUSMALLINT column, QByteArray& out) {
    out.clear();
    char buffer[4096];
    for (;;) {
        SQLLEN length = 0;
        const SQLRETURN rc =
            SQLGetData(statement, column, SQL_C_CHAR, buffer, sizeof buffer, &length);
        if (rc == SQL_NO_DATA) return true;
        if (!SQL_SUCCEEDED(rc)) return false;
        if (length == SQL_NULL_DATA) {
            out = QByteArray();
            return true;
        }
        const qsizetype got = (length == SQL_NO_TOTAL || length >= SQLLEN(sizeof buffer))
                                  ? qsizetype(sizeof buffer - 1)
                                  : qsizetype(length);
        if (out.isNull()) out = QByteArray("");
        out.append(buffer, got);
        if (rc == SQL_SUCCESS) return true;  // SQL_SUCCESS_WITH_INFO: more to come
    }
}

QString columnText(SQLHSTMT statement, SQLUSMALLINT column) {
    QByteArray raw;
    readText(statement, column, raw);
    return QString::fromUtf8(raw);
}

DatabaseColumn::Kind kindOf(int sqlType, const QString& typeName) {
    const QString upper = typeName.toUpper();
    if (upper.contains(QLatin1String("MONEY")) || upper.contains(QLatin1String("CURRENCY"))) {
        return DatabaseColumn::Kind::Money;
    }
    switch (sqlType) {
    case SQL_INTEGER: case SQL_SMALLINT: case SQL_TINYINT: case SQL_BIGINT: case SQL_BIT:
        return DatabaseColumn::Kind::Integer;
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: case SQL_DECIMAL: case SQL_NUMERIC:
        return DatabaseColumn::Kind::Real;
    case SQL_DATE: case SQL_TIMESTAMP: case SQL_TYPE_DATE: case SQL_TYPE_TIMESTAMP:
        return DatabaseColumn::Kind::Date;
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY:
        return DatabaseColumn::Kind::Binary;
    default:
        break;
    }
    if (upper.contains(QLatin1String("OLE")) || upper.contains(QLatin1String("BLOB")) ||
        upper.contains(QLatin1String("BINARY"))) {
        return DatabaseColumn::Kind::Binary;
    }
    if (upper.startsWith(QLatin1String("DATE"))) return DatabaseColumn::Kind::Date;
    return DatabaseColumn::Kind::Text;
}

int digits(QStringView text, qsizetype from, qsizetype count) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        if (i >= text.size() || !text.at(i).isDigit()) return -1;
        value = value * 10 + text.at(i).digitValue();
    }
    return value;
}

// "1994-11-16 00:00:00", "1994-11-16", "11/16/94 00:00:00", "11/16/1994 00:00:00" as
// "1994-11-16", with " hh:mm:ss" when the time is not midnight; anything else as it came.
// Read by hand: the cells of a large table pass here, and QDateTime asks the time zone.
QString formatDate(const QString& raw) {
    const QString text = raw.trimmed();
    int year = -1, month = -1, day = -1;
    qsizetype rest = 0;
    if (text.size() >= 10 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-')) {
        year = digits(text, 0, 4);
        month = digits(text, 5, 2);
        day = digits(text, 8, 2);
        rest = 10;
    } else if (text.size() >= 8 && text.at(2) == QLatin1Char('/') && text.at(5) == QLatin1Char('/')) {
        month = digits(text, 0, 2);
        day = digits(text, 3, 2);
        const bool fourDigits = text.size() >= 10 && text.at(8).isDigit() && text.at(9).isDigit();
        year = digits(text, 6, fourDigits ? 4 : 2);
        if (!fourDigits && year >= 0) year += year < 30 ? 2000 : 1900;
        rest = fourDigits ? 10 : 8;
    }
    const QDate date(year, month, day);
    if (year < 0 || month < 0 || day < 0 || !date.isValid()) return raw;
    QString out = QStringLiteral("%1-%2-%3")
                      .arg(year, 4, 10, QLatin1Char('0'))
                      .arg(month, 2, 10, QLatin1Char('0'))
                      .arg(day, 2, 10, QLatin1Char('0'));
    const QStringView time = QStringView(text).mid(rest).trimmed();
    if (time.isEmpty()) return out;
    const int hour = digits(time, 0, 2), minute = digits(time, 3, 2), second = digits(time, 6, 2);
    if (hour < 0 || minute < 0 || second < 0) return raw;
    if (hour == 0 && minute == 0 && second == 0) return out;
    return out + QStringLiteral(" %1:%2:%3")
                     .arg(hour, 2, 10, QLatin1Char('0'))
                     .arg(minute, 2, 10, QLatin1Char('0'))
                     .arg(second, 2, 10, QLatin1Char('0'));
}

bool isPlainPath(const QString& path) {
    if (path.isEmpty() || path.trimmed() != path) return false;
    for (QChar c : path) {
        if (c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}') ||
            c == QLatin1Char('=') || c.unicode() < 0x20) {
            return false;
        }
    }
    return true;
}

}  // namespace

OdbcConnection::OdbcConnection() {
    SQLHENV env = nullptr;
    if (SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        env_ = env;
    }
}

OdbcConnection::~OdbcConnection() {
    close();
    if (env_) SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

OdbcConnection::Driver OdbcConnection::driverFor(const QByteArray& firstBytes) {
    if (firstBytes.startsWith(QByteArray("SQLite format 3\0", 16))) return Driver::Sqlite;
    const QByteArray at4 = firstBytes.mid(4, 15);
    if (at4 == "Standard Jet DB" || at4.startsWith("Standard ACE DB")) return Driver::Access;
    return Driver::None;
}

QString OdbcConnection::driverName(Driver driver) {
    switch (driver) {
    case Driver::Sqlite: return QStringLiteral("SQLite3");
    case Driver::Access: return QStringLiteral("MDBTools");
    case Driver::None: break;
    }
    return QString();
}

QString OdbcConnection::connectionString(Driver driver, const QString& path) {
    if (driver == Driver::None || !isPlainPath(path)) return QString();
    if (driver == Driver::Sqlite) {
        // A URI, so that SQLite itself never writes: no journal rolled back, no lock
        // taken for writing. Where nobody can write beside the file, no writer can
        // change it either, and it is read without any locks.
        QString uri = QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/")) +
                      QStringLiteral("?mode=ro");
        if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable()) uri += QStringLiteral("&immutable=1");
        return QStringLiteral("DRIVER={%1};Database=%2;NoCreat=1;LoadExt=;").arg(driverName(driver), uri);
    }
    return QStringLiteral("DRIVER={%1};DBQ=%2;").arg(driverName(driver), path);
}

bool OdbcConnection::needsPrivateCopy(const QString& path) {
    if (QFileInfo::exists(path + QStringLiteral("-journal")) || QFileInfo::exists(path + QStringLiteral("-wal"))) {
        return true;
    }
    // Bytes 18 and 19 of the header are 2 in a WAL database.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray header = file.read(20);
    return header.size() == 20 && (header.at(18) == 2 || header.at(19) == 2);
}

bool OdbcConnection::makePrivateCopy(const QString& path, QString& copy) {
    privateDir_ = std::make_unique<QTemporaryDir>(tempFolder() + QStringLiteral("/database-XXXXXX"));
    if (!privateDir_->isValid()) return false;
    copy = privateDir_->filePath(QStringLiteral("data.db"));
    if (!QFile::copy(path, copy)) return false;
    for (const char* suffix : {"-journal", "-wal"}) {
        const QString beside = path + QLatin1String(suffix);
        if (QFileInfo(beside).isFile() && !QFile::copy(beside, copy + QLatin1String(suffix))) return false;
    }
    return true;
}

bool OdbcConnection::isDriverInstalled(const QString& name) {
    SQLHENV env = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return false;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    bool found = false;
    SQLCHAR description[256];
    SQLCHAR attributes[1024];
    SQLSMALLINT descriptionLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (!found && SQL_SUCCEEDED(SQLDrivers(env, direction, description, sizeof description,
                                               &descriptionLength, attributes,
                                               sizeof attributes, &attributesLength))) {
        direction = SQL_FETCH_NEXT;
        found = QString::fromUtf8(reinterpret_cast<const char*>(description))
                    .compare(name, Qt::CaseInsensitive) == 0;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return found;
}

bool OdbcConnection::fail(short handleType, void* handle, const QString& what) {
    QStringList lines;
    if (handle) {
        SQLCHAR state[6];
        SQLCHAR text[1024];
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        for (SQLSMALLINT i = 1; SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, i, state, &native,
                                                             text, sizeof text, &length));
             ++i) {
            lines << QString::fromUtf8(reinterpret_cast<const char*>(text)).trimmed();
        }
    }
    lines.removeAll(QString());
    message_ = lines.isEmpty() ? what : what + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
    return false;
}

bool OdbcConnection::open(const QString& path) {
    close();
    message_.clear();
    QFile file;
    const QString problem = SourceFile::open(file, path);
    if (!problem.isEmpty()) {
        message_ = problem;
        return false;
    }
    driver_ = driverFor(file.read(32));
    file.close();
    if (driver_ == Driver::None) {
        message_ = QString::fromUtf8("“%1”不是可以读取的数据库文件。")
                       .arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (!isDriverInstalled(driverName(driver_))) {
        message_ = QString::fromUtf8("没有安装ODBC驱动程序“%1”。").arg(driverName(driver_));
        return false;
    }
    QString target = QFileInfo(path).absoluteFilePath();
    QString connection;
    if (driver_ == Driver::Sqlite && needsPrivateCopy(target)) {
        // A journal to roll back or a log to fold in: SQLite would do either to the file
        // itself, and read-only it refuses the file. A private copy takes the changes.
        QString copy;
        if (!makePrivateCopy(target, copy)) {
            close();
            message_ = QString::fromUtf8("无法打开文件“%1”。").arg(QDir::toNativeSeparators(path));
            return false;
        }
        connection = QStringLiteral("DRIVER={%1};Database=%2;NoCreat=1;LoadExt=;").arg(driverName(driver_), copy);
    } else if (!isPlainPath(target)) {
        // The drivers cannot read a quoted path: reach the file through a plain link.
        privateDir_ = std::make_unique<QTemporaryDir>(tempFolder() + QStringLiteral("/database-XXXXXX"));
        const QString link = privateDir_->filePath(driver_ == Driver::Sqlite ? QStringLiteral("data.db")
                                                                         : QStringLiteral("data.mdb"));
        if (!privateDir_->isValid() || !QFile::link(target, link) || !isPlainPath(link)) {
            message_ = QString::fromUtf8("无法打开文件“%1”。").arg(QDir::toNativeSeparators(path));
            return false;
        }
        target = link;
    }
    if (connection.isEmpty()) connection = connectionString(driver_, target);
    if (!env_) return fail(SQL_HANDLE_ENV, nullptr, QStringLiteral("ODBC is not available."));
    SQLHDBC dbc = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc))) {
        return fail(SQL_HANDLE_ENV, env_, QStringLiteral("ODBC is not available."));
    }
    dbc_ = dbc;
    SQLSetConnectAttr(dbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
    const QByteArray connectionBytes = connection.toUtf8();
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc =
        SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionBytes.data())),
                         SQLSMALLINT(connectionBytes.size()), out, sizeof out, &outLength,
                         SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        fail(SQL_HANDLE_DBC, dbc, QString::fromUtf8("无法打开数据库“%1”。")
                                      .arg(QDir::toNativeSeparators(path)));
        close();
        return false;
    }
    connected_ = true;
    // SQLite reads nothing until asked: a file whose schema is damaged would otherwise
    // pass for one without the table.
    if (driver_ == Driver::Sqlite && !schemaIsReadable(path)) {
        close();
        return false;
    }
    return true;
}

bool OdbcConnection::schemaIsReadable(const QString& path) {
    Statement probe(dbc_);
    SQLCHAR sql[] = "SELECT count(*) FROM sqlite_master";
    if (probe.get() && SQL_SUCCEEDED(SQLExecDirect(probe.get(), sql, SQL_NTS)) &&
        SQL_SUCCEEDED(SQLFetch(probe.get()))) {
        return true;
    }
    return fail(SQL_HANDLE_STMT, probe.get(), damagedMessage(path));
}

QString OdbcConnection::damagedMessage(const QString& path) {
    return QString::fromUtf8("数据库文件“%1”已损坏，无法读取。").arg(QDir::toNativeSeparators(path));
}

void OdbcConnection::close() {
    if (dbc_) {
        if (connected_) SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    }
    dbc_ = nullptr;
    connected_ = false;
    privateDir_.reset();
    savedQueries_.reset();
}

bool OdbcConnection::isOpen() const { return connected_; }

QStringList OdbcConnection::tables() {
    QStringList names = userTables();
    if (driver_ == Driver::Access && !names.isEmpty()) names += savedQueries().names;
    return names;
}

std::vector<DatabaseColumn> OdbcConnection::columns(const QString& table) {
    std::vector<DatabaseColumn> found = driverColumns(table);
    if (found.empty()) {
        if (const SavedQuery* query = savedQuery(table)) found = queryColumns(*query);
    }
    return found;
}

QStringList OdbcConnection::userTables() {
    QStringList names;
    if (!connected_) return names;
    Statement statement(dbc_);
    SQLCHAR types[] = "TABLE";
    if (!statement.get() ||
        !SQL_SUCCEEDED(SQLTables(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, types, SQL_NTS))) {
        fail(SQL_HANDLE_STMT, statement.get(), QStringLiteral("<::SQLTables> not supported."));
        return names;
    }
    while (SQL_SUCCEEDED(SQLFetch(statement.get()))) {
        const QString name = columnText(statement.get(), 3);
        const QString type = columnText(statement.get(), 4).trimmed().toUpper();
        // Some drivers ignore the type filter: keep real tables only.
        if (type != QLatin1String("TABLE") || name.isEmpty()) continue;
        if (driver_ == Driver::Sqlite && name.startsWith(QLatin1String("sqlite_"))) continue;
        if (driver_ == Driver::Access && name.startsWith(QLatin1String("MSys"))) continue;
        names << name;
    }
    return names;
}

std::vector<DatabaseColumn> OdbcConnection::driverColumns(const QString& table) {
    std::vector<DatabaseColumn> found;
    if (!connected_) return found;
    Statement statement(dbc_);
    const QByteArray name = table.toUtf8();
    if (!statement.get() ||
        !SQL_SUCCEEDED(SQLColumns(statement.get(), nullptr, 0, nullptr, 0,
                                  reinterpret_cast<SQLCHAR*>(const_cast<char*>(name.data())),
                                  SQLSMALLINT(name.size()), nullptr, 0))) {
        fail(SQL_HANDLE_STMT, statement.get(), QStringLiteral("<::SQLColumns> not supported."));
        return found;
    }
    while (SQL_SUCCEEDED(SQLFetch(statement.get()))) {
        // Some drivers answer for every table whose name matches as a pattern.
        if (columnText(statement.get(), 3) != table) continue;
        DatabaseColumn column;
        column.name = columnText(statement.get(), 4);
        const int sqlType = columnText(statement.get(), 5).toInt();
        column.typeName = columnText(statement.get(), 6);
        column.scale = std::max(0, columnText(statement.get(), 9).toInt());
        column.kind = kindOf(sqlType, column.typeName);
        if ((sqlType != SQL_DECIMAL && sqlType != SQL_NUMERIC) || column.kind != DatabaseColumn::Kind::Real) {
            column.scale = 0;
        }
        found.push_back(std::move(column));
    }
    return found;
}

QString OdbcConnection::formatValue(const DatabaseColumn& column, const QByteArray& raw) const {
    if (raw.isNull()) return QString();
    const QString text = QString::fromUtf8(raw);
    bool ok = false;
    switch (column.kind) {
    case DatabaseColumn::Kind::Money: {
        // Two decimals, as prices are typed; up to four when the amount has them.
        const double value = text.trimmed().toDouble(&ok);
        if (!ok) return text;
        QString amount = QString::number(value, 'f', 4);
        while (amount.endsWith(QLatin1Char('0')) && amount.indexOf(QLatin1Char('.')) < amount.size() - 3) {
            amount.chop(1);
        }
        return amount;
    }
    case DatabaseColumn::Kind::Real: {
        const double value = text.trimmed().toDouble(&ok);
        if (!ok) return text;
        return column.scale > 0 ? QString::number(value, 'f', column.scale) : CellText::formatNumber(value);
    }
    case DatabaseColumn::Kind::Date:
        return formatDate(text);
    case DatabaseColumn::Kind::Binary:
        // Bytes as they are (only the catalogue's own binary columns are ever read).
        return QString::fromLatin1(raw);
    case DatabaseColumn::Kind::Integer:
    case DatabaseColumn::Kind::Text:
        break;
    }
    return text;
}

bool OdbcConnection::readTable(const QString& table, const std::vector<DatabaseColumn>& columns,
                               DatabaseTable& out) {
    const SavedQuery* query = savedQuery(table);
    if (!query) return readDriverTable(table, columns, out);
    out.columns = columns;
    out.rows.clear();
    std::vector<QStringList> rows;
    if (!runQuery(*query, true, rows)) return false;
    // The asked columns, by name, formatted as the query's own columns are.
    const std::vector<DatabaseColumn> given = queryColumns(*query);
    std::vector<int> at;
    for (const DatabaseColumn& column : columns) {
        const auto it = std::find_if(given.begin(), given.end(),
                                     [&](const DatabaseColumn& c) { return c.name == column.name; });
        if (it == given.end()) {
            message_ = QString::fromUtf8("表“%1”中没有字段“%2”。").arg(table, column.name);
            return false;
        }
        at.push_back(int(it - given.begin()));
    }
    for (const QStringList& row : rows) {
        QStringList picked;
        for (size_t c = 0; c < at.size(); ++c) {
            const QString& value = row.value(at[c]);
            picked << (value.isNull() ? QString() : formatValue(given[size_t(at[c])], value.toUtf8()));
        }
        out.rows.push_back(std::move(picked));
    }
    return true;
}

const OdbcConnection::SavedQueries& OdbcConnection::savedQueries() {
    if (savedQueries_) return *savedQueries_;
    savedQueries_.emplace();
    if (driver_ != Driver::Access || !connected_) return *savedQueries_;
    const QString kept = message_;
    const auto textColumns = [](std::initializer_list<const char*> names) {
        std::vector<DatabaseColumn> columns;
        for (const char* name : names) columns.push_back({QString::fromLatin1(name), QString(), DatabaseColumn::Kind::Text});
        return columns;
    };
    DatabaseTable objects, rows;
    // A file without them (or a driver that cannot read them) simply has no saved queries.
    std::vector<DatabaseColumn> queryRowColumns =
        textColumns({"ObjectId", "Attribute", "Flag", "Expression", "Name1", "Name2", "Order"});
    queryRowColumns.back().kind = DatabaseColumn::Kind::Binary;
    if (!readDriverTable(QStringLiteral("MSysObjects"), textColumns({"Id", "Name", "Type"}), objects) ||
        !readDriverTable(QStringLiteral("MSysQueries"), queryRowColumns, rows)) {
        message_ = kept;
        return *savedQueries_;
    }
    // A query's rows by what they say, each kind in the order the file gives ("Order"),
    // which is not always the order they are stored in.
    std::stable_sort(rows.rows.begin(), rows.rows.end(), [](const QStringList& a, const QStringList& b) {
        const int attributeA = a.at(1).toInt(), attributeB = b.at(1).toInt();
        return attributeA != attributeB ? attributeA < attributeB : a.at(6) < b.at(6);
    });
    std::map<QString, std::vector<SavedQueryRow>> rowsOf;
    for (const QStringList& row : rows.rows) {
        rowsOf[row.at(0)].push_back({row.at(1).toInt(), row.at(2).toInt(), row.at(3), row.at(4), row.at(5)});
    }
    constexpr int kQueryObject = 5;
    const QStringList tables = userTables();
    for (const QStringList& object : objects.rows) {
        const QString& name = object.at(1);
        // "~sq_…" are the hidden queries behind forms and reports.
        if (object.at(2).toInt() != kQueryObject || name.isEmpty() || name.startsWith(QLatin1Char('~'))) continue;
        if (tables.contains(name)) continue;
        std::optional<SavedQuery> query = SavedQuery::fromRows(rowsOf[object.at(0)]);
        if (!query) continue;
        const bool onTables = std::all_of(query->sources().begin(), query->sources().end(),
                                          [&](const SavedQuery::Source& s) { return tables.contains(s.table); });
        if (!onTables || !hasDistinctNames(queryColumns(*query))) continue;
        // SQLite takes the statement: run once over empty copies of its tables.
        std::vector<QStringList> none;
        if (!runQuery(*query, false, none)) continue;
        savedQueries_->names << name;
        savedQueries_->byName.emplace(name, std::move(*query));
    }
    message_ = kept;
    return *savedQueries_;
}

const SavedQuery* OdbcConnection::savedQuery(const QString& name) {
    if (driver_ != Driver::Access) return nullptr;
    const SavedQueries& queries = savedQueries();
    const auto it = queries.byName.find(name);
    return it == queries.byName.end() ? nullptr : &it->second;
}

std::vector<DatabaseColumn> OdbcConnection::queryColumns(const SavedQuery& query) {
    std::vector<DatabaseColumn> out;
    std::map<QString, std::vector<DatabaseColumn>> tableColumns;
    for (const SavedQuery::Source& s : query.sources()) {
        if (!tableColumns.count(s.table)) tableColumns[s.table] = driverColumns(s.table);
    }
    if (query.selectsAll()) {
        for (const SavedQuery::Source& s : query.sources()) {
            for (const DatabaseColumn& column : tableColumns[s.table]) {
                if (column.kind != DatabaseColumn::Kind::Binary) out.push_back(column);
            }
        }
        return out;
    }
    for (const SavedQuery::Column& c : query.columns()) {
        DatabaseColumn column;
        column.name = c.name;
        column.kind = DatabaseColumn::Kind::Text;
        if (!c.column.isEmpty()) {
            bool found = false;
            for (const SavedQuery::Source& s : query.sources()) {
                if (!c.tableReference.isEmpty() && c.tableReference != s.reference()) continue;
                for (const DatabaseColumn& taken : tableColumns[s.table]) {
                    if (taken.name.compare(c.column, Qt::CaseInsensitive) != 0) continue;
                    if (taken.kind == DatabaseColumn::Kind::Binary) return {};
                    column.typeName = taken.typeName;
                    column.kind = taken.kind;
                    column.scale = taken.scale;
                    found = true;
                    break;
                }
                if (found) break;
            }
            if (!found && !c.tableReference.isEmpty()) return {};
        }
        out.push_back(std::move(column));
    }
    return out;
}

bool OdbcConnection::runQuery(const SavedQuery& query, bool withRows, std::vector<QStringList>& rows) {
    std::vector<DatabaseTable> copies;
    std::vector<DatabaseQuery::NamedTable> named;
    QStringList copied;
    copies.reserve(query.sources().size());
    for (const SavedQuery::Source& s : query.sources()) {
        if (copied.contains(s.table)) continue;
        copied << s.table;
        DatabaseTable& copy = copies.emplace_back();
        for (DatabaseColumn& column : driverColumns(s.table)) {
            if (column.kind != DatabaseColumn::Kind::Binary) copy.columns.push_back(std::move(column));
        }
        if (withRows && !readDriverTable(s.table, std::vector<DatabaseColumn>(copy.columns), copy)) return false;
        named.push_back({s.table, &copy});
    }
    return DatabaseQuery::select(named, query.statement(), rows, message_);
}

bool OdbcConnection::readDriverTable(const QString& table, const std::vector<DatabaseColumn>& columns,
                                     DatabaseTable& out) {
    out.columns = columns;
    out.rows.clear();
    if (!connected_) return false;
    QStringList names;
    for (const DatabaseColumn& column : columns) names << column.name;
    const QString statementText = DatabaseQuery::statement(table, names);
    if (statementText.isEmpty()) {
        message_ = QString::fromUtf8("表名或字段名中不能有“]”。");
        return false;
    }
    Statement statement(dbc_);
    const QByteArray sql = statementText.toUtf8();
    if (!statement.get() ||
        !SQL_SUCCEEDED(SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.data())),
                                     SQLINTEGER(sql.size())))) {
        return fail(SQL_HANDLE_STMT, statement.get(), QString::fromUtf8("无法读取表“%1”。").arg(table));
    }
    QByteArray raw;
    for (;;) {
        const SQLRETURN rc = SQLFetch(statement.get());
        if (rc == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(rc)) {
            return fail(SQL_HANDLE_STMT, statement.get(), QString::fromUtf8("无法读取表“%1”。").arg(table));
        }
        QStringList row;
        row.reserve(qsizetype(columns.size()));
        for (size_t c = 0; c < columns.size(); ++c) {
            if (!readText(statement.get(), SQLUSMALLINT(c + 1), raw)) {
                return fail(SQL_HANDLE_STMT, statement.get(), QString::fromUtf8("无法读取表“%1”。").arg(table));
            }
            row << formatValue(columns[c], raw);
        }
        out.rows.push_back(std::move(row));
    }
    return true;
}

}  // namespace pemo
