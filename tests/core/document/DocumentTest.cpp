#include <gtest/gtest.h>

#include <QFile>

#include "Bytes.h"
#include "core/blocks/Twips.h"
#include "core/codecs/Archive.h"
#include "core/document/CPatDoc.h"
#include "core/platform/Folders.h"

using namespace pemo;
using test::gbk;

TEST(Document, NewDocumentHoldsOneEmptyCurrentRecord) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.push_back(doc.newRecord());
    doc.records[1]->setValue(3, "x");
    doc.setCurrentIndex(1);
    doc.setModified(true);
    doc.newDocument();  // replaces everything

    EXPECT_FALSE(doc.isModified());
    ASSERT_EQ(doc.recordCount(), 1);
    EXPECT_EQ(doc.currentIndex(), 0);
    const InfoRecord& r = *doc.currentRecord();
    EXPECT_EQ(&r, doc.recordAt(0));
    EXPECT_EQ(r.widthMm, 190);
    EXPECT_EQ(r.heightMm, 280);
    EXPECT_EQ(r.widthTw, 10771);
    EXPECT_EQ(r.heightTw, 15874);
    EXPECT_EQ(r.copies, 1);
    EXPECT_FALSE(r.inPlaceEditing);
    EXPECT_TRUE(r.isEmpty());
    for (int i = 0; i < InfoRecord::kValueCount; ++i) EXPECT_TRUE(r.value(i).isEmpty()) << i;
    EXPECT_TRUE(r.blocks.empty());
    EXPECT_EQ(r.background, BackgroundRef());
    EXPECT_EQ(r.undoHistory.undoIndex(), -1);
    EXPECT_EQ(r.undoHistory.count(), 0);

    const char* const names[] = {"商品名称", "商品说明", "商品规格", "商品单位", "商品等级",
                                 "商品产地", "生产日期", "促销信息", "商品属性", "其他信息"};
    ASSERT_EQ(doc.variableNames.names().size(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(doc.variableNames.name(i), gbk(names[i])) << i;
}

TEST(Document, MillimetresBecomeTruncatedTwips) {
    const struct {
        int mm, tw;
    } cases[] = {{190, 10771}, {280, 15874}, {400, 22677}, {580, 32881},
                 {820, 46488}, {1170, 66330}, {1, 56},       {0, 0}};
    for (const auto& c : cases) EXPECT_EQ(mmToTwips(c.mm), c.tw) << c.mm;
}

TEST(Document, CurrentRecordIsTheFirstFlaggedOne) {
    CPatDoc doc;
    doc.newDocument();
    for (int i = 1; i < 5; ++i) doc.records.push_back(doc.newRecord());
    EXPECT_TRUE(doc.setCurrentIndex(3));
    // An index outside the list changes nothing.
    EXPECT_FALSE(doc.setCurrentIndex(5));
    EXPECT_FALSE(doc.setCurrentIndex(-1));
    EXPECT_EQ(doc.currentIndex(), 3);
    EXPECT_EQ(doc.recordAt(5), nullptr);
    EXPECT_EQ(doc.recordAt(-1), nullptr);
    doc.recordAt(1)->current = true;
    EXPECT_EQ(doc.currentIndex(), 1);
    EXPECT_EQ(doc.currentRecord(), doc.recordAt(1));
}

TEST(Document, VariableNamesComeFromTheDefaultDictionary) {
    const QString path = programFolder() + "/PemDefvar.dic";
    struct Remove {
        QString p;
        ~Remove() { QFile::remove(p); }
    } cleanup{path};
    const auto writeDic = [&](const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };

    ArchiveWriter out;
    out.writeInt32(3);
    for (const char* n : {"品名", "说明", "规格"}) out.writeText(gbk(n));
    writeDic(out.data());
    {
        // A short list is completed from the built-in names.
        CPatDoc doc;
        ASSERT_EQ(doc.variableNames.names().size(), 10);
        EXPECT_EQ(doc.variableNames.name(2), gbk("规格"));
        EXPECT_EQ(doc.variableNames.name(3), gbk("商品单位"));
    }
    // A dictionary that cannot be read leaves the built-in names.
    writeDic(QByteArray::fromHex("05000000" "02"));
    CPatDoc doc;
    EXPECT_EQ(doc.variableNames.names(), VariableNameList::defaultNames());
}
