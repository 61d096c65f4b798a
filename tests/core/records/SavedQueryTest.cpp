#include <gtest/gtest.h>

#include "core/records/OdbcConnection.h"
#include "core/records/SavedQuery.h"

namespace pemo {
namespace {

QString shopFixture() { return QStringLiteral(PEMO_TEST_DATA "/odbc/shop.mdb"); }
QString fruitFixture() { return QStringLiteral(PEMO_TEST_DATA "/odbc/fruit.mdb"); }

std::string text(const std::optional<QString>& s) { return s ? s->toStdString() : std::string("(refused)"); }

}  // namespace

// Access's expressions as SQLite computes them the same, and what is refused because
// SQLite would compute it differently.
TEST(SavedQueryTest, ExpressionsTranslateOrAreRefused) {
    const struct {
        const char* access;
        const char* sqlite;  // null: refused
    } cases[] = {
        {"[Goods].[Price]<60 And [Goods].[Name] Like \"*果?\"", "[Goods].[Price]<60 AND [Goods].[Name] LIKE '%果_'"},
        {"Made>=#11/30/2026# Or Made=#1/2/2025 14:30:00#", "Made>='2026-11-30' OR Made='2025-01-02 14:30:00'"},
        // Function results compare without regard to case, as the columns do.
        {"IIf(Qty>0,\"有\"\"货\",'缺''货')", "iif(Qty>0,'有\"货','缺''货') COLLATE NOCASE"},
        {"Nz([Note],\"-\") <> UCase(Unit)", "ifnull([Note],'-') COLLATE NOCASE <> upper(Unit) COLLATE NOCASE"},
        {"Price Is Not Null And Qty In (1,2.5,.5)", "Price IS NOT NULL AND Qty IN (1,2.5,.5)"},
        // Division keeps its remainder; a negation stays.
        {"[Qty]/5 > -1", "[Qty]*1.0/5 > -1"},
        {"Price*(-2) < -Qty", "Price*(-2) < -Qty"},
        {"[Name] & \" \" & [Unit]", nullptr},
        {"[Name] + \"!\"", nullptr},     // joins texts in Access
        {"[Made] - 1", nullptr},          // a day earlier in Access
        {"Qty Mod 2 = 1", nullptr},
        {"OnSale = True", nullptr},
        {"Format(Price,\"0.00\")", nullptr},
        {"Name Like \"[A-C]*\"", nullptr},
        {"Name Like \"50%\"", nullptr},
        {"Name Like (\"P*\")", nullptr},  // a pattern must follow Like as it stands
        {"Name Like [Pattern]", nullptr},
        {"Price < 60 -- ORDER BY", nullptr},
        {"replace /**/ (Name,'P','X')", nullptr},
        {"[Forms]![Main]![Price]", nullptr},
        {"Made > #31/12/2026#", nullptr},
        {"Name = \"unterminated", nullptr},
        {"UCase(Name", nullptr},
        {"1; DROP TABLE Goods", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<QString> out = SavedQuery::expression(QString::fromUtf8(c.access));
        EXPECT_EQ(text(out), c.sqlite ? std::string(c.sqlite) : std::string("(refused)")) << c.access;
    }
}

TEST(SavedQueryTest, RowsMakeOneStatement) {
    const auto row = [](int attribute, const char* expression = "", const char* name1 = "", const char* name2 = "",
                        int flag = 0) {
        return SavedQueryRow{attribute, flag, QString::fromUtf8(expression), QString::fromUtf8(name1),
                             QString::fromUtf8(name2)};
    };
    const struct {
        std::vector<SavedQueryRow> rows;
        const char* statement;  // null: no query
    } cases[] = {
        {{row(0), row(1, "", "", "", 1), row(5, "", "Goods"), row(6, "[Goods].[Name]"), row(6, "Price*2", "Twice"),
          row(6, "Len(Name)"), row(8, "Price<60"), row(11, "Price", "D"), row(11, "Name"), row(255)},
         "SELECT [Goods].[Name] AS [Name], Price*2 AS [Twice], length(Name) COLLATE NOCASE AS [Expr1000] "
         "FROM [Goods] WHERE Price<60 ORDER BY Price DESC, Name"},
        // Every column, without repeats; a join of two tables, one under an alias.
        {{row(0), row(1, "", "", "", 1), row(3, "", "", "", 0x01 | 0x02), row(5, "", "Goods"),
          row(5, "", "Price List", "L"), row(7, "Goods.Name = L.Item", "Goods", "L", 2), row(255)},
         "SELECT DISTINCT * FROM [Goods] LEFT JOIN [Price List] AS [L] ON (Goods.Name = L.Item)"},
        // Two columns of one name are called after their tables.
        {{row(1, "", "", "", 1), row(5, "", "Goods", "G"), row(5, "", "Price List", "L"), row(6, "G.Price"),
          row(6, "L.Price"), row(7, "G.Name = L.Item", "G", "L", 1)},
         "SELECT G.Price AS [G.Price], L.Price AS [L.Price] FROM [Goods] AS [G] INNER JOIN [Price List] AS [L] "
         "ON (G.Name = L.Item)"},
        {{row(1, "", "", "", 1), row(5, "", "Goods"), row(6, "Price*2", "Price"), row(6, "Price")}, nullptr},
        // Sorting by a name an output column takes over: SQLite would sort by the output.
        {{row(1, "", "", "", 1), row(5, "", "Goods"), row(6, "-[Price]", "Price"), row(11, "[Price]")}, nullptr},
        {{row(1, "", "", "", 1), row(5, "", "Goods"), row(6, "Unit"), row(9, "Unit"), row(10, "Count(*)>1")},
         nullptr},  // Count is not among the functions taken
        {{row(1, "", "", "", 4), row(5, "", "Goods"), row(6, "0", "Price")}, nullptr},  // an update query
        {{row(0), row(5, "", "Goods"), row(6, "Name")}, "SELECT Name AS [Name] FROM [Goods]"},  // no kind row
        {{row(1, "", "", "", 1), row(2, "", "[Which?]"), row(5, "", "Goods"), row(6, "Name")}, nullptr},  // parameters
        {{row(1, "", "", "", 1), row(3, "", "5", "", 0x10), row(5, "", "Goods"), row(6, "Name")}, nullptr},  // TOP
        {{row(1, "", "", "", 1), row(5, "C:\\other.mdb", "Goods"), row(6, "Name")}, nullptr},  // another file
        {{row(1, "", "", "", 1), row(6, "Name")}, nullptr},  // no table
        {{row(1, "", "", "", 1), row(5, "", "Goods")}, nullptr},  // no column
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::optional<SavedQuery> query = SavedQuery::fromRows(cases[i].rows);
        EXPECT_EQ(query ? query->statement().toStdString() : std::string("(none)"),
                  cases[i].statement ? std::string(cases[i].statement) : std::string("(none)"))
            << "case " << i;
    }
}

// The shop file's saved queries: the two select queries are listed after the tables and
// read as Access reads them; the one with Format and the update query are not listed.
TEST(SavedQueryTest, AccessQueriesAreListedAndRead) {
    OdbcConnection shop;
    ASSERT_TRUE(shop.open(shopFixture())) << shop.message().toStdString();
    EXPECT_EQ(shop.tables(), QStringList({"Users", QString::fromUtf8("商品 价格"), "Price List",
                                          QString::fromUtf8("特价商品"), QString::fromUtf8("对照价格")}));

    const struct {
        const char* query;
        std::vector<DatabaseColumn::Kind> kinds;
        std::vector<QStringList> rows;
    } cases[] = {
        {"特价商品",
         {DatabaseColumn::Kind::Text, DatabaseColumn::Kind::Money, DatabaseColumn::Kind::Text, DatabaseColumn::Kind::Text},
         {{"Pear", "55.50", "Korla", QString::fromUtf8("有货")},
          {QString::fromUtf8("苹果"), "18.00", QString::fromUtf8("烟台"), QString::fromUtf8("有货")}}},
        {"对照价格",
         {DatabaseColumn::Kind::Text, DatabaseColumn::Kind::Text, DatabaseColumn::Kind::Money},
         {{QString::fromUtf8("橙子"), "Bread", "50.01"}}},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.query);
        const std::vector<DatabaseColumn> columns = shop.columns(name);
        ASSERT_EQ(columns.size(), c.kinds.size()) << c.query;
        for (size_t i = 0; i < columns.size(); ++i) EXPECT_EQ(columns[i].kind, c.kinds[i]) << c.query << " " << i;
        DatabaseTable table;
        ASSERT_TRUE(shop.readTable(name, columns, table)) << shop.message().toStdString();
        EXPECT_EQ(table.rows, c.rows) << c.query;
    }
    // A column asked for alone comes alone.
    DatabaseTable prices;
    const std::vector<DatabaseColumn> all = shop.columns(QString::fromUtf8("特价商品"));
    ASSERT_TRUE(shop.readTable(QString::fromUtf8("特价商品"), {all[1]}, prices));
    EXPECT_EQ(prices.rows, std::vector<QStringList>({{"55.50"}, {"18.00"}}));
}

// A file Access made: its four select queries on tables are listed and read; the one built
// on other queries and the hidden one behind a form are not.
TEST(SavedQueryTest, QueriesAccessSavedAreRead) {
    OdbcConnection fruit;
    ASSERT_TRUE(fruit.open(fruitFixture())) << fruit.message().toStdString();
    EXPECT_EQ(fruit.tables().mid(5), QStringList({"In Dried", "In Fruit Salad", "In Veggie Salad", "In Muffin/Bread"}));
    const std::vector<DatabaseColumn> columns = fruit.columns("In Dried");
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[1].name, "Bread?");
    DatabaseTable table;
    ASSERT_TRUE(fruit.readTable("In Dried", columns, table)) << fruit.message().toStdString();
    ASSERT_GE(table.rows.size(), 4u);
    EXPECT_EQ(table.rows[0], QStringList({"Apple", "No"}));
    EXPECT_EQ(table.rows[3], QStringList({"Banana", "Yes"}));
}

}  // namespace pemo
