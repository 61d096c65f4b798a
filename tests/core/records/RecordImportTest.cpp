#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/records/DelimitedText.h"
#include "core/records/ImportTarget.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

using namespace pemo;
using test::gbk;

namespace {

RecordImport::Columns firstColumns(int count) {
    RecordImport::Columns columns{};
    for (int i = 0; i < count; ++i) columns[size_t(i)] = i + 1;
    return columns;
}

TableSheet textSheet(const char* utf8) {
    return TableSheet(DelimitedText::parse(QByteArray(utf8), ','), TableSheet::Kind::Text);
}

// A text table of count rows of one short value.
TableSheet manyRows(int count) {
    CellTable table;
    table.columns = 1;
    table.rows.assign(size_t(count), std::vector<QByteArray>{QByteArray("v")});
    return TableSheet(std::move(table), TableSheet::Kind::Text);
}

QString fixture(const char* name) {
    return QStringLiteral(PEMO_TEST_DATA "/import/") + QString::fromUtf8(name);
}

class RecordImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        doc.newDocument();
        doc.records.front()->values[0] = "old";
        doc.setModified(false);
    }
    void expectUnchanged() {
        ASSERT_EQ(doc.recordCount(), 1);
        EXPECT_EQ(doc.recordAt(0)->values[0], "old");
        EXPECT_FALSE(doc.isModified());
    }
    CPatDoc doc;
};

}  // namespace

TEST_F(RecordImportTest, EachNonEmptyRowBecomesARecordThenOneEmptyRecord) {
    // Five lines, the third with nothing in the mapped columns.
    const TableSheet sheet = textSheet("a,1,x\nb,2,y\n,,z\nc,3,\nd,4,w");
    RecordImport import(doc, firstColumns(2));
    ASSERT_TRUE(import.build(sheet, 1, false));
    import.apply(true);
    ASSERT_EQ(doc.recordCount(), 5);
    EXPECT_EQ(doc.recordAt(2)->values[0], "c");
    EXPECT_EQ(doc.recordAt(2)->values[1], "3");
    EXPECT_EQ(doc.recordAt(3)->values[0], "d");
    EXPECT_TRUE(doc.recordAt(4)->isEmpty());
    EXPECT_EQ(doc.currentIndex(), 0);
    // The records came from a file the document was not saved to.
    EXPECT_TRUE(doc.isModified());
}

TEST_F(RecordImportTest, WorkbookRowsAfterTheHeader) {
    TableSheet sheet(fixture("products.xlsx"), ',', QString::fromUtf8("商品"));
    RecordImport::Columns columns{};
    columns[0] = 1;
    columns[InfoRecord::kOriginalPrice] = 11;
    columns[InfoRecord::kCurrentPrice] = 12;
    columns[InfoRecord::kDiscount] = 13;
    RecordImport import(doc, columns);
    ASSERT_TRUE(import.build(sheet, 2, false));
    import.apply(true);
    ASSERT_EQ(doc.recordCount(), 4);
    EXPECT_EQ(doc.recordAt(0)->values[0], gbk("可口可乐"));
    EXPECT_EQ(doc.recordAt(0)->values[InfoRecord::kCurrentPrice], "2.8");
    EXPECT_EQ(doc.recordAt(1)->values[InfoRecord::kOriginalPrice], "0.3");
    EXPECT_EQ(doc.recordAt(2)->values[InfoRecord::kDiscount], gbk("尾"));
}

TEST_F(RecordImportTest, AFileThatGivesNoRecordLeavesTheListAsItWas) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        TableSheet sheet;
        RecordImport::Columns columns;
        QString message;
    };
    const Case cases[] = {
        {"missing file", TableSheet(dir.filePath("none.csv"), ','), firstColumns(3),
         QString::fromUtf8("无法打开文件 %1。").arg(dir.filePath("none.csv"))},
        {"missing sheet", TableSheet(fixture("products.xls"), ',', "Sheet9"), firstColumns(3),
         QString::fromUtf8("工作簿中没有名为“Sheet9”的工作表。")},
        {"not GBK", TableSheet(fixture("not-gbk.csv"), ','), firstColumns(3),
         QString::fromUtf8("第3行第2列的字符“😀”无法以GBK保存，文件无法导入。")},
        {"columns beyond the file's", textSheet("a,b\nc,d"), {5, 6}, RecordImport::nothingToImportMessage()},
        {"header only", TableSheet(fixture("products.xlsx"), ',', QString::fromUtf8("空表")),
         firstColumns(3), RecordImport::nothingToImportMessage()},
        {"empty file", textSheet(""), firstColumns(3), RecordImport::nothingToImportMessage()},
        {"more rows than one import takes", manyRows(RecordImport::kMaxRows + 1), firstColumns(1),
         RecordImport::tooManyRowsMessage(RecordImport::kMaxRows + 1)},
        {"value over 64 KB", textSheet(("a,b\nc,d\ne," + QByteArray(RecordImport::kMaxValueBytes + 1, 'x')).constData()),
         firstColumns(2), RecordImport::valueTooLongMessage(3, 2)},
    };
    for (const Case& c : cases) {
        RecordImport import(doc, c.columns);
        EXPECT_FALSE(import.build(c.sheet, c.sheet.isWorkbook() ? 2 : 1, false)) << c.name;
        EXPECT_EQ(import.message(), c.message) << c.name;
        import.apply(true);
        expectUnchanged();
    }
}

