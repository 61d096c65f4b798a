#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "Bytes.h"
#include "PopupDriver.h"
#include "ScriptedMessages.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "gui/records/CellTextPopup.h"
#include "gui/records/CopiesPopup.h"
#include "gui/records/PicturePopup.h"
#include "gui/records/RecordGrid.h"

using namespace pemo;
using test::gbk;
using test::PopupDriver;

namespace {

constexpr int kCopiesColumn = 1;
constexpr int kFirstVariableColumn = 2;
constexpr int kPictureColumn = 12;
constexpr int kCurrentPriceColumn = 14;

class RecordGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        setRecords(50);
        grid.templateMode = [this] { return templateMode; };
        grid.resize(600, 228);  // ten rows
        grid.show();
        doc.onChange = [this](CPatDoc::Change change) { grid.documentChanged(change); };
    }

    void setRecords(int count) {
        doc.clear();
        for (int i = 0; i < count; ++i)
            doc.records.push_back(doc.newRecord());
        doc.records.front()->current = true;
        doc.setModified(false);
        grid.refreshScroll();
    }

    void clickCell(int record, int column) {
        QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(record, column).center());
    }

    // Opens the text popup of the current record's cell, types into it and presses Enter.
    void typeIntoCell(int column, const QString& text) {
        PopupDriver<CellTextPopup> driver([&](CellTextPopup& popup) {
            // The popup opens with its text selected; typed text replaces it.
            QInputMethodEvent typed;
            typed.setCommitString(text);
            QApplication::sendEvent(popup.edit(), &typed);
            QTest::keyClick(popup.edit(), Qt::Key_Return);
        });
        clickCell(doc.currentIndex(), column);
        ASSERT_TRUE(driver.opened);
    }

    CPatDoc doc;
    RecordGrid grid{doc};
    bool templateMode = false;
};

}  // namespace

TEST_F(RecordGridTest, TypedValueReachesTheRecordAndItsPlaceholderBlock) {
    InfoRecord& record = *doc.records[0];
    Block& name = record.appendBlock(
        TextBlock::create(0x02020001, {0, 0, 2880, 1440}, gbk("{商品名称}"), true));
    Block& price = record.appendBlock(
        TextBlock::create(0x02040002, {0, 1440, 2880, 2880}, gbk("{现价}"), true));

    const QByteArray priceShown = price.plainText();
    typeIntoCell(kFirstVariableColumn, QString::fromUtf8("鲜牛奶"));
    EXPECT_EQ(record.value(0), gbk("鲜牛奶"));
    EXPECT_EQ(name.plainText(), gbk("鲜牛奶"));
    EXPECT_EQ(price.plainText(), priceShown);
    EXPECT_EQ(record.undoHistory.count(), 1);
    EXPECT_TRUE(doc.isModified());

    // In templateMode the block keeps showing the name while the value is stored.
    templateMode = true;
    typeIntoCell(kCurrentPriceColumn, QStringLiteral("12.50"));
    EXPECT_EQ(record.value(InfoRecord::kCurrentPrice), QByteArray("12.50"));
    EXPECT_EQ(price.plainText(), priceShown);
    EXPECT_EQ(name.plainText(), gbk("鲜牛奶"));  // only the edited field was refreshed
    EXPECT_EQ(record.undoHistory.count(), 2);
}

TEST_F(RecordGridTest, TheImportsEmptyRecordJoinsTheQueueWithItsFirstValue) {
    InfoRecord& record = *doc.records[0];
    record.copies = 0;  // as an import leaves the record it appends for typing
    int statusUpdates = 0;
    QObject::connect(&grid, &RecordGrid::statusChanged, [&statusUpdates] { ++statusUpdates; });
    typeIntoCell(kFirstVariableColumn, QString::fromUtf8("鲜牛奶"));
    EXPECT_EQ(record.copies, 1);
    EXPECT_GE(statusUpdates, 1);
    // Taken out of the queue afterwards, it stays out however it is edited.
    record.copies = 0;
    typeIntoCell(kCurrentPriceColumn, QStringLiteral("3.50"));
    EXPECT_EQ(record.copies, 0);
}

