#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
#include "gui/records/CellEditor.h"
#include "gui/records/ImportDialog.h"
#include "gui/records/ImportMappingPane.h"
#include "gui/records/PriceUpdateDialog.h"
#include "gui/records/RecordGrid.h"

using namespace pemo;
namespace RC = RecordCommand;
namespace EC = EditCommand;
using Answer = Messages::Answer;

namespace {

constexpr int kNameColumn = 2;

template <typename T>
T* visible() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    }
    return nullptr;
}

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

    // Types a name into the grid's row as the keyboard does: the cursor moves there,
    // the text replaces the value, Enter stores it.
    void typeName(int row, const char* name) {
        RecordGrid& grid = *main->recordGrid();
        grid.placeCursor(row, kNameColumn);
        for (const char* c = name; *c; ++c) {
            QWidget* target = grid.isEditing() ? static_cast<QWidget*>(grid.cellEditor()) : &grid;
            QTest::keyClick(target, *c);
        }
        ASSERT_TRUE(grid.isEditing());
        QTest::keyClick(grid.cellEditor(), Qt::Key_Return);
    }

    QString writeList(const char* text) {
        const QString path = files.filePath(QStringLiteral("list%1.csv").arg(++fileCount));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    // Runs a command whose file dialog is given the list, column 1 as the name and
    // column 2 as 现价; the price update's summary is then confirmed, keyed on the name.
    void runOnList(int id, const char* list) {
        const QString path = writeList(list);
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (auto* dialog = visible<ImportDialog>()) {
                dialog->selectFile(path);
                dialog->pane()->separatorBox()->setCurrentIndex(0);
                dialog->pane()->targetBox(0)->setCurrentIndex(1);
                dialog->pane()->targetBox(InfoRecord::kCurrentPrice)->setCurrentIndex(2);
                dialog->accept();
            } else if (auto* summary = visible<PriceUpdateDialog>()) {
                summary->keyBox()->setCurrentIndex(summary->keyBox()->findData(0));
                summary->updateButton()->click();
            }
        });
        driver.start(0);
        trigger(id);
    }

    QByteArrayList prices() const {
        QByteArrayList out;
        for (const auto& r : doc->records) out << r->value(InfoRecord::kCurrentPrice);
        return out;
    }

    CPatApp app;
    CPatMain* main = nullptr;
    CPatDoc* doc = nullptr;
    QTemporaryDir files;
    int fileCount = 0;
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

// Corrections typed into other rows between an import and a price update, the cursor
// moving on after each: 撤消 takes every change back in the order it came, the
// corrections one at a time, and 恢复 puts them all back.
TEST_F(ListUndoTest, CorrectionsBetweenAnImportAndAPriceUpdateAreTakenBackInOrder) {
    test::ScriptedMessages answers{Answer::No, Answer::No};  // not saved; 追加
    typeName(1, "a");
    runOnList(RC::ImportText, "n1,1.50\nn2,2.50\n");
    ASSERT_EQ(names(), (QByteArrayList{"p0", "a", "p2", "p3", "p4", "n1", "n2", ""}));
    typeName(3, "b");
    runOnList(RC::PriceUpdateText, "p4,9.90\nnew,5.00\n");
    ASSERT_EQ(names(), (QByteArrayList{"p0", "a", "p2", "b", "p4", "n1", "n2", "new", ""}));
    ASSERT_EQ(doc->recordAt(4)->value(InfoRecord::kCurrentPrice), "9.90");
    typeName(7, "c");
    main->recordGrid()->placeCursor(0, kNameColumn);

    const QByteArrayList states[] = {
        {"p0", "a", "p2", "b", "p4", "n1", "n2", "c", ""},
        {"p0", "a", "p2", "b", "p4", "n1", "n2", "new", ""},
        {"p0", "a", "p2", "b", "p4", "n1", "n2", ""},
        {"p0", "a", "p2", "p3", "p4", "n1", "n2", ""},
        {"p0", "a", "p2", "p3", "p4"},
        {"p0", "p1", "p2", "p3", "p4"},
    };
    const QByteArrayList updated = prices();
    for (int k = 1; k <= 5; ++k) {
        SCOPED_TRACE(k);
        trigger(EC::Undo);
        EXPECT_EQ(names(), states[k]);
    }
    EXPECT_TRUE(doc->recordAt(4)->value(InfoRecord::kCurrentPrice).isEmpty());
    for (int k = 4; k >= 0; --k) {
        SCOPED_TRACE(k);
        trigger(EC::Redo);
        EXPECT_EQ(names(), states[k]);
    }
    EXPECT_EQ(prices(), updated);
    EXPECT_EQ(doc->currentIndex(), 7) << "the last change put back is shown";
}

// 应用到所有信息 reaches every record while rows are selected together in the grid, and a
// record typed into the empty row after it is on that design, in one step of 撤消.
TEST_F(ListUndoTest, ApplyDesignWithRowsSelectedAndARecordTypedAfterIt) {
    RecordGrid& grid = *main->recordGrid();
    grid.placeCursor(1, kNameColumn);
    grid.placeCursor(3, kNameColumn, true);
    ASSERT_EQ(grid.cursor().selection().height(), 3);
    InfoRecord& source = *doc->currentRecord();
    source.takeUndoSnapshot();
    source.appendBlock(TextBlock::create(BlockKind::FirstVariable, TwipsRect{100, 100, 4000, 900},
                                         "x", true));
    trigger(RC::ApplyDesign);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(doc->recordAt(i)->blocks.size(), 1u) << i;

    typeName(5, "typed");
    ASSERT_EQ(doc->recordCount(), 6);
    ASSERT_EQ(doc->recordAt(5)->blocks.size(), 1u);
    EXPECT_EQ(doc->recordAt(5)->blocks.front()->plainText(), "typed");
    trigger(EC::Undo);
    EXPECT_EQ(doc->recordCount(), 5);
    trigger(EC::Undo);
    EXPECT_TRUE(doc->recordAt(4)->blocks.empty());
}
