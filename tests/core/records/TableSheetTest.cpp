#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/records/CellText.h"
#include "core/records/DelimitedText.h"
#include "core/records/TableSheet.h"

using namespace pemo;
using test::gbk;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(PEMO_TEST_DATA "/import/") + QString::fromUtf8(name);
}

// The rows of a table as "a|b|c" lines, for compact expectations.
QStringList lines(const CellTable& table) {
    QStringList result;
    for (const auto& row : table.rows) {
        QStringList fields;
        for (const QByteArray& f : row) fields << Gbk::toUnicode(f);
        result << fields.join(QLatin1Char('|'));
    }
    return result;
}

QStringList lines(const TableSheet& sheet) {
    QStringList result;
    for (int r = 1; r <= sheet.totalRows(); ++r) {
        QStringList fields;
        for (int c = 1; c <= sheet.totalColumns(); ++c) fields << Gbk::toUnicode(sheet.cell(c, r));
        result << fields.join(QLatin1Char('|'));
    }
    return result;
}

}  // namespace

TEST(DelimitedText, Rfc4180) {
    struct Case {
        const char* name;
        QByteArray text;
        char separator;
        QStringList rows;
        int columns;
    };
    const Case cases[] = {
        {"one field", "abc", ',', {"abc"}, 1},
        {"quoted separators", "\"a\",\"b,c\",\"d\"\r\n", ',', {"a|b,c|d"}, 3},
        {"mixed quoted and bare", "a,\"b\",c", ',', {"a|b|c"}, 3},
        {"doubled quotes", "\"5\"\" TV\",x", ',', {"5\" TV|x"}, 2},
        {"line break inside quotes", "\"a\r\nb\",c\nd,e", ',', {"a\r\nb|c", "d|e"}, 2},
        {"empty fields", "a,,b\n,,\n", ',', {"a||b", "||"}, 3},
        {"trailing separator", "a,b,\n", ',', {"a|b|"}, 3},
        {"trailing separator at the end", "a;b;", ';', {"a|b|"}, 3},
        {"LF, CR LF and lone CR", "a\nb\r\nc\rd", ',', {"a", "b", "c", "d"}, 1},
        {"empty line in between", "a\n\nb\n", ',', {"a", "", "b"}, 1},
        {"no final line break", "a,b\nc", ',', {"a|b", "c"}, 2},
        {"text after a closing quote", "\"a\"b,c", ',', {"ab|c"}, 2},
        {"quote inside a bare field", "a\"b,c", ',', {"a\"b|c"}, 2},
        {"text ending in .0 stays", "Ver 2.0,1.0,12.0", ',', {"Ver 2.0|1.0|12.0"}, 3},
        {"empty text", "", ',', {}, 0},
        {"other separator leaves commas", "a,b?c", '?', {"a,b|c"}, 2},
    };
    for (const Case& c : cases) {
        const CellTable table = DelimitedText::parse(c.text, c.separator);
        EXPECT_EQ(lines(table), c.rows) << c.name;
        EXPECT_EQ(table.columns, c.columns) << c.name;
    }
}

TEST(DelimitedText, RefusedTexts) {
    struct Case {
        const char* name;
        QByteArray text;
        const char* message;
    };
    const Case cases[] = {
        {"quote never closed", "\"a,b\nc,d\ne,f\n", "第1行的引号没有结束"},
        {"quote opened on a later line", "a,b\r\nc,\"d\r\ne\r\n", "第2行的引号没有结束"},
        {"a closed quoted line break before it", "\"x\ny\",1\n\"z", "第3行的引号没有结束"},
        {"lone CR ends a line too", "a\rb\r\"c", "第3行的引号没有结束"},
        {"UTF-8 with one stray byte",
         QString::fromUtf8("名称,价格\n可口可乐,3\n雪碧,").toUtf8() + "\xB3" + QString::fromUtf8("元\n芬达,2\n").toUtf8(),
         "第3行有不是UTF-8的字节，文件无法导入。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            DelimitedText::parse(c.text, ',');
            ADD_FAILURE() << "read without a word";
        } catch (const FormatError& error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.message));
        }
    }
    // Nothing of such a file is imported.
    QTemporaryDir dir;
    const QString path = dir.filePath("open.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a,1\nb,\"2\nc,3\n");
    file.close();
    const TableSheet sheet(path, ',');
    EXPECT_EQ(sheet.totalRows(), 0);
    EXPECT_EQ(sheet.message(), QString::fromUtf8("第2行的引号没有结束"));
}

