#pragma once

#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pemo::test {

// A SQLite file of a shop: table "商品 表" (名称 text, Price money, Qty integer, Made date,
// Note text) with four rows, NULLs among them; an AUTOINCREMENT table "Counter" (which
// brings sqlite_sequence) and a view "Cheap".
inline void makeShopDatabase(const QString& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    const char* sql = R"(
        CREATE TABLE [商品 表] ([名称] TEXT, [Price] MONEY, [Qty] INTEGER, [Made] DATE, [Note] TEXT);
        INSERT INTO [商品 表] VALUES ('苹果', 18, 3, '1994-11-16', NULL);
        INSERT INTO [商品 表] VALUES ('Pear', 55.5, 10, '2001-02-03', 'ripe');
        INSERT INTO [商品 表] VALUES ('Plum', NULL, 0, NULL, '');
        INSERT INTO [商品 表] VALUES ('Fig', 120, 7, '2020-05-06', 'dry');
        CREATE TABLE Counter (id INTEGER PRIMARY KEY AUTOINCREMENT, n TEXT);
        INSERT INTO Counter (n) VALUES ('x');
        CREATE VIEW Cheap AS SELECT * FROM [商品 表] WHERE Price < 50;
    )";
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

inline void execSql(sqlite3* db, const char* sql) {
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
}

// Table t (a TEXT) of rows "old0", "old1" …, committed; in WAL mode when wal.
inline void makeCountedTable(const QString& path, int rows, bool wal) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    if (wal) execSql(db, "PRAGMA journal_mode=WAL");
    execSql(db, "CREATE TABLE t (a TEXT); BEGIN");
    for (int i = 0; i < rows; ++i) {
        execSql(db, QStringLiteral("INSERT INTO t VALUES ('old%1')").arg(i).toUtf8().constData());
    }
    execSql(db, "COMMIT");
    sqlite3_close(db);
}

// Runs sql in a child process that then dies without closing the database, as a crash
// or a power failure leaves it: a transaction left open leaves a hot journal, a WAL
// database its log.
inline void dieAfter(const QString& path, const char* sql) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        _exit(rc == SQLITE_OK ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A transaction that had written part of its pages when its writer died.
inline void makeHotJournal(const QString& path, int rows) {
    makeCountedTable(path, rows, false);
    dieAfter(path, "PRAGMA cache_size=1; BEGIN; UPDATE t SET a = 'new' || a;");
}

// Committed rows ("late") that live only in the write-ahead log.
inline void makeUnfoldedLog(const QString& path, int rows) {
    makeCountedTable(path, rows, true);
    dieAfter(path, "PRAGMA wal_autocheckpoint=0; INSERT INTO t VALUES ('late');");
}

}  // namespace pemo::test
