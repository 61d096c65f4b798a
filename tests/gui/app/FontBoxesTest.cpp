#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>

#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "core/text/RichText.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/app/FontNameBox.h"
#include "gui/app/MainToolBars.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"

using namespace pemo;

namespace {

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

}  // namespace

TEST(FontBoxes, FindByNameIsExactAndAnUnlistedFaceStillShowsItsName) {
    FontNameBox box;
    box.setNames({gbk("宋体"), gbk("黑体"), QByteArray("Arial"), QByteArray("Arial Black")});
    const std::pair<QByteArray, int> cases[] = {
        {gbk("黑体"), 1}, {QByteArray("Arial"), 2}, {QByteArray("arial"), -1},
        {QByteArray("Arial "), -1}, {QByteArray(), -1},
    };
    for (const auto& [name, index] : cases) EXPECT_EQ(box.findName(name), index) << name.data();

    box.showName(QByteArray("Arial Black"));
    EXPECT_EQ(box.currentIndex(), 3);
    EXPECT_EQ(box.shownName(), QByteArray("Arial Black"));
    box.showName(gbk("方正综艺"));  // a face this machine does not have
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.shownName(), gbk("方正综艺"));
    EXPECT_EQ(box.placeholderText(), QString::fromUtf8("方正综艺"));
    EXPECT_EQ(box.count(), 4);  // the list itself is unchanged
}

TEST(FontBoxes, BoxesFollowTheEditedTextAndApplyTheChoice) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    main.show();
    MainToolBars& bars = *main.toolBars();
    QComboBox* size = bars.sizeBox();
    // The small print of labels point by point, then every fourth point from 20 to 360.
    ASSERT_EQ(size->count(), 97);
    EXPECT_EQ(size->itemText(0), QStringLiteral("5"));
    EXPECT_EQ(size->itemData(7).toInt(), 12);
    EXPECT_EQ(size->itemText(11), QStringLiteral("20"));
    EXPECT_EQ(size->itemText(96), QStringLiteral("360"));
    EXPECT_EQ(size->itemData(12).toInt(), 24);

    // 自动排版 would refit the chosen size to the frame.
    const bool autoFit = main.view()->autoFit();
    main.view()->setAutoFit(false);
    InfoRecord& record = *doc.currentRecord();
    Block& block = record.appendBlock(
        TextBlock::create(BlockKind::FixedText, {0, 0, 8000, 3000}, gbk("特价"), false));
    main.updateTextCombos();
    // Nothing edited: the boxes are greyed.
    EXPECT_FALSE(bars.chineseBox()->isEnabled());
    EXPECT_FALSE(size->isEnabled());

    record.selectBlock(&block);
    main.view()->canvas()->startEditing();
    main.updateTextCombos();
    ASSERT_TRUE(bars.chineseBox()->isEnabled());
    auto& text = static_cast<TextBlock&>(block);
    text.content()->selectAll();
    text.content()->syncTypingStyle();
    main.updateTextCombos();
    EXPECT_EQ(bars.chineseBox()->shownName(), text.content()->typingStyle->chineseFace);

    // Choosing 黑体 and 120 in the boxes styles the selected text.
    const int hei = bars.chineseBox()->findName(gbk("黑体"));
    ASSERT_GE(hei, 0);
    bars.chineseBox()->setCurrentIndex(hei);
    emit bars.chineseBox()->activated(hei);
    const int big = size->findData(120);
    size->setCurrentIndex(big);
    emit size->activated(big);
    text.content()->syncTypingStyle();
    EXPECT_EQ(text.content()->typingStyle->chineseFace, gbk("黑体"));
    EXPECT_EQ(text.content()->typingStyle->size, 120);
    EXPECT_TRUE(doc.isModified());

    // A size off the list (and a face not installed) still show.
    text.content()->typingStyle.edit().size = 30;
    text.content()->typingStyle.edit().westernFace = QByteArray("Futura");
    main.updateTextCombos();
    EXPECT_EQ(size->currentIndex(), -1);
    EXPECT_EQ(size->placeholderText(), QStringLiteral("30"));
    EXPECT_EQ(bars.westernBox()->shownName(), QByteArray("Futura"));
    main.view()->setAutoFit(autoFit);
}

// Arrow keys move the caret through text of two sizes; the size box follows at once.
TEST(FontBoxes, TheSizeBoxFollowsTheCaretThroughTheText) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    main.show();
    const bool autoFit = main.view()->autoFit();
    main.view()->setAutoFit(false);
    InfoRecord& record = *doc.currentRecord();
    auto& text = static_cast<TextBlock&>(record.appendBlock(
        TextBlock::create(BlockKind::FixedText, {0, 0, 9000, 3000}, gbk("特价ab"), false)));
    RichText& content = *text.content();
    content.setSelection({0, true}, {2, true});  // 特价
    content.applyStyle(RichText::Size, 120, false);
    content.setSelection({2, true}, {4, true});  // ab
    content.applyStyle(RichText::Size, 40, false);
    record.selectBlock(&text);
    CPatCanvas* canvas = main.view()->canvas();
    canvas->startEditing();
    content.setSelection({0, true}, {0, true});
    content.syncTypingStyle();
    canvas->refresh();
    QComboBox* size = main.toolBars()->sizeBox();
    EXPECT_EQ(size->currentText(), QStringLiteral("120"));
    for (int step = 0; step < 3; ++step) {
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(canvas, &right);
    }
    EXPECT_EQ(size->currentText(), QStringLiteral("40"));
    main.view()->setAutoFit(autoFit);
}

// A text block selected as a whole takes a size from the size box for all its text; the
// face boxes wait for editing. After the choice the keys go to the page again: End then
// moves nothing in the box.
TEST(FontBoxes, TheSizeBoxSizesAWholeBlockAndGivesTheKeysBack) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    const bool autoFit = main.view()->autoFit();
    main.view()->setAutoFit(false);
    InfoRecord& record = *doc.currentRecord();
    auto& text = static_cast<TextBlock&>(record.appendBlock(
        TextBlock::create(BlockKind::FixedText, {0, 0, 9000, 3000}, gbk("规格500g"), false)));
    record.selectBlock(&text);
    main.updateTextCombos();
    MainToolBars& bars = *main.toolBars();
    QComboBox* size = bars.sizeBox();
    EXPECT_TRUE(size->isEnabled());
    EXPECT_FALSE(bars.chineseBox()->isEnabled());

    // Chosen in the open list with the mouse, as a user does.
    size->setFocus();
    size->showPopup();
    QAbstractItemView* list = size->view();
    const int nine = size->findData(9);
    ASSERT_GE(nine, 0);
    list->scrollTo(list->model()->index(nine, 0));
    const QRect item = list->visualRect(list->model()->index(nine, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QTest::qWait(50);
    const RichText& content = *text.content();
    for (int i = 0; i < content.itemCount(); ++i) EXPECT_EQ(content.item(i).style->size, 9) << i;
    // The window's focus is on the page once the list has gone.
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    EXPECT_EQ(main.focusWidget(), main.view()->canvas());

    QTest::keyClick(main.focusWidget(), Qt::Key_End);
    EXPECT_EQ(content.item(0).style->size, 9);
    EXPECT_EQ(size->currentText(), QStringLiteral("9"));
    main.view()->setAutoFit(autoFit);
}
