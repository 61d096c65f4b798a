#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <sqlite3.h>
#include <QFile>
#include <QTemporaryDir>

#include "SqliteFixture.h"
#include "core/codecs/Gbk.h"
#include "core/records/DatabaseImport.h"
#include "core/records/DatabaseQuery.h"
#include "core/records/DatabaseSource.h"
#include "core/records/OdbcConnection.h"

using namespace pemo;

namespace {

QString mdbFixture() { return QStringLiteral(PEMO_TEST_DATA "/odbc/users.mdb"); }
// Spaced table and column names, and long integer columns holding NULLs.
QString fruitFixture() { return QStringLiteral(PEMO_TEST_DATA "/odbc/fruit.mdb"); }
// Money, date and double columns with NULLs, Chinese and spaced names (make_shop_mdb.py).
QString shopFixture() { return QStringLiteral(PEMO_TEST_DATA "/odbc/shop.mdb"); }

QByteArray hashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

DatabaseSelection select(const QString& path, const QString& table, const QStringList& fields,
                         const QString& condition) {
    DatabaseSelection selection;
    selection.path = path;
    selection.table = table;
    for (qsizetype i = 0; i < fields.size(); ++i) selection.fields[size_t(i)] = fields.at(i);
    selection.condition = condition;
    return selection;
}

// Column 0 of every row read.
QStringList firstColumn(const CellTable& table) {
    QStringList out;
    for (const auto& row : table.rows) out << Gbk::toUnicode(row.empty() ? QByteArray() : row[0]);
    return out;
}

}  // namespace

TEST(DatabaseQueryTest, StatementQuotesEveryName) {
    struct Case {
        QString table;
        QStringList fields;
        QString condition;
        QString expected;
    } cases[] = {
        {"Goods", {"Name", "Price"}, "Price>10", "SELECT [Name], [Price] FROM [Goods] WHERE Price>10"},
        {"My Goods", {"Unit Price"}, "", "SELECT [Unit Price] FROM [My Goods]"},
        {QString::fromUtf8("商品 表"), {QString::fromUtf8("名称")}, "  ",
         QString::fromUtf8("SELECT [名称] FROM [商品 表]")},
        {"Goods", {"a]b"}, "", ""},
        {"Go]ods", {"a"}, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DatabaseQuery::statement(c.table, c.fields, c.condition), c.expected) << c.expected.toStdString();
    }
}

TEST(DatabaseQueryTest, ConditionIsOneExpression) {
    EXPECT_TRUE(DatabaseQuery::checkCondition("Name = 'a;b' AND [x;y] > 1").isEmpty());
    EXPECT_FALSE(DatabaseQuery::checkCondition("1=1; DROP TABLE Goods").isEmpty());
    EXPECT_FALSE(DatabaseQuery::checkCondition(QString::fromUtf8("1=1；")).isEmpty());
}

TEST(DatabaseQueryTest, ConditionsAreBoundInTimeAndMemory) {
    DatabaseTable table;
    table.columns = {{"n", "INTEGER", DatabaseColumn::Kind::Integer, 0}};
    for (int i = 0; i < 10; ++i) table.rows.push_back({QString::number(i)});
    const QString endless = "n IN (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
                            "SELECT x FROM c WHERE x < 0)";
    struct Case {
        const char* name;
        QString condition;
        bool cancel;
        bool read;
        QString message;
    } cases[] = {
        {"endless recursion", endless, false, false, DatabaseQuery::timeoutMessage()},
        {"huge blob", "length(randomblob(1000000000)) > n", false, false, DatabaseQuery::memoryMessage()},
        {"huge zero blob", "length(zeroblob(1000000000) || 'x') > n", false, false,
         DatabaseQuery::memoryMessage()},
        {"cancelled", endless, true, false, QString()},
        {"within the limits", "n % 3 = 0", false, true, QString()},
    };
    for (const Case& c : cases) {
        DatabaseQuery::Limits limits;
        limits.milliseconds = 300;
        limits.memoryBytes = 64 * 1024 * 1024;
        if (c.cancel) limits.cancelled = [] { return true; };
        std::vector<int> rows;
        QString message;
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(DatabaseQuery::filter("t", table, c.condition, rows, message, limits), c.read) << c.name;
        EXPECT_LT(clock.elapsed(), 3000) << c.name;
        EXPECT_EQ(message, c.message) << c.name;
        if (c.read) {
            EXPECT_EQ(rows, (std::vector<int>{0, 3, 6, 9})) << c.name;
        }
    }
    // The cap on SQLite's heap is lifted again afterwards.
    EXPECT_EQ(sqlite3_hard_heap_limit64(-1), 0);
}

