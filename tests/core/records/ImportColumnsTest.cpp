#include <gtest/gtest.h>

#include "Bytes.h"
#include "core/config/VariableNameList.h"
#include "core/document/InfoRecord.h"
#include "core/records/DelimitedText.h"
#include "core/records/ImportColumns.h"
#include "core/records/MappingGuess.h"
#include "core/records/TableSheet.h"

using namespace pemo;
using test::gbk;

namespace {

TableSheet textSheet(const char* utf8) {
    return TableSheet(DelimitedText::parse(gbk(utf8), ','), TableSheet::Kind::Text);
}

ImportSettings::Columns prices(int original, int current) {
    ImportSettings::Columns columns{};
    columns[0] = 1;
    columns[InfoRecord::kOriginalPrice] = original;
    columns[InfoRecord::kCurrentPrice] = current;
    return columns;
}

}  // namespace

TEST(ImportColumns, TellsAHeaderRowFromAProduct) {
    const VariableNameList names;
    const struct {
        const char* name;
        const char* text;
        ImportSettings::Columns columns;
        bool header;
    } cases[] = {
        {"header words over prices", "商品名称,规格,产地,原价,现价\n可乐,500ml,天津,3.50,2.80", prices(4, 5), true},
        {"a product with prices", "可乐,500ml,天津,3.50,2.80\n雪碧,500ml,天津,3.50,2.80", prices(4, 5), false},
        {"a price with a currency sign", "可乐,500ml,天津,¥3.50,2.80元\n雪碧,1L,北京,5,4", prices(4, 5), false},
        {"one price column holds a number", "可乐,,,,2.80\n雪碧,,,,3", prices(4, 5), false},
        // Words over numbers, though no word names a target.
        {"unknown words over numbers", "甲,乙,丙,丁,戊\n可乐,500ml,天津,3.50,2.80", prices(4, 5), true},
        {"no price mapped: any column", "名目,数量\n可乐,3", ImportSettings::Columns{1}, true},
        {"no price mapped, numbers in row 1", "可乐,3\n雪碧,4", ImportSettings::Columns{1}, false},
        // A list of names only: no number anywhere, and no header word either.
        {"names only", "可乐\n雪碧\n芬达", ImportSettings::Columns{1}, false},
        {"names under a header word", "品名\n雪碧\n芬达", ImportSettings::Columns{1}, true},
        {"empty table", "", prices(4, 5), false},
        // Mapped beyond the table: every column counts.
        {"price mapped beyond the table", "名称,价格\n可乐,3", prices(8, 9), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImportColumns::firstRowIsHeader(textSheet(c.text), c.columns, names), c.header) << c.name;
    }
}

TEST(ImportColumns, LabelsEachColumnByItsHeaderOrFirstValue) {
    const TableSheet sheet = textSheet("商品名称,,产地,一个很长很长很长的标题\n可乐,500ml,天津,x\n雪碧,,,");
    EXPECT_EQ(ImportColumns::labels(sheet, 5),
              (QStringList{QString::fromUtf8("列1：商品名称"), QString::fromUtf8("列2：500ml"),
                           QString::fromUtf8("列3：产地"), QString::fromUtf8("列4：一个很长很长很长"),
                           QString::fromUtf8("列5")}));
    const TableSheet empty = textSheet(",a\n,b");
    EXPECT_EQ(ImportColumns::label(empty, 1), QString::fromUtf8("列1"));
}

TEST(ImportColumns, AShopsListIsReadWithItsHeaderAndMappedByItsWords) {
    const TableSheet sheet(QStringLiteral(PEMO_TEST_DATA "/import/shop-list.csv"), ',');
    ASSERT_EQ(sheet.totalRows(), 21);
    const VariableNameList names;
    const ImportSettings::Columns columns = MappingGuess::guess(ImportColumns::firstRow(sheet), names);
    ImportSettings::Columns expected{};
    for (const auto& [target, column] :
         std::vector<std::pair<int, int>>{{0, 1}, {2, 2}, {3, 3}, {5, 4}, {10, 5}, {11, 6}}) {
        expected[size_t(target)] = column;
    }
    EXPECT_EQ(columns, expected);
    EXPECT_TRUE(ImportColumns::firstRowIsHeader(sheet, columns, names));
    EXPECT_TRUE(ImportColumns::firstRowIsHeader(sheet, ImportSettings::Columns{}, names));
}