TEST(DelimitedText, SeparatorsAreCharactersNotBytes) {
    // Every one of these is also the second byte of some GBK character.
    const QString wide = QString::fromUtf8("東");  // 96 7C
    for (char separator : {'|', '\\', '@', '[', ']', '^', '_', '`', '{', '}', '~', 'a'}) {
        SCOPED_TRACE(separator);
        QByteArray trail;
        // A character whose second byte is the separator.
        for (int lead = 0x81; lead <= 0xFE && trail.isEmpty(); ++lead) {
            const QByteArray pair = QByteArray(1, char(lead)) + separator;
            if (Gbk::fromUnicode(Gbk::toUnicode(pair)) == pair && Gbk::toUnicode(pair).size() == 1) trail = pair;
        }
        ASSERT_FALSE(trail.isEmpty());
        const QByteArray text = gbk("东") + trail + separator + trail + "x" + separator + "\"" + trail + "\"\n";
        const CellTable table = DelimitedText::parse(text, separator);
        ASSERT_EQ(table.rows.size(), 1u);
        EXPECT_EQ(table.rows[0], (std::vector<QByteArray>{gbk("东") + trail, trail + "x", trail}));
    }
    EXPECT_EQ(lines(DelimitedText::parse(Gbk::fromUnicode(wide + "|1|" + wide), '|')),
              QStringList{wide + "|1|" + wide});
}