TEST(DatabaseSourceTest, ReadsOnlyTheColumnsTheImportNeeds) {
    const std::vector<DatabaseColumn> all = {
        {"Name", "TEXT", DatabaseColumn::Kind::Text, 0, 0},
        {"Price", "MONEY", DatabaseColumn::Kind::Money, 2, 0},
        {"Memo", "TEXT", DatabaseColumn::Kind::Text, 0, 0},
        {"Photo", "OLE", DatabaseColumn::Kind::Binary, 0, 0},
        {"Stock", "INTEGER", DatabaseColumn::Kind::Integer, 0, 0},
    };
    const struct {
        const char* name;
        QStringList fields;
        QString condition;
        QStringList read;
        std::vector<int> positions;
    } cases[] = {
        {"mapped only", {"Name", "", "Price"}, "", {"Name", "Price"}, {1, 2}},
        {"and what the condition names", {"Price"}, "[stock] > 0", {"Price", "Stock"}, {2, 5}},
        {"never a binary column", {"Name", "Photo"}, "Photo IS NOT NULL", {"Name"}, {1}},
    };
    for (const auto& c : cases) {
        DatabaseSelection selection = select("x.db", "t", c.fields, c.condition);
        QStringList read;
        std::vector<int> positions;
        for (const DatabaseColumn& column : DatabaseSource::needed(selection, all)) {
            read << column.name;
            positions.push_back(column.position);
        }
        EXPECT_EQ(read, c.read) << c.name;
        EXPECT_EQ(positions, c.positions) << c.name;
    }
}

TEST(DatabaseSourceTest, BinaryColumnsAreLeftOutOfTheRowsRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photos.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE t (n TEXT, photo BLOB, note TEXT, price REAL);"
                     "INSERT INTO t VALUES ('pear', zeroblob(100000), 'long memo', 2.5);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    DatabaseTable table;
    QString message;
    ASSERT_TRUE(DatabaseSource::rows(select(path, "t", {"n", "photo"}, "price > 1"), table, message))
        << message.toStdString();
    QStringList names;
    for (const DatabaseColumn& column : table.columns) names << column.name;
    EXPECT_EQ(names, (QStringList{"n", "price"}));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0], (QStringList{"pear", "2.5"}));

    CellTable cells;
    ASSERT_TRUE(DatabaseImport::read(select(path, "t", {"n", "photo"}, "price > 1"), cells, message));
    ASSERT_EQ(cells.rows.size(), 1u);
    EXPECT_EQ(cells.rows[0][0], "pear");
    EXPECT_TRUE(cells.rows[0][1].isEmpty());
}

TEST(DatabaseSourceTest, AnAccessFileIsReadInAChildWithinLimits) {
    // The reading is the same through the child; a child out of time is refused.
    std::vector<DatabaseColumn> columns;
    QString message;
    ASSERT_TRUE(DatabaseSource::columns(mdbFixture(), "Users", columns, message)) << message.toStdString();
    EXPECT_EQ(columns.size(), 5u);
    ChildRun::Limits none;
    none.milliseconds = 0;
    EXPECT_FALSE(DatabaseSource::columns(mdbFixture(), "Users", columns, message, none));
    EXPECT_EQ(message, DatabaseSource::overLimitsMessage(mdbFixture()));
}

TEST(OdbcConnectionTest, DriverByFirstBytesAndSafeConnectionString) {
    EXPECT_EQ(OdbcConnection::driverFor(QByteArray("SQLite format 3\0xx", 18)), OdbcConnection::Driver::Sqlite);
    EXPECT_EQ(OdbcConnection::driverFor(QByteArray("\0\1\0\0Standard Jet DB\0", 20)), OdbcConnection::Driver::Access);
    EXPECT_EQ(OdbcConnection::driverFor(QByteArray("\0\1\0\0Standard ACE DB\0", 20)), OdbcConnection::Driver::Access);
    EXPECT_EQ(OdbcConnection::driverFor("Name,Price\n"), OdbcConnection::Driver::None);
    EXPECT_EQ(OdbcConnection::connectionString(OdbcConnection::Driver::Access, "/d/a.mdb"),
              "DRIVER={MDBTools};DBQ=/d/a.mdb;");
    for (const char* path : {"/d/a;DRIVER={x}.mdb", "/d/a}.mdb", "/d/a=b.mdb", " /d/a.mdb"}) {
        EXPECT_TRUE(OdbcConnection::connectionString(OdbcConnection::Driver::Sqlite, path).isEmpty()) << path;
    }
}

