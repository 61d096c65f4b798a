#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "ScriptedMessages.h"
#include "SqliteFixture.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"
#include "gui/records/DatabaseImportDialog.h"
#include "gui/records/ImportDialog.h"
#include "gui/records/ImportMappingPane.h"
#include "gui/records/RecordGrid.h"
#include "gui/records/RecordImportCommand.h"

using namespace pemo;

namespace {

template <typename T>
T* visible() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    }
    return nullptr;
}

// Runs 导入TXT文件 on a file of rows, choosing column 1 for 商品名称; cancels the
// progress window when asked to.
class RecordImportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.newDocument();
        doc.records.front()->values[0] = "old";
        doc.setModified(true);
        QByteArray text;
        for (int i = 0; i < 3000; ++i) text += "row" + QByteArray::number(i) + ",x\n";
        path = dir.filePath("rows.csv");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    void run(bool cancel) {
        RecordGrid grid(doc);
        RecordImportCommand command(doc, grid, nullptr);
        command.saveModified = [this] {
            ++saveQuestions;
            return true;
        };
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (auto* dialog = visible<ImportDialog>()) {
                dialog->selectFile(path);
                dialog->pane()->targetBox(0)->setCurrentIndex(1);
                dialog->pane()->separatorBox()->setCurrentIndex(0);
                dialog->accept();
            } else if (auto* progress = visible<QProgressDialog>(); progress && cancel) {
                progress->cancel();
            }
        });
        driver.start(0);
        command.run(RecordCommand::ImportText);
    }

    QTemporaryDir dir;
    QString path;
    CPatDoc doc;
    int saveQuestions = 0;
    test::ScriptedMessages messages;
};

}  // namespace

TEST_F(RecordImportCommandTest, AsksBeforeReplacingRecordsThatHoldValues) {
    using Answer = Messages::Answer;
    const struct {
        const char* name;
        Answer answer;
        int records;
        const char* first;
    } cases[] = {
        {"替换", Answer::Yes, 3001, "row0"},
        {"追加", Answer::No, 3002, "old"},
        {"取消", Answer::Cancel, 1, "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.newDocument();
        doc.records.front()->values[0] = "old";
        saveQuestions = 0;
        test::ScriptedMessages answers{c.answer};
        run(false);
        EXPECT_EQ(saveQuestions, 1);
        EXPECT_EQ(answers.asked, QStringList{QString::fromUtf8("导入将替换现有的1项信息")});
        EXPECT_EQ(answers.lastButtons, Messages::Buttons::ReplaceAppendCancel);
        ASSERT_EQ(doc.recordCount(), c.records);
        EXPECT_EQ(doc.recordAt(0)->values[0], c.first);
        if (c.answer == Answer::Cancel) continue;
        EXPECT_EQ(doc.recordAt(c.records - 2)->values[0], "row2999");
        EXPECT_TRUE(doc.recordAt(c.records - 1)->isEmpty());
        EXPECT_EQ(doc.recordAt(c.records - 1)->copies, 0);
        EXPECT_EQ(doc.currentRecord()->values[0], "row0");
    }
}

TEST_F(RecordImportCommandTest, AnEmptyDocumentIsNotAsked) {
    doc.records.front()->values[0].clear();
    run(false);
    EXPECT_TRUE(messages.asked.isEmpty());
    ASSERT_EQ(doc.recordCount(), 3001);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(RecordImportCommandTest, CancellingLeavesTheRecords) {
    run(true);
    ASSERT_EQ(doc.recordCount(), 1);
    EXPECT_EQ(doc.recordAt(0)->values[0], "old");
    EXPECT_TRUE(messages.informed.isEmpty());
}

// 导入MDB文件: preview and OK, then (when removeFile) the file goes before it is read.
TEST(DatabaseImportCommandTest, AFileGoneAfterThePreviewChangesNothing) {
    for (const bool removeFile : {true, false}) {
        QTemporaryDir dir;
        const QString shop = dir.filePath("shop.db");
        test::makeShopDatabase(shop);
        CPatDoc doc;
        doc.newDocument();
        doc.records.front()->values[0] = "old";
        test::ScriptedMessages messages{Messages::Answer::Yes};  // 替换
        RecordGrid grid(doc);
        RecordImportCommand command(doc, grid, nullptr);
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (auto* dialog = visible<DatabaseImportDialog>()) {
                dialog->selectFile(shop);
                dialog->chooseFile(shop);
                dialog->targetBox(0)->setCurrentIndex(1);
                dialog->conditionEdit()->setText("Price > 50");
                dialog->preview();
                dialog->accept();
                // Gone after OK, before the import reads it.
                if (removeFile) QFile::remove(shop);
            }
        });
        driver.start(0);
        command.run(RecordCommand::ImportDatabase);
        if (removeFile) {
            ASSERT_EQ(doc.recordCount(), 1);
            EXPECT_EQ(doc.recordAt(0)->values[0], "old");
            ASSERT_EQ(messages.informed.size(), 1);
        } else {
            ASSERT_EQ(doc.recordCount(), 3);  // two rows and the empty record
            EXPECT_EQ(doc.recordAt(1)->values[0], "Fig");
            EXPECT_TRUE(messages.informed.isEmpty()) << messages.informed.join(' ').toStdString();
        }
    }
}
