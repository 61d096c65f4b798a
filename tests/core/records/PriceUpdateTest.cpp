#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/records/DelimitedText.h"
#include "core/records/PriceUpdate.h"
#include "core/records/TableSheet.h"

using namespace pemo;
using test::gbk;

namespace {

// The list's columns: 1 name, 2 barcode (variable 2), 3 原价, 4 现价.
PriceUpdate::Columns listColumns() {
    PriceUpdate::Columns columns{};
    columns[0] = 1;
    columns[1] = 2;
    columns[InfoRecord::kOriginalPrice] = 3;
    columns[InfoRecord::kCurrentPrice] = 4;
    return columns;
}

TableSheet listOf(const char* utf8) {
    return TableSheet(DelimitedText::parse(gbk(utf8), ','), TableSheet::Kind::Text);
}

struct Product {
    const char* name;
    const char* barcode;
    const char* price;
};

// A document of the given products on a page with the name and the price on it, and the
// empty record kept at the end for typing.
void fill(CPatDoc& doc, std::initializer_list<Product> products) {
    doc.newDocument();
    doc.records.clear();
    for (const Product& p : products) {
        auto record = std::make_unique<InfoRecord>();
        record->values[0] = gbk(p.name);
        record->values[1] = p.barcode;
        record->values[InfoRecord::kCurrentPrice] = p.price;
        record->appendBlock(TextBlock::create(BlockKind::FirstVariable, {1000, 1000, 9000, 3000}, "x", true));
        record->appendBlock(TextBlock::create(BlockKind::CurrentPrice, {1000, 4000, 9000, 6000}, "x", true));
        doc.records.push_back(std::move(record));
    }
    doc.records.push_back(std::make_unique<InfoRecord>());
    doc.records.front()->current = true;
    doc.setModified(false);
}

std::vector<int> copiesOf(const CPatDoc& doc) {
    std::vector<int> copies;
    for (const auto& record : doc.records) copies.push_back(record->copies);
    return copies;
}

}  // namespace

TEST(PriceUpdate, KeysCompareAsTheProductTheyName) {
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"6901234567892", "6901234567892", true},
        {" 6901234567892 ", "6901234567892", true},
        {"6.901234567892E+12", "6901234567892", true},  // a workbook's number
        {"6.901234567892e12", "6901234567892", true},
        {"6901234567892.0", "6901234567892", true},
        {"0123456789012", "123456789012", true},  // a number loses its leading zero
        {"6.9E+12", "6901234567892", false},       // a rounded number is another key
        {"苹果", " 苹果", true},
        {"苹果", "苹果2", false},
        {"A-001", "a-001", false},
        {"1.5", "1.50", false},  // not a whole number: kept as written
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PriceUpdate::normalizedKey(gbk(c.a)) == PriceUpdate::normalizedKey(gbk(c.b)), c.equal)
            << c.a << " / " << c.b;
    }
}

