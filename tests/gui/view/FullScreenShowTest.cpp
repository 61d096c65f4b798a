#include <gtest/gtest.h>

#include <QKeyEvent>

#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "gui/view/FullScreenShow.h"

using namespace pemo;

namespace {

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

void addRecords(CPatDoc& doc, int count) {
    for (int i = 0; i < count; ++i) doc.records.push_back(doc.newRecord());
}

QByteArray nameText(const CPatDoc& doc, int index) {
    return doc.records[size_t(index)]->firstBlockOfKind(0x02020001)->plainText();
}

}  // namespace

TEST(FullScreenShow, PictureSizeFitsThePageIntoTheClient) {
    struct Case {
        QSize client;
        int w, h;
        QSize expected;
    };
    const Case cases[] = {
        {{1920, 1080}, 1133, 1077, {1133, 1077}},    // fits: one pixel per twip
        {{1920, 1080}, 10771, 15874, {732, 1080}},   // 190 × 280 mm: height-limited
        {{1920, 1080}, 15874, 10771, {1591, 1080}},  // landscape: still height-limited
        {{1000, 1000}, 20000, 5000, {1000, 250}},    // width-limited
        {{800, 600}, 1600, 1200, {800, 600}},        // same proportions
        {{800, 600}, 800, 600, {800, 600}},          // exactly the client
        {{800, 600}, 801, 600, {800, 599}},          // one twip too wide
        {{800, 600}, 0, 600, {}},                    // no page
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        EXPECT_EQ(FullScreenShow::pictureSize(c.client, c.w, c.h), c.expected);
    }
}

TEST(FullScreenShow, PagesTurnWithinTheRecordsOnly) {
    CPatDoc doc;
    doc.newDocument();
    FullScreenShow one(doc, false);
    for (const int id : {FullScreenShow::Previous, FullScreenShow::Next, FullScreenShow::First,
                         FullScreenShow::Last}) {
        EXPECT_FALSE(one.isCommandEnabled(id)) << id;
    }
    one.handleKey(Qt::Key_Return);
    one.handleKey(Qt::Key_End);
    EXPECT_EQ(one.index(), 0);

    addRecords(doc, 3);
    doc.setCurrentIndex(1);
    FullScreenShow show(doc, false);
    EXPECT_EQ(show.index(), 1);
    const std::pair<int, int> keys[] = {
        {Qt::Key_Space, 2}, {Qt::Key_Down, 3}, {Qt::Key_Right, 3},  // stays on the last
        {Qt::Key_Home, 0},  {Qt::Key_Up, 0},   {Qt::Key_End, 3},
        {Qt::Key_PageUp, 2}, {Qt::Key_Left, 1}, {Qt::Key_PageDown, 2},
    };
    for (const auto& [key, index] : keys) {
        EXPECT_TRUE(show.handleKey(key));
        EXPECT_EQ(show.index(), index) << key;
    }
    EXPECT_FALSE(show.handleKey(Qt::Key_A));
    EXPECT_EQ(doc.currentIndex(), 1);
}

TEST(FullScreenShow, TemplateModeInTheShowLeavesRecordsAndViewAsTheyWere) {
    CPatDoc doc;
    doc.newDocument();
    addRecords(doc, 1);
    for (auto& record : doc.records) {
        record->appendBlock(TextBlock::create(0x02020001, {0, 0, 2880, 1440}, gbk("{商品名称}"), true));
    }
    doc.records[0]->setValue(0, gbk("鲜牛奶"));
    doc.records[1]->setValue(0, gbk("面包"));
    doc.refreshAllPlaceholders();
    doc.setCurrentIndex(0);
    const QByteArray first = nameText(doc, 0);
    const QByteArray second = nameText(doc, 1);
    ASSERT_EQ(first, gbk("鲜牛奶"));

    {
        FullScreenShow show(doc, false);
        show.resize(400, 300);
        show.runCommand(FullScreenShow::TemplateMode);
        EXPECT_TRUE(show.showsTemplateMode());
        show.grab();  // paints the current record with the names
        show.runCommand(FullScreenShow::Next);
        show.grab();
    }
    EXPECT_FALSE(doc.templateMode());
    EXPECT_EQ(doc.currentIndex(), 0);
    EXPECT_EQ(nameText(doc, 0), first);
    EXPECT_EQ(nameText(doc, 1), second);

    // The other way round: the view in 模板方式, the show without it.
    doc.setTemplateMode(true);
    const QByteArray names = nameText(doc, 0);
    ASSERT_NE(names, first);
    {
        FullScreenShow show(doc, true);
        show.resize(400, 300);
        show.runCommand(FullScreenShow::TemplateMode);
        show.grab();
    }
    EXPECT_TRUE(doc.templateMode());
    EXPECT_EQ(nameText(doc, 0), names);
    EXPECT_EQ(nameText(doc, 1), second);
}