TEST_F(RecordImportTest, AValueOfExactlyTheLimitIsKept) {
    const QByteArray longest(RecordImport::kMaxValueBytes, '7');
    const TableSheet sheet = textSheet(("a," + longest).constData());
    RecordImport import(doc, firstColumns(2));
    ASSERT_TRUE(import.build(sheet, 1, false)) << import.message().toStdString();
    import.apply(false);
    EXPECT_EQ(doc.recordAt(0)->values[1], longest);
}

TEST_F(RecordImportTest, CancellingKeepsTheList) {
    QByteArray text;
    for (int i = 0; i < 1000; ++i) text += "row" + QByteArray::number(i) + "\n";
    const TableSheet sheet(DelimitedText::parse(text, ','), TableSheet::Kind::Text);
    RecordImport import(doc, firstColumns(1));
    int calls = 0;
    EXPECT_FALSE(import.build(sheet, 1, false, [&calls](int done, int total) {
        EXPECT_EQ(total, 1000);
        EXPECT_LE(done, total);
        return ++calls < 2;
    }));
    EXPECT_TRUE(import.message().isEmpty());
    import.apply(true);
    expectUnchanged();
}

TEST_F(RecordImportTest, EveryRecordGetsACopyOfTheNewRecordsPage) {
    int pagesMade = 0;
    doc.newRecordInitializer = [&pagesMade](InfoRecord& record) {
        ++pagesMade;
        record.resizePage(100, 60);
        record.appendBlock(TextBlock::create(BlockKind::FirstVariable, {100, 100, 3000, 800},
                                             "{x}", true));
        record.appendBlock(TextBlock::create(BlockKind::FixedText, {100, 900, 3000, 1600},
                                             gbk("特价"), true));
    };
    const TableSheet sheet = textSheet("tea\ncoffee\n");
    RecordImport import(doc, firstColumns(1));
    ASSERT_TRUE(import.build(sheet, 1, false));
    EXPECT_EQ(pagesMade, 1);
    import.apply(false);
    ASSERT_EQ(doc.recordCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const InfoRecord& r = *doc.recordAt(i);
        EXPECT_EQ(r.widthMm, 100);
        ASSERT_EQ(r.blocks.size(), 2u);
        EXPECT_EQ(r.blocks[0]->plainText(), r.values[0]);
    }
    EXPECT_EQ(doc.recordAt(1)->blocks[0]->plainText(), "coffee");
}

TEST(RecordImport, PreviewCutsOnCharacterBoundaries) {
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"abc", "abc"},
        {QByteArray(30, 'a'), QByteArray(30, 'a')},
        {QByteArray(31, 'a'), QByteArray(30, 'a')},
        {QByteArray(29, 'a') + gbk("价"), QByteArray(29, 'a')},
        {QByteArray(28, 'a') + gbk("价格"), QByteArray(28, 'a') + gbk("价")},
        {gbk("一二三四五六七八九十一二三四五六"), gbk("一二三四五六七八九十一二三四五")},
    };
    for (const auto& [text, cut] : cases) EXPECT_EQ(RecordImport::cutText(text, 30), cut);
}

namespace {

// A document of two designed records (a name block on a 90 × 60 page) and one empty
// record at the end, the first current; new records from the library get an A4 page
// without blocks.
class ImportPlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        doc.newRecordInitializer = [](InfoRecord& record) { record.resizePage(190, 280); };
        for (const char* name : {"tea", "milk", ""}) {
            auto record = std::make_unique<InfoRecord>();
            record->resizePage(90, 60);
            record->appendBlock(TextBlock::create(BlockKind::FirstVariable, {100, 100, 3000, 800}, "{x}", true));
            record->values[0] = name;
            doc.records.push_back(std::move(record));
        }
        doc.records.front()->current = true;
    }
    CPatDoc doc;
};

}  // namespace

