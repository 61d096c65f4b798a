#pragma once

#include <QString>
#include <gtest/gtest.h>
#include <sqlite3.h>

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

}  // namespace pemo::test
