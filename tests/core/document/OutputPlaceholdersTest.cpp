// Every way a record leaves the program (print, preview, PDF, picture, saved file) shows
// that record's own values, whatever the screen's 模板方式 left in its blocks.
#include <gtest/gtest.h>

#include "Bytes.h"
#include "TestBlock.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintMode.h"

using namespace pemo;
using test::gbk;

namespace {

constexpr int32_t kName = 0x02020001;   // 商品名称
constexpr int32_t kPrice = 0x02040002;  // 现价

void addProduct(CPatDoc& doc, const char* name, const char* price) {
    auto record = doc.newRecord();
    record->setValue(0, gbk(name));
    record->setValue(InfoRecord::kCurrentPrice, price);
    for (int32_t kind : {kName, kPrice}) {
        const QByteArray text = record->placeholderText(kind, false, doc.placeholderSources());
        record->appendBlock(TextBlock::create(kind, {0, 0, 4000, 1000}, text, true));
    }
    doc.records.push_back(std::move(record));
}

QByteArray shown(const CPatDoc& doc, int record, int block = 0) {
    return doc.recordAt(record)->blocks.at(size_t(block))->plainText();
}

// A placeholder's name as its block shows it, braces and all.
QByteArray name(const char* text) {
    return gbk(QString::fromUtf8(text).replace('{', QChar(0xFF5B)).replace('}', QChar(0xFF5D)).toUtf8().constData());
}

class OutputPlaceholdersTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::useProgramBlocks();
        doc.records.clear();
        addProduct(doc, "苹果", "3.50");
        addProduct(doc, "梨", "2.00");
        doc.setCurrentIndex(0);
    }
    CPatDoc doc;
};

TEST_F(OutputPlaceholdersTest, OnlyTheCurrentRecordShowsNamesAndOnlyInTemplateMode) {
    doc.setTemplateMode(true);
    EXPECT_EQ(shown(doc, 0), name("{商品名称}"));
    doc.setCurrentIndex(1);
    EXPECT_EQ(shown(doc, 0), gbk("苹果"));
    EXPECT_EQ(shown(doc, 1), name("{商品名称}"));
    EXPECT_EQ(shown(doc, 1, 1), gbk("{现价}"));
    doc.setTemplateMode(false);
    EXPECT_EQ(shown(doc, 1), gbk("梨"));
    EXPECT_EQ(shown(doc, 1, 1), "2.00");
}

TEST_F(OutputPlaceholdersTest, StaleTextsGoOutAsTheValues) {
    // Texts left behind in the blocks (names, an older value) never reach output.
    doc.setCurrentIndex(1);
    doc.recordAt(0)->blocks[0]->setPlaceholderText(name("{商品名称}"));
    doc.recordAt(0)->blocks[1]->setPlaceholderText("9.99");
    doc.setTemplateMode(true);  // record 2 on screen shows the names

    {
        PrintJob job(doc);
        PrintSettings settings;
        settings.mode = PrintMode::ByItemWithBackground;
        ASSERT_TRUE(job.prepare(settings));
        EXPECT_EQ(shown(doc, 0), gbk("苹果"));
        EXPECT_EQ(shown(doc, 0, 1), "3.50");
        EXPECT_EQ(shown(doc, 1), gbk("梨"));
    }
    EXPECT_EQ(shown(doc, 1), name("{商品名称}")) << "the screen shows the names again";

    doc.recordAt(0)->blocks[0]->setPlaceholderText(name("{商品名称}"));
    CPatDoc reread;
    DocumentFile::read(reread, DocumentFile::write(doc));
    EXPECT_EQ(shown(reread, 0), gbk("苹果"));
    EXPECT_EQ(shown(reread, 1), gbk("梨"));
    EXPECT_EQ(shown(doc, 1), name("{商品名称}"));
}

TEST_F(OutputPlaceholdersTest, APrintedTemplateShowsTheNames) {
    {
        PrintJob job(doc);
        PrintSettings settings;
        settings.mode = PrintMode::Template;
        ASSERT_TRUE(job.prepare(settings));
        EXPECT_EQ(shown(doc, 0), name("{商品名称}"));
        EXPECT_EQ(shown(doc, 0, 1), gbk("{现价}"));
    }
    EXPECT_EQ(shown(doc, 0), gbk("苹果"));
}

TEST(Document, ANewDocumentHasTheDefaultNamesAndKeepsTheRecentColours) {
    CPatDoc doc;
    doc.newDocument();
    const QByteArray defaultName = doc.variableNames.name(0);
    doc.variableNames.setName(0, gbk("品名"));
    doc.recentColours.recent[0] = 0x123456;
    doc.newDocument();
    EXPECT_EQ(doc.variableNames.name(0), defaultName);
    EXPECT_EQ(doc.recentColours.recent[0], 0x123456u);
}

}  // namespace