TEST(DelimitedText, EncodingsWithoutAMark) {
    const QString text = QString::fromUtf8("名称,现价\r\n可口可乐,3.50\r\n雪碧,3\r\n");
    const QStringList expected = {"名称|现价", "可口可乐|3.50", "雪碧|3"};
    QByteArray le(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray be = le;
    for (qsizetype i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    QByteArray strayUtf8 = text.toUtf8();
    strayUtf8.insert(strayUtf8.indexOf("3.50"), '\xFF');
    // Many Chinese values in UTF-8 and one stray byte: still UTF-8.
    QByteArray longUtf8;
    for (int i = 0; i < 40; ++i) longUtf8 += QString::fromUtf8("商品%1,价格\n").arg(i).toUtf8();
    longUtf8 += "\x80\n";
    using E = DelimitedText::Encoding;
    struct Case {
        const char* name;
        QByteArray bytes;
        E detected;
    };
    const Case cases[] = {
        {"UTF-16LE", le, E::Utf16Le},
        {"UTF-16BE", be, E::Utf16Be},
        {"UTF-8", text.toUtf8(), E::Utf8},
        {"UTF-8 with a stray byte", strayUtf8, E::Utf8},
        {"long UTF-8 with a stray byte", longUtf8, E::Utf8},
        {"GBK", gbk("名称,现价\r\n可口可乐,3.50\r\n雪碧,3\r\n"), E::Gbk},
        {"GBK short", gbk("价格"), E::Gbk},
        {"ASCII", "a,b\n", E::Gbk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DelimitedText::detect(c.bytes), c.detected);
    }
    EXPECT_EQ(lines(DelimitedText::parse(le, ',')), expected);
    EXPECT_EQ(lines(DelimitedText::parse(be, ',')), expected);
    // A chosen encoding wins over the guess.
    EXPECT_EQ(lines(DelimitedText::parse(gbk("价格"), ',', E::Gbk)), QStringList{"价格"});
    EXPECT_EQ(lines(DelimitedText::parse(QByteArray("\x37\x4E", 2), ',', E::Utf16Le)), QStringList{QString(QChar(0x4E37))});

    QTemporaryDir dir;
    const QString path = dir.filePath("utf16.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(le);
    file.close();
    const TableSheet sheet(path, ',');
    EXPECT_EQ(sheet.encoding(), E::Utf16Le);
    EXPECT_EQ(lines(sheet), expected);
}

TEST(DelimitedText, Encodings) {
    const QStringList expected = {"名称|说明|现价", "可口可乐|碳酸,饮料|3.50", "雪碧|柠檬 \"味\"|3"};
    for (const char* name : {"utf8-bom.csv", "utf16le.csv", "gbk.csv"}) {
        TableSheet sheet(fixture(name), ',');
        ASSERT_TRUE(sheet.isRead()) << name << sheet.message().toStdString();
        EXPECT_EQ(sheet.kind(), TableSheet::Kind::Text);
        EXPECT_EQ(lines(sheet), expected) << name;
    }
    // UTF-8 without a byte-order mark; GBK bytes that happen to be no valid UTF-8.
    EXPECT_EQ(lines(DelimitedText::parse(QString::fromUtf8("价格,5").toUtf8(), ',')),
              QStringList{"价格|5"});
    EXPECT_EQ(DelimitedText::detect(gbk("价格")), DelimitedText::Encoding::Gbk);

    TableSheet refused(fixture("not-gbk.csv"), ',');
    EXPECT_FALSE(refused.isRead());
    EXPECT_EQ(refused.totalRows(), 0);
    EXPECT_EQ(refused.message(), CellText::badCharacterMessage(3, 2, QString::fromUtf8("😀")));
}

TEST(DelimitedText, LineWithMoreFieldsThanA16BitCount) {
    QByteArray line = QByteArray(40000, ',') + "end";
    const CellTable table = DelimitedText::parse(line, ',');
    EXPECT_EQ(table.columns, 40001);
    TableSheet sheet(table, TableSheet::Kind::Text);
    EXPECT_EQ(sheet.cell(40001, 1), "end");
}

TEST(TableSheet, ReadCellAndRow) {
    TableSheet sheet(DelimitedText::parse("a,\"b\",c\nd", ','), TableSheet::Kind::Text);
    QByteArray out = "x";
    EXPECT_FALSE(sheet.readCell(0, 1, out));
    EXPECT_EQ(sheet.lastError(), "Column cannot be zero\n");
    EXPECT_TRUE(sheet.readCell(2, 1, out));
    EXPECT_EQ(out, "b");
    EXPECT_FALSE(sheet.readCell(2, 2, out));  // the row has one field
    EXPECT_TRUE(out.isEmpty());
    EXPECT_FALSE(sheet.readCell(1, 3, out));
    QList<QByteArray> row;
    EXPECT_TRUE(sheet.readRow(row, 1));
    EXPECT_EQ(row, (QList<QByteArray>{"a", "b", "c"}));
    EXPECT_TRUE(sheet.readRow(row));  // the cursor moved on
    EXPECT_EQ(row, QList<QByteArray>{"d"});
    EXPECT_FALSE(sheet.readRow(row, 5));
    EXPECT_EQ(sheet.lastError(), "Desired row is greater than total number of rows in spreadsheet\n");
}

TEST(TableSheet, Workbooks) {
    const QStringList products = {
        "名称|说明|规格|单位|等级|产地|日期|促销|属性|其他|原价|现价|折扣",
        "可口可乐|碳酸饮料|330ml|罐|一级|上海|2026-12-09|买二送一|||3.5|2.8|8折",
        "Ver 2.0|1.0|12|12|19.99|1234567890123|TRUE||||0.3|-7|x",
        "只有首尾||||||||||||尾",
    };
    struct Case {
        const char* file;
        TableSheet::Kind kind;
    };
    // The kind follows the first bytes, whatever the suffix says.
    const Case cases[] = {{"products.xlsx", TableSheet::Kind::Xlsx},
                          {"products.xls", TableSheet::Kind::Xls},
                          {"really-xlsx.xls", TableSheet::Kind::Xlsx},
                          {"really-xls.xlsx", TableSheet::Kind::Xls}};
    for (const Case& c : cases) {
        TableSheet sheet(fixture(c.file), ',', QString::fromUtf8("商品"));
        ASSERT_TRUE(sheet.isRead()) << c.file << sheet.message().toStdString();
        EXPECT_EQ(sheet.kind(), c.kind) << c.file;
        QStringList got = lines(sheet);
        // An old workbook keeps booleans as numbers.
        if (c.kind == TableSheet::Kind::Xls) got[2].replace(QStringLiteral("|1|"), QStringLiteral("|TRUE|"));
        EXPECT_EQ(got, products) << c.file;
        EXPECT_EQ(sheet.sheetNames(), (QStringList{QString::fromUtf8("商品"), QString::fromUtf8("空表")}));

        TableSheet first(fixture(c.file), ',');
        EXPECT_EQ(first.totalRows(), 4) << "no name takes the first sheet";
        TableSheet headerOnly(fixture(c.file), ',', QString::fromUtf8("空表"));
        EXPECT_EQ(headerOnly.totalRows(), 1) << c.file;
        TableSheet missing(fixture(c.file), ',', QStringLiteral("Sheet9"));
        EXPECT_FALSE(missing.isRead());
        EXPECT_EQ(missing.totalRows(), 0);
        EXPECT_EQ(missing.message(), CellText::missingSheetMessage(QStringLiteral("Sheet9")));
    }
}

TEST(TableSheet, HandmadeWorkbook) {
    // Inline and rich strings without their phonetic runs, a formula's text, a cell
    // without a reference, a 1904 date in a custom format and a boolean.
    TableSheet sheet(fixture("handmade.xlsx"), ',', QStringLiteral("data"));
    ASSERT_TRUE(sheet.isRead()) << sheet.message().toStdString();
    EXPECT_EQ(lines(sheet), (QStringList{"名称||价格|||", "|||||", "东京 |公式|5||1904-01-01|FALSE"}));
}

TEST(TableSheet, AWorkbookWithAPartThatCannotBeReadIsRefused) {
    // Each is handmade.xlsx with one part spoilt; whole, it reads (see above).
    for (const char* name : {"damaged-strings-xml.xlsx", "damaged-strings-crc.xlsx",
                             "damaged-strings-size.xlsx", "damaged-styles-xml.xlsx"}) {
        SCOPED_TRACE(name);
        TableSheet sheet(fixture(name), ',');
        EXPECT_FALSE(sheet.isRead());
        EXPECT_EQ(sheet.totalRows(), 0);
        EXPECT_EQ(sheet.message(), QString::fromUtf8("文件不是可以读取的工作簿。"));
    }
}

TEST(TableSheet, MissingAndDamagedFiles) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.csv"));
    TableSheet sheet(missing, ',');
    EXPECT_EQ(sheet.totalRows(), 0);
    EXPECT_EQ(sheet.lastError(), "Error in opening file\n");
    EXPECT_EQ(sheet.message(), QString::fromUtf8("无法打开文件 %1。").arg(missing));

    const QString damaged = dir.filePath(QStringLiteral("bad.xlsx"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04 not really a zip");
    file.close();
    TableSheet bad(damaged, ',');
    EXPECT_FALSE(bad.isRead());
    EXPECT_EQ(bad.kind(), TableSheet::Kind::Xlsx);

    // A workbook that makes the library read past its own buffers is refused, and the
    // program lives on.
    const QString overread = fixture("freexl-overread.xls");
    TableSheet refused(overread, ',');
    EXPECT_EQ(refused.kind(), TableSheet::Kind::Xls);
    EXPECT_EQ(refused.totalRows(), 0);
    EXPECT_EQ(refused.message(), QString::fromUtf8("文件 %1 不是可以读取的工作簿。").arg(overread));
}

TEST(TableSheet, WorkbookBombsAreRefusedQuickly) {
    // Workbooks of some 100 KB whose sheet inflates to 120 or 300 MB of spaces
    // (make_fixtures.py --bombs): refused from what their parts declare, before inflating.
    QTemporaryDir dir;
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(PEMO_TEST_DATA "/import/make_fixtures.py"), QStringLiteral("--bombs"), dir.path()});
    ASSERT_TRUE(python.waitForFinished(120000) && python.exitCode() == 0) << python.readAllStandardError().toStdString();
    for (const char* name : {"sheet-300mb.xlsx", "sheet-120mb.xlsx"}) {
        QElapsedTimer clock;
        clock.start();
        const QString path = dir.filePath(QString::fromUtf8(name));
        const TableSheet sheet(path, ',');
        EXPECT_FALSE(sheet.isRead()) << name;
        EXPECT_EQ(sheet.message(), QString::fromUtf8("文件不是可以读取的工作簿。")) << name;
        EXPECT_LT(clock.elapsed(), 1000) << name;
    }
}

TEST(CellText, NumbersAndDates) {
    const std::pair<double, const char*> numbers[] = {
        {12, "12"}, {12.0, "12"}, {19.99, "19.99"}, {1234567890123, "1234567890123"},
        {0.1 + 0.2, "0.3"}, {-7, "-7"}, {0.000015, "0.000015"}, {1e20, "100000000000000000000"},
        // Barcodes kept as numbers in a workbook: all their digits, never an exponent.
        {6.90123456789e12, "6901234567890"}, {6901234567892.0, "6901234567892"},
        {4.006381333931e12, "4006381333931"},
    };
    for (const auto& [value, text] : numbers) EXPECT_EQ(CellText::formatNumber(value), text) << text;
    using F = CellText::DateForm;
    EXPECT_EQ(CellText::formatDate(46365, false, F::Date), "2026-12-09");
    EXPECT_EQ(CellText::formatDate(1, false, F::Date), "1900-01-01");
    EXPECT_EQ(CellText::formatDate(60, false, F::Date), "1900-02-29");
    EXPECT_EQ(CellText::formatDate(61, false, F::Date), "1900-03-01");
    EXPECT_EQ(CellText::formatDate(0, true, F::Date), "1904-01-01");
    EXPECT_EQ(CellText::formatDate(46365.75, false, F::DateTime), "2026-12-09 18:00:00");
    EXPECT_EQ(CellText::formatDate(0.5, false, F::Time), "12:00:00");
    EXPECT_EQ(CellText::formatDate(-1, false, F::Date), "-1");
}
