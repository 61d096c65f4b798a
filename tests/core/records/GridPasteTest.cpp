#include <gtest/gtest.h>

#include "Bytes.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/document/CPatDoc.h"
#include "core/document/UndoOrder.h"
#include "core/records/GridCells.h"
#include "core/records/GridPaste.h"

using namespace pemo;
using test::gbk;

namespace {

constexpr int kName = 2;   // the first variable column

std::vector<std::vector<QByteArray>> rowsOf(const CellTable& table) { return table.rows; }

}  // namespace

TEST(GridCells, ClipboardTextBecomesABlockOfGbkCells) {
    using Rows = std::vector<std::vector<QByteArray>>;
    const struct {
        const char* name;
        QString text;
        bool csv;
        Rows want;
    } cases[] = {
        {"spreadsheet rows end in a line feed", QString::fromUtf8("牛奶\t12.5\n面包\t3\n"), false,
         {{gbk("牛奶"), "12.5"}, {gbk("面包"), "3"}}},
        {"CR LF and an empty field in the middle", QStringLiteral("a\t\tc\r\nd\te\tf\r\n"), false,
         {{"a", "", "c"}, {"d", "e", "f"}}},
        {"a quoted cell keeps its tab, quotes and line break as CR LF",
         QString::fromUtf8("\"x\ty\"\t\"他说\"\"好\"\"\"\t\"一\n二\"\n"), false,
         {{"x\ty", gbk("他说\"好\""), gbk("一\r\n二")}}},
        {"a single cell with commas stays whole", QString::fromUtf8("牛奶, 1L装"), false,
         {{gbk("牛奶, 1L装")}}},
        {"lines of equal comma fields are CSV", QStringLiteral("a,\"b,c\"\nd,e\n"), false,
         {{"a", "b,c"}, {"d", "e"}}},
        {"a column of values with a comma and a space stays one column",
         QString::fromUtf8("5L, 桶装\n250ml, 24盒\n"), false, {{"5L, " + gbk("桶装")}, {"250ml, " + gbk("24盒")}}},
        {"a CSV flavour on the clipboard splits one line too", QStringLiteral("a,b"), true,
         {{"a", "b"}}},
        {"blank lines after the block are dropped", QStringLiteral("a\tb\n\n\t\n"), false,
         {{"a", "b"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rowsOf(GridCells::parseClipboard(c.text, c.csv)), c.want);
    }
    // A character GBK cannot hold is refused with its place in the block.
    try {
        GridCells::parseClipboard(QString::fromUtf8("a\tb\nc\t奶\xF0\x9F\x98\x80\n"));
        FAIL() << "accepted";
    } catch (const FormatError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("2"))) << error.message().toStdString();
    }
}

TEST(GridCells, CopiedCellsQuoteWhatWouldSplitThem) {
    EXPECT_EQ(GridCells::toClipboard({{QStringLiteral("a"), QString()},
                                      {QStringLiteral("x\ty"), QStringLiteral("1\r\n\"2\"")}}),
              QStringLiteral("a\t\n\"x\ty\"\t\"1\n\"\"2\"\"\""));
    // What is copied comes back as it was.
    const QString back = GridCells::toClipboard({{QString::fromUtf8("他说\"好\"\r\n二"), "3"}});
    EXPECT_EQ(rowsOf(GridCells::parseClipboard(back)),
              (std::vector<std::vector<QByteArray>>{{gbk("他说\"好\"\r\n二"), "3"}}));
}

class GridPasteTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        for (int i = 0; i < 50; ++i) {
            auto r = doc.newRecord();
            r->setValue(0, "old" + QByteArray::number(i));
            r->appendBlock(TextBlock::create(0x02020002, {0, 0, 2880, 1440}, gbk("{规格}"), true));
            r->refreshPlaceholders(false, doc.placeholderSources());
            doc.records.push_back(std::move(r));
        }
        doc.records[0]->current = true;
    }
    CPatDoc doc;
};