TEST(OdbcConnectionTest, DriversAreLookedUpByName) {
    EXPECT_TRUE(OdbcConnection::isDriverInstalled("SQLite3"));
    EXPECT_TRUE(OdbcConnection::isDriverInstalled("MDBTools"));
    EXPECT_FALSE(OdbcConnection::isDriverInstalled("No Such Driver"));
}

TEST(OdbcConnectionTest, CatalogueHasRealTablesOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("shop.db");
    test::makeShopDatabase(path);
    OdbcConnection sqlite;
    ASSERT_TRUE(sqlite.open(path)) << sqlite.message().toStdString();
    EXPECT_EQ(sqlite.tables(), QStringList({QString::fromUtf8("商品 表"), "Counter"}));
    const auto columns = sqlite.columns(QString::fromUtf8("商品 表"));
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(columns[1].kind, DatabaseColumn::Kind::Money);
    EXPECT_EQ(columns[3].kind, DatabaseColumn::Kind::Date);

    OdbcConnection mdb;
    ASSERT_TRUE(mdb.open(mdbFixture())) << mdb.message().toStdString();
    EXPECT_EQ(mdb.tables(), QStringList({"Users"}));
    EXPECT_EQ(mdb.columns("Users").size(), 5u);

    OdbcConnection fruit;
    ASSERT_TRUE(fruit.open(fruitFixture())) << fruit.message().toStdString();
    EXPECT_EQ(fruit.tables().size(), 9);  // its saved queries follow the five tables
    EXPECT_TRUE(fruit.tables().contains("Fruit Salad"));
    EXPECT_EQ(fruit.columns("Fruit").size(), 11u);

    OdbcConnection shopMdb;
    ASSERT_TRUE(shopMdb.open(shopFixture())) << shopMdb.message().toStdString();
    // Its saved queries follow the tables (SavedQueryTest).
    EXPECT_EQ(shopMdb.tables().mid(0, 3), QStringList({"Users", QString::fromUtf8("商品 价格"), "Price List"}));
    const auto mdbColumns = shopMdb.columns(QString::fromUtf8("商品 价格"));
    ASSERT_EQ(mdbColumns.size(), 10u);
    EXPECT_EQ(mdbColumns[4].kind, DatabaseColumn::Kind::Money);
    EXPECT_EQ(mdbColumns[6].kind, DatabaseColumn::Kind::Date);
}

TEST(OdbcConnectionTest, NotADatabaseIsSaidSo) {
    QTemporaryDir dir;
    const QString path = dir.filePath("goods.mdb");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Name,Price\n");
    file.close();
    OdbcConnection connection;
    EXPECT_FALSE(connection.open(path));
    EXPECT_FALSE(connection.message().isEmpty());
    EXPECT_FALSE(connection.open(dir.filePath("missing.db")));
}

