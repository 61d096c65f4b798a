#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

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
    ASSERT_EQ(size->count(), 86);
    EXPECT_EQ(size->itemText(0), QStringLiteral("20"));
    EXPECT_EQ(size->itemText(85), QStringLiteral("360"));
    EXPECT_EQ(size->itemData(1).toInt(), 24);

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