TEST_F(GridPasteTest, ABlockIntoTheMiddleAndBackInOneStep) {
    // Three columns (变量2 to 变量4) over forty rows from record 30: twenty existing
    // records and twenty new ones.
    QString text;
    for (int r = 0; r < 40; ++r) {
        text += QString::fromUtf8("\"规格 %1\t\"\"大\"\"\"\t产地%1\t\"第一行\n第二行\"\n").arg(r);
    }
    GridPaste paste(GridCells::parseClipboard(text), 30, kName + 1);
    EXPECT_TRUE(paste.problem().isEmpty());
    EXPECT_EQ(paste.rows(), 40);
    EXPECT_EQ(paste.columns(), 3);
    EXPECT_EQ(paste.overwrites(doc), 0);
    const QByteArray shownBefore = doc.records[30]->blocks.front()->plainText();
    paste.apply(doc, false);

    ASSERT_EQ(doc.recordCount(), 70);
    const InfoRecord& first = *doc.records[30];
    EXPECT_EQ(first.value(0), "old30");
    EXPECT_EQ(first.value(1), gbk("规格 0\t\"大\""));
    EXPECT_EQ(first.value(2), gbk("产地0"));
    EXPECT_EQ(first.value(3), gbk("第一行\r\n第二行"));
    EXPECT_TRUE(first.blocks.front()->plainText().startsWith(gbk("规格 0")));
    EXPECT_EQ(first.undoHistory.count(), 1);
    EXPECT_EQ(doc.records[69]->value(2), gbk("产地39"));
    EXPECT_TRUE(doc.records[29]->value(1).isEmpty());

    // The whole paste is one step of the document's history.
    EXPECT_EQ(doc.listHistory().undoName(), QString::fromUtf8("粘贴"));
    ASSERT_TRUE(UndoOrder::undo(doc));
    ASSERT_EQ(doc.recordCount(), 50);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(doc.records[size_t(i)]->value(0), "old" + QByteArray::number(i));
        EXPECT_TRUE(doc.records[size_t(i)]->value(1).isEmpty()) << i;
    }
    EXPECT_EQ(doc.records[30]->blocks.front()->plainText(), shownBefore);
    EXPECT_EQ(doc.currentIndex(), 0);
    EXPECT_FALSE(UndoOrder::canUndo(doc));
    ASSERT_TRUE(UndoOrder::redo(doc));
    EXPECT_EQ(doc.recordCount(), 70);
    EXPECT_EQ(doc.records[30]->value(1), gbk("规格 0\t\"大\""));
}

TEST_F(GridPasteTest, CopiesAndFilledCells) {
    const struct {
        const char* name;
        QString text;
        int column;
        QString problem;
        int overwrites;
    } cases[] = {
        {"copies in range", QStringLiteral("0\tnew\n999\told1"), 1, QString(), 1},
        {"copies above 999", QStringLiteral("5\tx\n1000\ty"), 1,
         QString::fromUtf8("第2行第1列：“请填入一个在0和999之间的整数。”"), 2},
        {"copies that are no number", QStringLiteral("x\tone"), 1,
         QString::fromUtf8("第1行第1列：“请填入一个在0和999之间的整数。”"), 1},
        {"an empty copies cell is left alone", QStringLiteral("\tx"), 1, QString(), 1},
        {"图片 takes nothing and the columns past 折扣 are dropped",
         QStringLiteral("p\tq\t1\t2\t3\t4\t5"), 11, QString(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GridPaste paste(GridCells::parseClipboard(c.text), 0, c.column);
        EXPECT_EQ(paste.problem(), c.problem);
        EXPECT_EQ(paste.overwrites(doc), c.overwrites);
    }

    GridPaste paste(GridCells::parseClipboard(QStringLiteral("0\tnew\n7\told1\n\t")), 0, 1);
    paste.apply(doc, false);
    EXPECT_EQ(doc.records[0]->copies, 0);
    EXPECT_EQ(doc.records[1]->copies, 7);
    EXPECT_EQ(doc.records[0]->value(0), "new");
    // A record the paste left as it was takes no snapshot.
    EXPECT_EQ(doc.records[1]->undoHistory.count(), 0);
    // Emptying cells is the same step under its own name.
    CellTable empty;
    empty.set(0, 1, QByteArray());
    GridPaste clearing(empty, 0, 1);
    clearing.apply(doc, false);
    EXPECT_TRUE(doc.records[0]->value(0).isEmpty());
    EXPECT_EQ(doc.listHistory().undoName(), QString::fromUtf8("清除"));
}

TEST_F(GridPasteTest, NewRecordsShareOnePageMadeOnce) {
    // The library's template, as the frame gives it to new records.
    int made = 0;
    doc.newRecordInitializer = [&made](InfoRecord& r) {
        ++made;
        r.resizePage(100, 50);
        r.appendBlock(TextBlock::create(0x02020001, {0, 0, 2880, 1440}, gbk("{名称}"), true));
    };
    GridPaste paste(GridCells::parseClipboard(QStringLiteral("a\nb\nc\nd\n")), 48, kName);
    paste.apply(doc, false);
    doc.newRecordInitializer = nullptr;
    ASSERT_EQ(doc.recordCount(), 52);
    EXPECT_EQ(made, 1);
    for (int i = 50; i < 52; ++i) {
        const InfoRecord& r = *doc.records[size_t(i)];
        EXPECT_EQ(r.widthMm, 100);
        ASSERT_EQ(r.blocks.size(), 1u);
        EXPECT_EQ(r.blocks.front()->plainText(), i == 50 ? "c" : "d");
    }
}
