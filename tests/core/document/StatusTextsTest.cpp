#include <gtest/gtest.h>

#include "TestBlock.h"
#include "blocks/BlockKind.h"
#include "codecs/Gbk.h"
#include "document/CPatDoc.h"
#include "document/StatusTexts.h"

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

class StatusTextsTest : public testing::Test {
protected:
    void SetUp() override { test::registerTestBlocks(); }

    void fill(std::initializer_list<Page> pages, int current) {
        doc.newDocument();
        doc.records.clear();
        for (const Page& p : pages) {
            auto record = doc.newRecord();
            record->background.category = gbk(p.category);
            record->background.name = gbk(p.name);
            record->background.templateName = gbk(p.templateName);
            record->resizePage(p.widthMm, p.heightMm);
            record->copies = p.copies;
            doc.records.push_back(std::move(record));
        }
        doc.setCurrentIndex(current);
    }

    CPatDoc doc;
};

}  // namespace

TEST_F(StatusTextsTest, SingleRecordAlwaysMarksPanesFiveToEight) {
    fill({{"节日", "春节", "模板一", 400, 280, 3}}, 0);
    InfoRecord& record = *doc.currentRecord();
    record.appendBlock(makeBlock(BlockKind::Rectangle, {0, 0, 100, 100}));
    record.appendBlock(makeBlock(BlockKind::FixedText, {0, 0, 100, 100}));
    const QStringList expected = {u("共1项"),   u("第1项"),   u("打印:1项"),  u("份数:3份"),
                                  u("节日(*)"), u("春节(*)"), u("模板一(*)"), u("(A3幅面)(*)"),
                                  u("共2块"),   u("选择0块")};
    EXPECT_EQ(StatusTexts::compute(doc), expected);

    // A blank page: no background names, yet every record agrees.
    fill({{"", "", "", 123, 45, 0}}, 0);
    EXPECT_EQ(StatusTexts::compute(doc).mid(2),
              (QStringList{u("打印:0项"), u("份数:0份"), u("(*)"), u("(*)"), u("(*)"),
                           u("(123x45)(*)"), u("共0块"), u("选择0块")}));
}

TEST_F(StatusTextsTest, MixedRecordsMarkOnlyWhatAllAgreeOnUpToThatPane) {
    struct Case {
        const char* what;
        std::initializer_list<Page> pages;
        int current;
        QStringList expected;  // panes 1 to 8
    };
    const Case cases[] = {
        {"everything equal",
         {{"节日", "春节", "甲", 190, 280, 1}, {"节日", "春节", "甲", 190, 280, 2}},
         1,
         {u("共2项"), u("第2项"), u("打印:2项"), u("份数:3份"), u("节日(*)"), u("春节(*)"),
          u("甲(*)"), u("(A4幅面)(*)")}},
        {"turned A4 differs in size",
         {{"节日", "春节", "甲", 190, 280, 1}, {"节日", "春节", "甲", 280, 190, 0}},
         0,
         {u("共2项"), u("第1项"), u("打印:1项"), u("份数:1份"), u("节日(*)"), u("春节(*)"),
          u("甲(*)"), u("(A4幅面)")}},
        {"other template",
         {{"节日", "春节", "甲", 190, 280, 1}, {"节日", "春节", "乙", 190, 280, 1}},
         0,
         {u("共2项"), u("第1项"), u("打印:2项"), u("份数:2份"), u("节日(*)"), u("春节(*)"), u("甲"),
          u("(A4幅面)(*)")}},
        // The same template name under another background is no match.
        {"other background name",
         {{"节日", "春节", "甲", 190, 280, 1}, {"节日", "元宵", "甲", 190, 280, 1}},
         0,
         {u("共2项"), u("第1项"), u("打印:2项"), u("份数:2份"), u("节日(*)"), u("春节"), u("甲"),
          u("(A4幅面)(*)")}},
        {"other category",
         {{"节日", "春节", "甲", 190, 280, 0},
          {"季节", "春节", "甲", 300, 300, 0},
          {"节日", "春节", "甲", 190, 280, 5}},
         2,
         {u("共3项"), u("第3项"), u("打印:1项"), u("份数:5份"), u("节日"), u("春节"), u("甲"),
          u("(A4幅面)")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(c.pages, c.current);
        EXPECT_EQ(StatusTexts::compute(doc).mid(0, 8), c.expected);
    }
}

TEST_F(StatusTextsTest, SelectionPaneNamesOneSelectedBlockByItsKind) {
    MallInfoList mall;
    mall.setEntries({{gbk("甲"), {}}, {gbk("商场电话"), gbk("123")}});
    doc.mallInfo = &mall;
    doc.variableNames.setName(2, gbk("产地"));
    struct Case {
        int32_t kind;
        const char* expected;
    };
    const Case cases[] = {
        {BlockKind::Line, "{直线}"},
        {BlockKind::Polyline, "{连续直线}"},
        {BlockKind::ClosedCurve, "{曲线区域}"},
        {BlockKind::Rectangle, "{矩形}"},
        {0x01000015, "{箭头}"},
        {BlockKind::LastArrow, "{箭头}"},
        {0x01000022, "{星形}"},
        {BlockKind::FixedText, "{文字}"},
        {BlockKind::FirstVariable + 2, "{产地}"},
        {BlockKind::LastVariable, "{其他信息}"},
        {BlockKind::OriginalPrice, "{原价}"},
        {BlockKind::Discount, "{折扣}"},
        {BlockKind::FirstMallInfo + 1, "{商场电话}"},
        {BlockKind::InsertedPicture, "{图象}"},
        {BlockKind::Logo1, "{商场Logo1}"},
        {BlockKind::Logo2, "{商场Logo2}"},
        {BlockKind::ProductPicture, "{商品图片}"},
        // Kinds without a name keep the count.
        {0x0100000A, "选择1块"},
        {0x01000025, "选择1块"},
        {0x02010002, "选择1块"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        InfoRecord record;
        record.appendBlock(makeBlock(BlockKind::Rectangle, {0, 0, 10, 10}));
        Block& block = record.appendBlock(makeBlock(c.kind, {0, 0, 10, 10}));
        record.selectBlock(&block);
        EXPECT_EQ(StatusTexts::selection(record, doc.placeholderSources()), u(c.expected));
    }

    InfoRecord record;
    for (int i = 0; i < 3; ++i) {
        record.selectBlock(&record.appendBlock(makeBlock(BlockKind::Logo1, {0, 0, 10, 10})));
    }
    EXPECT_EQ(StatusTexts::selection(record, doc.placeholderSources()), u("选择3块"));
}