TEST(PriceUpdate, OnlyRealChangesAreQueuedAndNewProductsAdded) {
    const struct {
        const char* name;
        const char* list;
        int changed, added, unchanged, missing;
        std::vector<int> copies;  // of the three products, the new ones, the empty record
        std::vector<const char*> prices;
    } cases[] = {
        {"one price changed", "苹果,111,,4.80\n梨,222,,3.20\n桃,333,,5.00\n", 1, 0, 2, 0, {1, 0, 0, 0},
         {"4.80", "3.20", "5.00"}},
        {"4.5 is 4.50", "苹果,111,,4.5\n梨,222,,3.2\n桃,333,,5\n", 0, 0, 3, 0, {0, 0, 0, 0},
         {"4.50", "3.20", "5.00"}},
        {"an empty cell leaves the value alone", "苹果,111,,\n梨,222,,3.30\n", 1, 0, 1, 1, {0, 1, 0, 0},
         {"4.50", "3.30", "5.00"}},
        {"a new product", "桃,333,,5.00\n橙,444,,6.60\n", 0, 1, 1, 2, {0, 0, 0, 1, 0},
         {"4.50", "3.20", "5.00", "6.60"}},
        {"a product not on the list leaves the queue", "梨,222,,3.90\n", 1, 0, 0, 2, {0, 1, 0, 0},
         {"4.50", "3.90", "5.00"}},
        {"rows without a key are passed over", ",,,9.99\n梨,222,,3.20\n", 0, 0, 1, 2, {0, 0, 0, 0},
         {"4.50", "3.20", "5.00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        registerBlockClasses();
        CPatDoc doc;
        fill(doc, {{"苹果", "111", "4.50"}, {"梨", "222", "3.20"}, {"桃", "333", "5.00"}});
        PriceUpdate update(listColumns(), 1);
        ASSERT_TRUE(update.plan(doc, listOf(c.list), 1));
        EXPECT_EQ(update.changedCount(), c.changed);
        EXPECT_EQ(update.newCount(), c.added);
        EXPECT_EQ(update.unchangedCount(), c.unchanged);
        EXPECT_EQ(update.missingCount(), c.missing);
        update.apply(doc);
        EXPECT_EQ(copiesOf(doc), c.copies);
        for (size_t i = 0; i < c.prices.size(); ++i) {
            EXPECT_EQ(doc.records[i]->values[InfoRecord::kCurrentPrice], QByteArray(c.prices[i])) << i;
        }
        EXPECT_TRUE(doc.records.back()->isEmpty()) << "the empty record stays last";
        EXPECT_TRUE(doc.isModified());
    }
}

TEST(PriceUpdate, ChangedAndNewSignsShowTheirNewValues) {
    registerBlockClasses();
    CPatDoc doc;
    fill(doc, {{"苹果", "111", "4.50"}});
    doc.records.front()->copies = 3;
    PriceUpdate update(listColumns(), 1);
    ASSERT_TRUE(update.plan(doc, listOf("苹果,111,,4.90\n橙,444,,6.60\n"), 1));
    const std::vector<int> marked = update.apply(doc);
    EXPECT_EQ(marked, (std::vector<int>{0, 1}));
    EXPECT_EQ(doc.records[0]->copies, 3) << "more than one copy is kept";
    const auto shown = [](const InfoRecord& record) {
        return static_cast<const TextBlock&>(*record.blocks.back()).plainText();
    };
    EXPECT_EQ(shown(*doc.records[0]), QByteArray("4.90"));
    EXPECT_EQ(doc.records[1]->values[0], gbk("橙"));
    EXPECT_EQ(doc.records[1]->copies, 1);
    EXPECT_EQ(update.summary(), QString::fromUtf8("改价 1 项，新增 1 项，未变 0 项，表中没有 0 项"));
}

TEST(PriceUpdate, DuplicateKeysChangeNothing) {
    const struct {
        const char* name;
        std::initializer_list<Product> products;
        const char* list;
        bool inList;
    } cases[] = {
        {"twice in the list", {{"苹果", "111", "4.50"}}, "苹果,111,,4.80\n苹果2,111.0,,4.90\n", true},
        {"twice in the document", {{"苹果", "111", "4.50"}, {"苹果", "0111", "4.60"}}, "苹果,111,,4.80\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        registerBlockClasses();
        CPatDoc doc;
        fill(doc, c.products);
        const std::vector<int> before = copiesOf(doc);
        PriceUpdate update(listColumns(), 1);
        ASSERT_TRUE(update.plan(doc, listOf(c.list), 1));
        EXPECT_TRUE(update.hasDuplicates());
        EXPECT_EQ(update.duplicateListKeys().size(), c.inList ? 1 : 0);
        EXPECT_EQ(update.duplicateDocumentKeys().size(), c.inList ? 0 : 1);
        EXPECT_TRUE(update.apply(doc).empty());
        EXPECT_EQ(copiesOf(doc), before);
        EXPECT_EQ(doc.records[0]->values[InfoRecord::kCurrentPrice], QByteArray("4.50"));
        EXPECT_FALSE(doc.isModified());
        EXPECT_FALSE(update.duplicatesMessage().isEmpty());
    }
}

TEST(PriceUpdate, KeyWithoutColumnIsRefused) {
    CPatDoc doc;
    doc.newDocument();
    PriceUpdate update(listColumns(), 5);
    EXPECT_FALSE(update.plan(doc, listOf("a,b\n"), 1));
    EXPECT_FALSE(update.message().isEmpty());
}

TEST(PriceUpdate, TwentyThousandRowsAgainstTwentyThousandRecords) {
    registerBlockClasses();
    constexpr int kCount = 20000;
    CPatDoc doc;
    doc.newDocument();
    doc.records.clear();
    QByteArray list;
    for (int i = 0; i < kCount; ++i) {
        auto record = std::make_unique<InfoRecord>();
        record->values[0] = "n";
        record->values[1] = QByteArray::number(6900000000000LL + i);
        record->values[InfoRecord::kCurrentPrice] = QByteArray::number(i % 100) + ".00";
        doc.records.push_back(std::move(record));
        // Every tenth price changes, every hundredth product is new, the rest the same.
        const qint64 key = i % 100 == 99 ? 7000000000000LL + i : 6900000000000LL + i;
        const QByteArray price = QByteArray::number(i % 100 + (i % 10 == 0 ? 1 : 0)) + ".00";
        list += "n," + QByteArray::number(key) + ",," + price + "\n";
    }
    PriceUpdate update(listColumns(), 1);
    ASSERT_TRUE(update.plan(doc, listOf(list.constData()), 1));
    EXPECT_EQ(update.changedCount(), kCount / 10);
    EXPECT_EQ(update.newCount(), kCount / 100);
    EXPECT_EQ(update.missingCount(), kCount / 100);
    EXPECT_EQ(update.unchangedCount(), kCount - kCount / 10 - kCount / 100);
    update.apply(doc);
    EXPECT_EQ(doc.recordCount(), kCount + kCount / 100);
    EXPECT_EQ(doc.totalCopies(), kCount / 10 + kCount / 100);
}

TEST(PriceUpdate, LogKeepsEveryChangedValueWithItsDate) {
    registerBlockClasses();
    QTemporaryDir dir;
    CPatDoc doc;
    fill(doc, {{"苹果", "111", "4.50"}});
    PriceUpdate update(listColumns(), 1);
    ASSERT_TRUE(update.plan(doc, listOf("苹果,111,5.00,4.80\n橙,\"4,44\",,6.60\n"), 1));
    const QString log = PriceUpdate::logPathFor(dir.filePath(QString::fromUtf8("货架.vxq")));
    EXPECT_TRUE(log.endsWith(QString::fromUtf8("货架.调价.csv")));
    const QDateTime when(QDate(2026, 12, 7), QTime(9, 30));
    QString error;
    ASSERT_TRUE(update.appendLog(log, when, doc.variableNames, error)) << error.toStdString();
    ASSERT_TRUE(update.appendLog(log, when.addDays(7), doc.variableNames, error));
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 1 + 2 * 5 + 1);  // header, five lines a run, the last line end
    EXPECT_EQ(lines[0], gbk("日期,关键字,项目,原值,新值\r"));
    EXPECT_EQ(lines[1], gbk("2026-12-07 09:30,111,原价,,5.00\r"));
    EXPECT_EQ(lines[2], gbk("2026-12-07 09:30,111,现价,4.50,4.80\r"));
    EXPECT_TRUE(lines[3].startsWith(gbk("2026-12-07 09:30,\"4,44\",")));
    EXPECT_TRUE(lines[6].startsWith("2026-12-14 09:30,111,"));
}
