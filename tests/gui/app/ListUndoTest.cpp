#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "ScriptedMessages.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/EditCommands.h"
#include "core/document/RecordCommands.h"
#include "core/document/TemplateFile.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/app/DesignHint.h"

using namespace pemo;
namespace RC = RecordCommand;
namespace EC = EditCommand;
using Answer = Messages::Answer;

namespace {

class ListUndoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    }

    void SetUp() override {
        ASSERT_TRUE(app.initInstance({QStringLiteral("pemo")}));
        main = app.mainFrame();
        doc = &app.document();
        // Five products on one page design.
        while (doc->recordCount() < 5) doc->records.push_back(doc->newRecord());
        for (int i = 0; i < 5; ++i) {
            doc->recordAt(i)->setValue(0, "p" + QByteArray::number(i));
            doc->recordAt(i)->copies = i + 1;
        }
        doc->setCurrentIndex(0);
        doc->notify(CPatDoc::Change::Records);
        doc->setModified(false);
    }

    QByteArrayList names() const {
        QByteArrayList out;
        for (const auto& r : doc->records) out << r->value(0);
        return out;
    }

    void trigger(int id) {
        main->updateCommands();
        QAction* command = main->findCommand(id);
        ASSERT_NE(command, nullptr) << id;
        ASSERT_TRUE(command->isEnabled()) << id;
        command->trigger();
    }

    CPatApp app;
    CPatMain* main = nullptr;
    CPatDoc* doc = nullptr;
};

}  // namespace

// 撤消 and 恢复 of the 编辑 menu reach the list: a deleted record comes back whole.
TEST_F(ListUndoTest, UndoFromTheEditMenuBringsDeletedRecordsBack) {
    test::ScriptedMessages answers{Answer::Yes, Answer::Yes};
    doc->setCurrentIndex(2);
    trigger(RC::Delete);
    trigger(RC::Delete);
    EXPECT_EQ(names(), (QByteArrayList{"p0", "p1", "p4"}));
    trigger(EC::Undo);
    trigger(EC::Undo);
    EXPECT_EQ(names(), (QByteArrayList{"p0", "p1", "p2", "p3", "p4"}));
    EXPECT_EQ(doc->currentIndex(), 2);
    EXPECT_EQ(doc->recordAt(3)->copies, 4);
    trigger(EC::Redo);
    EXPECT_EQ(names(), (QByteArrayList{"p0", "p1", "p3", "p4"}));
}

// A design changed on one record: the hint offers it for all, 应用到所有信息 puts it on
// every record, and one 撤消 takes it back.
TEST_F(ListUndoTest, ApplyDesignFromTheHintAndTheTemplateMenu) {
    InfoRecord& first = *doc->currentRecord();
    first.takeUndoSnapshot();
    first.appendBlock(TextBlock::create(BlockKind::FixedText, TwipsRect{100, 100, 2000, 900},
                                        Gbk::fromUnicode(QString::fromUtf8("特价")), true));
    DesignHint* hint = main->designHint();
    hint->check();
    EXPECT_FALSE(hint->isHidden());

    trigger(RC::ApplyDesign);
    EXPECT_TRUE(hint->isHidden());
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(doc->recordAt(i)->blocks.size(), 1u);
        EXPECT_EQ(doc->recordAt(i)->value(0), "p" + QByteArray::number(i));
        EXPECT_EQ(doc->recordAt(i)->copies, i + 1);
    }
    trigger(EC::Undo);
    EXPECT_EQ(doc->recordAt(0)->blocks.size(), 1u);  // the record's own change stays
    for (int i = 1; i < 5; ++i) EXPECT_TRUE(doc->recordAt(i)->blocks.empty()) << i;
    trigger(EC::Undo);  // then the record's own change
    EXPECT_TRUE(doc->recordAt(0)->blocks.empty());
}

// 保存模板 over a template of that name asks first; No leaves the file alone.
TEST_F(ListUndoTest, SavingOverAnExistingTemplateAsks) {
    InfoRecord& record = *doc->currentRecord();
    record.background.category = Gbk::fromUnicode(QString::fromUtf8("价签"));
    record.background.name = Gbk::fromUnicode(QString::fromUtf8("红头"));
    record.background.templateName = Gbk::fromUnicode(QString::fromUtf8("货架签"));
    const QString folder = TemplateFile::folderFor(record.background.category, record.background.name);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QString::fromUtf8("/货架签.vxt");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("shipped");
    }
    test::ScriptedMessages answers{Answer::No};
    trigger(34400);  // 保存模板
    EXPECT_EQ(answers.asked, QStringList{QString::fromUtf8("替换模板(红头-货架签)?")});
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), QByteArray("shipped"));
}