TEST_F(RecordGridTest, UnchangedTextTakesNoSnapshotAndLeavesTheDocumentUnmodified) {
    InfoRecord& record = *doc.records[0];
    record.setValue(0, QByteArray("one\r\ntwo"));
    typeIntoCell(kFirstVariableColumn, QStringLiteral("one\ntwo"));
    EXPECT_EQ(record.value(0), QByteArray("one\r\ntwo"));
    EXPECT_EQ(record.undoHistory.count(), 0);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(RecordGridTest, ShiftEnterBreaksTheLineAsCrLf) {
    PopupDriver<CellTextPopup> driver([](CellTextPopup& popup) {
        QTest::keyClicks(popup.edit(), "ab");
        QTest::keyClick(popup.edit(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(popup.edit(), "cd");
        QTest::keyClick(popup.edit(), Qt::Key_Return);
    });
    clickCell(0, kFirstVariableColumn);
    EXPECT_FALSE(driver.leftOpen);
    EXPECT_EQ(doc.records[0]->value(0), QByteArray("ab\r\ncd"));
}

TEST_F(RecordGridTest, TextGbkCannotHoldIsRefused) {
    test::ScriptedMessages messages;
    PopupDriver<CellTextPopup> driver([](CellTextPopup& popup) {
        popup.edit()->setPlainText(QString::fromUtf8("奶\xF0\x9F\x98\x80"));
        QTest::keyClick(popup.edit(), Qt::Key_Return);
    });
    clickCell(0, kFirstVariableColumn);
    EXPECT_TRUE(driver.leftOpen);
    EXPECT_EQ(messages.informed.size(), 1);
    EXPECT_TRUE(doc.records[0]->value(0).isEmpty());
    EXPECT_FALSE(doc.isModified());
}

TEST_F(RecordGridTest, CopiesFromZeroTo999) {
    const struct {
        const char* typed;
        bool accepted;
        int copies;
        const char* message;
    } cases[] = {
        {"0", true, 0, nullptr},
        {"999", true, 999, nullptr},
        {"1000", false, 999, "“请填入一个在0和999之间的整数。”"},
        {"", false, 999, "请键入一个整数。"},
        {"7", true, 7, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        test::ScriptedMessages messages;
        PopupDriver<CopiesPopup> driver([&](CopiesPopup& popup) {
            EXPECT_EQ(popup.edit()->selectedText(), popup.edit()->text());
            popup.edit()->clear();
            QTest::keyClicks(popup.edit(), c.typed);
            QTest::keyClick(popup.edit(), Qt::Key_Return);
        });
        clickCell(0, kCopiesColumn);
        EXPECT_TRUE(driver.opened);
        EXPECT_EQ(driver.leftOpen, !c.accepted);
        EXPECT_EQ(doc.records[0]->copies, c.copies);
        EXPECT_EQ(messages.informed,
                  c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList());
    }
    EXPECT_EQ(doc.records[0]->undoHistory.count(), 0);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(RecordGridTest, FirstClickSelectsTheSecondEdits) {
    bool opened = false;
    {
        PopupDriver<CellTextPopup> driver([](CellTextPopup& p) { p.reject(); });
        clickCell(9, kFirstVariableColumn);  // the last visible row
        opened = driver.opened;
        QTest::qWait(1);
    }
    EXPECT_FALSE(opened);
    EXPECT_EQ(doc.currentIndex(), 9);
    EXPECT_EQ(grid.scrollPosition(), 0);  // a click does not scroll

    PopupDriver<CellTextPopup> driver([](CellTextPopup& p) { p.reject(); });
    clickCell(9, kFirstVariableColumn);
    EXPECT_TRUE(driver.opened);

    // The header, 序号 and the space below the last record edit nothing.
    setRecords(3);
    for (QPoint p : {QPoint(100, 10), grid.cellRect(0, 0).center(), QPoint(100, 120)}) {
        PopupDriver<CellTextPopup> none([](CellTextPopup& p) { p.reject(); });
        QTest::mouseClick(&grid, Qt::LeftButton, {}, p);
        QTest::qWait(1);
        EXPECT_FALSE(none.opened) << p.x() << "," << p.y();
        EXPECT_EQ(doc.currentIndex(), 0);
    }
}

TEST_F(RecordGridTest, CurrentRecordIsScrolledIntoView) {
    ASSERT_EQ(grid.visibleRowCount(), 10);
    const struct {
        const char* how;
        std::function<void()> select;
        int scroll;
    } steps[] = {
        {"select in view", [&] { grid.selectRecord(8); }, 0},
        {"select the last visible row", [&] { grid.selectRecord(9); }, 4},
        {"navigate far down", [&] { doc.setCurrentIndex(30); }, 25},
        {"navigate to the end", [&] { doc.setCurrentIndex(49); }, 40},
        {"outside the list", [&] { grid.selectRecord(50); }, 40},
        {"back to the top", [&] { grid.selectRecord(0); }, 0},
    };
    for (const auto& s : steps) {
        s.select();
        EXPECT_EQ(grid.scrollPosition(), s.scroll) << s.how;
    }
    EXPECT_EQ(doc.currentIndex(), 0);

    // A shorter grid brings the current record back into view on resize.
    grid.selectRecord(9);
    grid.resize(600, 128);  // five rows
    EXPECT_EQ(grid.scrollPosition(), 7);
    EXPECT_EQ(grid.scrollBar()->maximum(), 45);
}

TEST_F(RecordGridTest, PictureCell) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8("牛奶.bmp"));
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(path, "BMP"));
    InfoRecord& record = *doc.records[0];
    const struct {
        const char* name;
        bool chooseButton;
        QString file;
        bool hasPicture;
        int snapshots;
    } cases[] = {
        {"dialog cancelled", true, QString(), false, 0},
        {"picture chosen", true, path, true, 1},
        {"removed", false, QString(), false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.setModified(false);
        grid.choosePictureFile = [&] { return c.file; };
        PopupDriver<PicturePopup> driver([&](PicturePopup& popup) {
            QTest::mouseClick(c.chooseButton ? popup.chooseButton() : popup.removeButton(),
                              Qt::LeftButton);
        });
        clickCell(0, kPictureColumn);
        EXPECT_TRUE(driver.opened);
        EXPECT_EQ(!record.productPicture.isEmpty(), c.hasPicture);
        EXPECT_EQ(record.undoHistory.count(), c.snapshots);
        EXPECT_TRUE(doc.isModified());
    }
}

TEST_F(RecordGridTest, ContextMenuRules) {
    // Positions of the enabled and of the ticked items.
    const auto menuState = [this] {
        std::pair<std::set<int>, std::set<int>> state;
        const QList<QAction*> items = grid.rebuildContextMenu()->actions();
        EXPECT_EQ(items.size(), 26);
        for (int i = 0; i < items.size(); ++i) {
            if (items[i]->isSeparator())
                continue;
            if (items[i]->isEnabled())
                state.first.insert(i);
            if (items[i]->isChecked())
                state.second.insert(i);
        }
        return state;
    };
    setRecords(1);
    EXPECT_EQ(menuState(), std::make_pair(std::set<int>{0, 7, 9, 10}, std::set<int>{19}));

    setRecords(3);
    doc.records[0]->setValue(0, "x");
    doc.records[0]->resizePage(100, 100);
    doc.records[0]->copies = 0;
    grid.commandAvailable = [](int id) { return id == 34405; };  // A4幅面 only
    EXPECT_EQ(menuState(),
              std::make_pair(std::set<int>{0, 1, 2, 4, 6, 9, 10, 15, 17, 19}, std::set<int>{25}));

    int requested = 0;
    QObject::connect(&grid, &RecordGrid::commandRequested, [&](int id) { requested = id; });
    grid.rebuildContextMenu()->actions()[17]->trigger();
    EXPECT_EQ(requested, 34109);
}

TEST_F(RecordGridTest, PaintsOnlyWhatIsVisible) {
    doc.records[0]->setValue(0, gbk("牛奶"));
    QImage image(grid.size(), QImage::Format_RGB32);
    grid.render(&image);
    // The current row is hatched; the next row is white.
    const QRect current = grid.cellRect(0, 5);
    const QRect other = grid.cellRect(1, 5);
    EXPECT_NE(image.pixel(current.center()), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(other.center()), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(other.left(), other.center().y()), qRgb(0, 0, 0));  // column line
}

// In the click-opened popup Tab and Shift+Tab store the text and go on to the next or
// previous cell; neither a tab typed nor one pasted in reaches the value.
TEST_F(RecordGridTest, TabInThePopupMovesOnAndNeverTypesATab) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString pasted;
        QByteArray stored;
        int column;
    } cases[] = {
        {Qt::Key_Tab, Qt::NoModifier, QString(), "ab", kFirstVariableColumn + 1},
        {Qt::Key_Backtab, Qt::ShiftModifier, QString(), "ab", kCopiesColumn},
        {Qt::Key_Return, Qt::NoModifier, QString::fromUtf8("香辣\t味\x01"), gbk("香辣味"),
         kFirstVariableColumn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        setRecords(3);
        PopupDriver<CellTextPopup> driver([&](CellTextPopup& popup) {
            if (c.pasted.isEmpty()) {
                QTest::keyClicks(popup.edit(), "ab");
            } else {
                popup.edit()->setPlainText(c.pasted);
            }
            QTest::keyClick(popup.edit(), c.key, c.modifiers);
        });
        clickCell(0, kFirstVariableColumn);
        ASSERT_TRUE(driver.opened);
        EXPECT_FALSE(driver.leftOpen);
        EXPECT_EQ(doc.records[0]->value(0), c.stored);
        EXPECT_EQ(grid.cursor().row(), 0);
        EXPECT_EQ(grid.cursor().column(), c.column);
    }
}
