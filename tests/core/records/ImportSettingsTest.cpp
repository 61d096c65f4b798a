#include <gtest/gtest.h>

#include <QFile>

#include "Bytes.h"
#include "core/config/DicFile.h"
#include "core/config/VariableNameList.h"
#include "core/records/ImportSettings.h"

using namespace pemo;
using test::Bytes;
using Kind = ImportSettings::Kind;

TEST(ImportSettings, FilesByteForByte) {
    ImportSettings text(Kind::Text);
    text.columns = {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 3, 200, 0};
    text.separatorIndex = 4;
    Bytes expected;
    for (int c : text.columns) expected.i32(c);
    expected.i32(4);
    EXPECT_EQ(text.encode(), expected.data());
    EXPECT_EQ(text.encode().size(), 56);

    ImportSettings book(Kind::Workbook);
    book.columns = text.columns;
    book.sheetName = test::gbk("商品");
    Bytes expectedBook;
    for (int c : book.columns) expectedBook.i32(c);
    expectedBook.text("商品");
    EXPECT_EQ(book.encode(), expectedBook.data());

    // A name of 300 bytes takes the three-byte prefix.
    book.sheetName = QByteArray(300, 'S');
    const QByteArray longForm = book.encode();
    EXPECT_EQ(longForm.mid(52, 3), QByteArray("\xFF\x2C\x01", 3));
    EXPECT_EQ(longForm.size(), 52 + 3 + 300);

    // Saved and loaded through the program folder.
    ASSERT_TRUE(text.save());
    QFile file(DicFile::path(QStringLiteral("PemImTxt.dic")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected.data());
    EXPECT_EQ(ImportSettings::load(Kind::Text).columns, text.columns);
}

TEST(ImportSettings, DecodingChecksWhatItReads) {
    struct Case {
        const char* name;
        QByteArray bytes;
        int column0;
        int column12;
        int separator;
    };
    auto text = [](int c0, int c12, int sep) {
        Bytes b;
        b.i32(c0);
        for (int i = 1; i < 12; ++i) b.i32(0);
        b.i32(c12).i32(sep);
        return b.data();
    };
    const Case cases[] = {
        {"good", text(5, 7, 2), 5, 7, 2},
        {"column above 200", text(201, 7, 1), 0, 7, 1},
        {"negative column", text(-1, 7, 1), 0, 7, 1},
        {"separator outside the list", text(5, 7, 5), 5, 7, 0},
        {"negative separator", text(5, 7, -3), 5, 7, 0},
        {"short file", text(5, 7, 1).left(40), 0, 0, 0},
        {"empty file", QByteArray(), 0, 0, 0},
    };
    for (const Case& c : cases) {
        const ImportSettings s = ImportSettings::decode(Kind::Text, c.bytes);
        EXPECT_EQ(s.columns[0], c.column0) << c.name;
        EXPECT_EQ(s.columns[12], c.column12) << c.name;
        EXPECT_EQ(s.separatorIndex, c.separator) << c.name;
    }
    // A workbook file whose name runs past the end gives the defaults.
    Bytes truncated;
    for (int i = 0; i < 13; ++i) truncated.i32(3);
    truncated.u8(10).raw("abc");
    const ImportSettings book = ImportSettings::decode(Kind::Workbook, truncated.data());
    EXPECT_EQ(book.columns[0], 0);
    EXPECT_TRUE(book.sheetName.isEmpty());
}

TEST(ImportSettings, ValidationMessages) {
    const VariableNameList names = VariableNameList::build();
    struct Case {
        Kind kind;
        const char* file;
        const char* sheet;
        std::array<int32_t, 13> columns;
        const char* message;
    };
    const Case cases[] = {
        {Kind::Text, "", "", {1}, "空文件名。"},
        {Kind::Workbook, "a.xls", "", {1}, "在配置中，工作表名不能为空。"},
        {Kind::Text, "a.txt", "", {}, "在配置中，所有项为空，文件无法导入。"},
        {Kind::Text, "a.txt", "", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 0},
         "在配置中，{原价}和{现价}的值相同，文件无法导入。"},
        {Kind::Workbook, "a.xls", "S", {2, 1, 2, 1}, "在配置中，{商品名称}和{商品规格}的值相同，文件无法导入。"},
        {Kind::Workbook, "a.xls", "S", {2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, ""},
    };
    for (const Case& c : cases) {
        ImportSettings s(c.kind);
        s.columns = c.columns;
        s.sheetName = c.sheet;
        EXPECT_EQ(s.check(QString::fromUtf8(c.file), names), QString::fromUtf8(c.message))
            << c.message;
    }
}