TEST_F(ImportPlacementTest, ReplacesOrAppendsAndEndsWithARecordForTyping) {
    const struct {
        const char* name;
        ImportTarget::Records mode;
        std::vector<QByteArray> names;  // the list afterwards, the empty record last
        int current;
    } cases[] = {
        {"replace", ImportTarget::Records::Replace, {"cola", "soda", ""}, 0},
        // The empty record that ended the list gives way to the new one.
        {"append", ImportTarget::Records::Append, {"tea", "milk", "cola", "soda", ""}, 2},
    };
    for (const auto& c : cases) {
        doc.records.clear();
        SetUp();
        RecordImport import(doc, firstColumns(1));
        ASSERT_TRUE(import.build(textSheet("cola\nsoda"), 1, false)) << c.name;
        import.apply(true, c.mode);
        ASSERT_EQ(doc.recordCount(), int(c.names.size())) << c.name;
        for (size_t i = 0; i < c.names.size(); ++i) EXPECT_EQ(doc.recordAt(int(i))->values[0], c.names[i]) << c.name;
        EXPECT_EQ(doc.currentIndex(), c.current) << c.name;
        const InfoRecord& typing = *doc.records.back();
        EXPECT_EQ(typing.copies, 0) << c.name << ": the empty record is not queued";
        EXPECT_EQ(doc.recordAt(c.current)->copies, 1) << c.name;
        EXPECT_EQ(doc.queuedCount(), c.mode == ImportTarget::Records::Replace ? 2 : 4) << c.name;
    }
}

TEST_F(ImportPlacementTest, NewRecordsTakeTheChosenPage) {
    // The current record's design carries a product picture that is not the new records'.
    doc.records.front()->appendBlock(TextBlock::create(BlockKind::FixedText, {100, 900, 3000, 1600}, gbk("特价"), true));
    doc.records.front()->values[InfoRecord::kCurrentPrice] = "9.90";
    doc.records.front()->productPicture = "pic";
    for (const ImportTarget::Page page : {ImportTarget::Page::CurrentRecord, ImportTarget::Page::Library}) {
        RecordImport import(doc, firstColumns(1), ImportTarget::pageRecord(doc, page));
        ASSERT_TRUE(import.build(textSheet("cola"), 1, false));
        import.apply(true, ImportTarget::Records::Append);
        for (const InfoRecord* r : {doc.recordAt(doc.recordCount() - 2), doc.recordAt(doc.recordCount() - 1)}) {
            if (page == ImportTarget::Page::CurrentRecord) {
                EXPECT_EQ(r->widthMm, 90);
                ASSERT_EQ(r->blocks.size(), 2u);
                EXPECT_EQ(r->blocks[1]->plainText(), gbk("特价"));
            } else {
                EXPECT_EQ(r->widthMm, 190);
                EXPECT_TRUE(r->blocks.empty());
            }
            EXPECT_TRUE(r->values[InfoRecord::kCurrentPrice].isEmpty());
            EXPECT_TRUE(r->productPicture.isEmpty());
        }
        EXPECT_EQ(doc.recordAt(doc.recordCount() - 2)->values[0], "cola");
    }
}

TEST_F(ImportPlacementTest, ChoicesOfferedByTheDocument) {
    EXPECT_EQ(ImportTarget::replacedCount(doc), 2);
    EXPECT_EQ(ImportTarget::replaceQuestion(2), QString::fromUtf8("导入将替换现有的2项信息"));
    EXPECT_EQ(ImportTarget::defaultPage(doc), ImportTarget::Page::CurrentRecord);
    EXPECT_EQ(ImportTarget::pageRecord(doc, ImportTarget::Page::CurrentRecord), doc.recordAt(0));
    EXPECT_EQ(ImportTarget::pageRecord(doc, ImportTarget::Page::Library), nullptr);
    // Pages without blocks hold no design to keep.
    for (auto& r : doc.records) r->clearBlocks();
    EXPECT_EQ(ImportTarget::defaultPage(doc), ImportTarget::Page::Library);
    doc.records.clear();
    EXPECT_EQ(ImportTarget::replacedCount(doc), 0);
    EXPECT_EQ(ImportTarget::defaultPage(doc), ImportTarget::Page::Library);
}

TEST(RecordImport, AnEmptyRecordOutOfTheQueueJoinsItWhenFilled) {
    const struct {
        const char* name;
        bool wasEmpty;
        int copies;
        const char* value;
        int after;
    } cases[] = {
        {"the record for typing gets a value", true, 0, "cola", 1},
        {"it stays out while still empty", true, 0, "", 0},
        {"a product taken out of the queue stays out", false, 0, "cola", 0},
        {"queued copies are kept", true, 3, "cola", 3},
    };
    for (const auto& c : cases) {
        InfoRecord record;
        record.copies = c.copies;
        record.values[0] = c.value;
        RecordImport::joinQueueWhenFilled(record, c.wasEmpty);
        EXPECT_EQ(record.copies, c.after) << c.name;
    }
}
