#include <gtest/gtest.h>

#include "TestBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/StatusTexts.h"

using namespace pemo;
using test::makeBlock;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QByteArray gbk(const char* utf8) {
    return Gbk::fromUnicode(QString::fromUtf8(utf8));
}

struct Page {
    const char* category;
    const char* name;
    const char* templateName;
    int widthMm;
    int heightMm;
    int copies;
};

}  // namespace

TEST(StatusTexts, PanesFiveToEightAreMarkedWhenEveryRecordAgreesUpToThem) {
    struct Case {
        std::vector<Page> pages;
        int current;
        QStringList expected;  // panes 1 to 8
    };
    const Case cases[] = {
        {{{"节日", "春节", "甲", 400, 280, 3}},
         0,
         {u("共1项"), u("第1项"), u("打印:1项"), u("份数:3份"), u("节日(*)"), u("春节(*)"),
          u("甲(*)"), u("(A3幅面)(*)")}},
        {{{"", "", "", 123, 45, 0}},
         0,
         {u("共1项"), u("第1项"), u("打印:0项"), u("份数:0份"), u("(*)"), u("(*)"), u("(*)"),
          u("(123x45)(*)")}},
        // A turned A4 page is another size; the same template under another name is not
        // the same template.
        {{{"节日", "春节", "甲", 190, 280, 1}, {"节日", "元宵", "甲", 280, 190, 0}},
         1,
         {u("共2项"), u("第2项"), u("打印:1项"), u("份数:1份"), u("节日(*)"), u("元宵"), u("甲"),
          u("(A4幅面)")}},
        {{{"节日", "春节", "甲", 190, 280, 1}, {"节日", "春节", "乙", 190, 280, 2}},
         0,
         {u("共2项"), u("第1项"), u("打印:2项"), u("份数:3份"), u("节日(*)"), u("春节(*)"), u("甲"),
          u("(A4幅面)(*)")}},
        {{{"节日", "春节", "甲", 190, 280, 0}, {"季节", "春节", "甲", 190, 280, 5}},
         1,
         {u("共2项"), u("第2项"), u("打印:1项"), u("份数:5份"), u("季节"), u("春节"), u("甲"),
          u("(A4幅面)(*)")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.join(' ').toStdString());
        CPatDoc doc;
        for (const Page& p : c.pages) {
            auto record = doc.newRecord();
            record->background.category = gbk(p.category);
            record->background.name = gbk(p.name);
            record->background.templateName = gbk(p.templateName);
            record->resizePage(p.widthMm, p.heightMm);
            record->copies = p.copies;
            doc.records.push_back(std::move(record));
        }
        doc.setCurrentIndex(c.current);
        EXPECT_EQ(StatusTexts::compute(doc).mid(0, 8), c.expected);
    }
}

TEST(StatusTexts, OneSelectedBlockIsNamedByItsKind) {
    test::registerTestBlocks();
    CPatDoc doc;
    MallInfoList mall;
    mall.setEntries({{gbk("甲"), {}}, {gbk("商场电话"), gbk("123")}});
    doc.mallInfo = &mall;
    doc.variableNames.setName(2, gbk("产地"));
    struct Case {
        int32_t kind;
        const char* expected;
    };
    const Case cases[] = {
        {BlockKind::Polyline, "{连续直线}"},
        {0x01000015, "{箭头}"},
        {0x01000022, "{星形}"},
        {BlockKind::FixedText, "{文字}"},
        {0x02020003, "{产地}"},
        {BlockKind::Discount, "{折扣}"},
        {0x02080002, "{商场电话}"},
        {BlockKind::Logo2, "{商场Logo2}"},
        {BlockKind::ProductPicture, "{商品图片}"},
        {0x0100000A, "选择1块"},  // kinds without a name keep the count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        InfoRecord record;
        record.appendBlock(makeBlock(BlockKind::Rectangle, {0, 0, 10, 10}));
        record.selectBlock(&record.appendBlock(makeBlock(c.kind, {0, 0, 10, 10})));
        EXPECT_EQ(StatusTexts::selection(record, doc.placeholderSources()), u(c.expected));
    }
    InfoRecord record;
    for (int i = 0; i < 3; ++i) {
        record.selectBlock(&record.appendBlock(makeBlock(BlockKind::Logo1, {0, 0, 10, 10})));
    }
    EXPECT_EQ(StatusTexts::selection(record, doc.placeholderSources()), u("选择3块"));
}
