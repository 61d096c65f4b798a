#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/blocks/BlockFactory.h"
#include "core/document/CPatDoc.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintTable.h"

using namespace pemo;
using test::gbk;

namespace {

class PrintTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        doc.newDocument();
        doc.variableNames.setName(0, gbk("品名"));
    }
    // count records: 变量1 and 原价 filled, every other one out of the queue.
    void fill(int count) {
        for (int r = 0; r < count; ++r) {
            if (r > 0) doc.records.push_back(doc.newRecord());
            InfoRecord& record = *doc.records.back();
            record.values[0] = gbk("商品") + QByteArray::number(r + 1);
            record.values[10] = QByteArray::number(r + 1) + ".00";
            record.copies = r % 2;
        }
    }
    CPatDoc doc;
};

}  // namespace

TEST_F(PrintTableTest, ColumnsFollowTheOptions) {
    fill(3);
    struct Case {
        bool empty, queue;
        int columns, rows;
    };
    for (const Case& c : {Case{false, false, 2, 3}, Case{false, true, 2, 1}, Case{true, false, 13, 3},
                          Case{true, true, 13, 1}}) {
        const PrintTable table(doc, {c.empty, c.queue});
        EXPECT_EQ(table.columnCount(), c.columns) << c.empty << c.queue;
        EXPECT_EQ(table.rowCount(), c.rows) << c.empty << c.queue;
    }
    PrintTable table(doc, {false, false});
    EXPECT_EQ(table.columns(), (std::vector<int>{0, 10}));
    EXPECT_EQ(table.header()[0].text(), gbk("品名"));
    EXPECT_EQ(table.header()[1].text(), gbk("原价"));
    EXPECT_EQ(table.columnWidth(0), 2 * table.columnWidth(1));
    // Fitted to 9000 twips: 6000 and 3000.
    table.fitWidth(9000);
    EXPECT_EQ(table.columnWidth(0), 6000);
    EXPECT_EQ(table.columnWidth(1), 3000);
    EXPECT_EQ(table.tableWidth(), 9000);
    // A narrow column wraps its text onto more lines.
    const int oneLine = table.rowHeight(0);
    table.fitWidth(600);
    EXPECT_GT(table.rowHeight(0), oneLine);
}

TEST_F(PrintTableTest, NothingToPrint) {
    // Every value empty and 空项打印 off: no column, no division by zero.
    const PrintTable table(doc, {false, false});
    EXPECT_TRUE(table.isEmpty());
    EXPECT_TRUE(table.pageStarts(PrintTable::geometry(300, 2400, 3300)).empty());
    QTemporaryDir dir;
    QString error;
    PrintTable again(doc, {false, false});
    EXPECT_FALSE(PdfOutput::write(again, dir.filePath(QStringLiteral("x.pdf")), QSizeF(210, 297), 150, &error));
    EXPECT_EQ(error, PrintTable::nothingToPrintMessage());
}

TEST_F(PrintTableTest, PagesRepeatTheHeaderAndCountInTheFooter) {
    fill(120);
    for (int dpi : {96, 300}) {
        PrintTable table(doc, {false, false});
        const PrintTable::Geometry g = PrintTable::geometry(dpi, dpi * 8, dpi * 5);
        EXPECT_EQ(g.margin, dpi * 100 / 254);
        table.fitWidth(g.width * 1440 / dpi);
        const std::vector<int> starts = table.pageStarts(g);
        ASSERT_GT(starts.size(), 2u) << dpi;
        EXPECT_EQ(starts.front(), 0);
        // Every page is filled as far as the next row would still fit.
        const auto px = [dpi](int twips) { return twips * dpi / 1440; };
        for (size_t k = 0; k + 1 < starts.size(); ++k) {
            int y = g.margin + px(table.headerHeight());
            for (int r = starts[k]; r < starts[k + 1]; ++r) y += px(table.rowHeight(r));
            EXPECT_LE(y, g.height);
            EXPECT_GT(y + px(table.rowHeight(starts[k + 1])), g.height);
        }
    }
    // The PDF: each page has the header and its own footer.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    PrintTable table(doc, {false, false});
    QString error;
    ASSERT_TRUE(PdfOutput::write(table, pdf, QSizeF(100, 80), 150, &error)) << error.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!text.waitForFinished(30000) || text.exitCode() != 0) GTEST_SKIP() << "pdftotext not available";
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GT(pages.size(), 2);
    for (int k = 0; k < pages.size(); ++k) {
        EXPECT_TRUE(pages[k].contains(QString::fromUtf8("品名"))) << k;
        // Text extraction drops the spaces and may read 页 back as its radical form.
        const QRegularExpression footer(QString::fromUtf8("第\\s*%1\\s*[页⻚]").arg(k + 1));
        EXPECT_TRUE(pages[k].contains(footer)) << k;
    }
    EXPECT_TRUE(pages.last().contains(QString::fromUtf8("商品120")));
}

TEST_F(PrintTableTest, ARowTallerThanThePageStandsAlone) {
    fill(3);
    doc.records[1]->values[0] = QByteArray(3000, 'W');
    PrintTable table(doc, {false, false});
    const PrintTable::Geometry g = PrintTable::geometry(96, 96 * 4, 96 * 3);
    table.fitWidth(g.width * 1440 / 96);
    EXPECT_EQ(table.pageStarts(g), (std::vector<int>{0, 1, 2}));
}