TEST(DatabaseImportTest, ConditionsMeanTheSameForBothDrivers) {
    QTemporaryDir dir;
    const QString shop = dir.filePath("shop;x={y}.db");  // reached through a plain link
    test::makeShopDatabase(shop);
    const QByteArray before = hashOf(shop);
    const QByteArray mdbBefore = hashOf(mdbFixture());
    const QByteArray fruitBefore = hashOf(fruitFixture());
    const QByteArray shopMdbBefore = hashOf(shopFixture());
    const QString goods = QString::fromUtf8("商品 表");
    const QString mdbGoods = QString::fromUtf8("商品 价格");
    const QString name = QString::fromUtf8("名称");
    struct Case {
        QString path;
        QString table;
        QStringList fields;
        QString condition;
        QStringList expected;
    } cases[] = {
        {shop, goods, {QString::fromUtf8("名称")}, "Price > 50", {"Pear", "Fig"}},
        {shop, goods, {QString::fromUtf8("名称")}, "Price IS NULL", {"Plum"}},
        {shop, goods, {QString::fromUtf8("名称")}, "Note IS NULL", {QString::fromUtf8("苹果")}},
        {shop, goods, {QString::fromUtf8("名称")}, "Made < '2000-01-01'", {QString::fromUtf8("苹果")}},
        {shop, goods, {"Price"}, "", {"18.00", "55.50", "", "120.00"}},
        {shop, goods, {"Made"}, QString::fromUtf8("[名称] = '苹果'"), {"1994-11-16"}},
        {mdbFixture(), "Users", {"UserName"}, "UserId >= 2", {"Angela", QString::fromUtf8("张三")}},
        {mdbFixture(), "Users", {"UserName"}, "UserBirthday > '1988-06-01'", {"Nuintun", "Angela"}},
        {mdbFixture(), "Users", {"UserName"}, "UserSex IS NULL", {}},
        {mdbFixture(), "Users", {"UserBirthday"}, QString::fromUtf8("UserSex = '男'"), {"1986-12-18"}},
        {fruitFixture(), "Fruit", {"Fruit"}, "[Vit A] > 100",
         {"Apricot", "Carrots", "Kumquat", "Mango", "Passion Fruit", "Pepper, Red Bell", "Persimmon", "Tomato"}},
        {fruitFixture(), "Fruit", {"Fruit"}, "[Vit B6] IS NULL", {"Kumquat", "Lychee", "Passion Fruit", "Persimmon"}},
        {fruitFixture(), "Fruit", {"Vit B6"}, "Fruit = 'Lychee'", {""}},
        {fruitFixture(), "Fruit Salad", {"Fruit"}, "Fruit LIKE 'B%'", {"Banana", "Blackberry", "Blueberry"}},
        // MDBTools alone returns every row for the money conditions and IS NULL.
        {shopFixture(), mdbGoods, {name}, "Price > 50", {"Pear", "Fig"}},
        {shopFixture(), mdbGoods, {name}, "Price >= 49.99 AND Price < 50", {QString::fromUtf8("橙子")}},
        {shopFixture(), mdbGoods, {name}, "Price IS NULL", {"Plum"}},
        {shopFixture(), mdbGoods, {name}, "OldPrice IS NULL OR Made IS NULL", {"Pear", QString::fromUtf8("橙子")}},
        {shopFixture(), mdbGoods, {name}, "Made < '2000-01-01'", {QString::fromUtf8("苹果")}},
        {shopFixture(), mdbGoods, {name}, "Weight > 0.3 AND [产地] IS NOT NULL",
         {QString::fromUtf8("苹果"), "Pear", QString::fromUtf8("橙子")}},
        {shopFixture(), mdbGoods, {"Price"}, "", {"18.00", "55.50", "", "120.00", "49.99", "0.3333"}},
        {shopFixture(), mdbGoods, {"Made"}, "Qty <= 3 OR Weight IS NULL",
         {"2026-12-01", "2026-11-30 14:30:00", "2025-01-02", ""}},
        {shopFixture(), "Price List", {"Item"}, "Price > 50", {"Bread"}},
    };
    for (const Case& c : cases) {
        CellTable table;
        QString message;
        ASSERT_TRUE(DatabaseImport::read(select(c.path, c.table, c.fields, c.condition), table, message))
            << c.condition.toStdString() << ": " << message.toStdString();
        EXPECT_EQ(firstColumn(table), c.expected) << c.condition.toStdString();
    }
    EXPECT_EQ(hashOf(shop), before);
    EXPECT_EQ(hashOf(mdbFixture()), mdbBefore);
    EXPECT_EQ(hashOf(fruitFixture()), fruitBefore);
    EXPECT_EQ(hashOf(shopFixture()), shopMdbBefore);
}

TEST(DatabaseImportTest, TextGbkCannotHoldIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath("emoji.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE t (n TEXT); INSERT INTO t VALUES ('ok'), ('smile \xF0\x9F\x98\x80');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    CellTable table;
    QString message;
    EXPECT_FALSE(DatabaseImport::read(select(path, "t", {"n"}, ""), table, message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(table.rows.empty());
}

TEST(DatabaseImportTest, BadConditionOrFieldGivesTheMessage) {
    QTemporaryDir dir;
    const QString shop = dir.filePath("shop.db");
    test::makeShopDatabase(shop);
    struct Case {
        QString path;
        QString field;
        QString condition;
        const char* inMessage;
    } cases[] = {
        {shop, QString::fromUtf8("名称"), "Nope > 1", "no such column"},
        {shop, QString::fromUtf8("名称"), "Price >", "syntax error"},
        {shop, QString::fromUtf8("名称"), "1=1; DELETE FROM x", ";"},
        {shop, QString::fromUtf8("名称"), "1 UNION SELECT 1", ""},
        {shop, "Missing", "", "Missing"},
        {dir.filePath("gone.db"), QString::fromUtf8("名称"), "", "gone.db"},
    };
    for (const Case& c : cases) {
        CellTable table;
        QString message;
        EXPECT_FALSE(DatabaseImport::read(select(c.path, QString::fromUtf8("商品 表"), {c.field}, c.condition),
                                          table, message))
            << c.condition.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.inMessage))) << message.toStdString();
        EXPECT_TRUE(table.rows.empty());
    }
}
