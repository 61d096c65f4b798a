#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/blocks/BlockKind.h"
#include "core/blocks/GraphicBlock.h"
#include "core/document/CPatDoc.h"
#include "core/graphics/ColourModel.h"
#include "core/graphics/RecentColourList.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/dialogs/BorderDialog.h"
#include "gui/dialogs/ColourPicker.h"
#include "gui/dialogs/FillDialog.h"
#include "gui/dialogs/LineStylePopup.h"
#include "gui/view/CPatView.h"
#include "gui/view/StyleCommands.h"

using namespace pemo;

TEST(FillDialog, ButtonsSetCodesAndCaptionsFollowTheFill) {
    RecentColourList recent;
    FillDialog dialog(recent, FillDialog::Values{});
    EXPECT_EQ(FillDialog::fillCodes().size(), 27u);
    EXPECT_EQ(dialog.colourCaption(0), QString::fromUtf8("边框颜色"));
    EXPECT_EQ(dialog.colourCaption(1), QString::fromUtf8("填充颜色"));
    // HS_HORIZONTAL is the fourth button, HS_CROSS the sixth.
    dialog.fillButton(FillDialog::fillCodes()[3])->click();
    EXPECT_EQ(dialog.values().fillType, 0);
    dialog.fillButton(FillDialog::fillCodes()[5])->click();
    EXPECT_EQ(dialog.values().fillType, 4);
    dialog.fillButton(1019)->click();
    EXPECT_EQ(dialog.colourCaption(0), QString::fromUtf8("开始颜色"));
    EXPECT_EQ(dialog.colourCaption(1), QString::fromUtf8("结束颜色"));
}

TEST(FillDialog, ShadowControlsFollowTheDirection) {
    RecentColourList recent;
    FillDialog dialog(recent, FillDialog::Values{});
    EXPECT_FALSE(dialog.sizeButton(2)->isEnabled());
    EXPECT_TRUE(dialog.colourButton(2)->isHidden());
    dialog.directionButton(4)->click();
    EXPECT_EQ(dialog.values().shadowDirection, 4);
    EXPECT_TRUE(dialog.sizeButton(2)->isEnabled());
    EXPECT_TRUE(dialog.sizeButton(2)->isChecked());
    dialog.sizeButton(3)->click();
    EXPECT_EQ(dialog.values().shadowDistance, 3);
    EXPECT_FALSE(dialog.sizeButton(2)->isChecked());
    EXPECT_FALSE(dialog.colourButton(2)->isHidden());
}

TEST(LineStylePopup, APressChoosesOrCancels) {
    LineStylePopup dot(6, 0, 0, QPoint(10, 10));
    dot.show();
    QTest::mouseClick(&dot, Qt::LeftButton, {}, LineStylePopup::buttonRect(2).center());
    EXPECT_EQ(dot.result(), QDialog::Accepted);
    EXPECT_EQ(dot.penStyle(), 2);
    EXPECT_EQ(dot.penWidth(), 1);
    LineStylePopup outside(6, 0, 0, QPoint(10, 10));
    outside.show();
    QTest::mouseClick(&outside, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(outside.result(), QDialog::Rejected);
    EXPECT_EQ(outside.penWidth(), 6);
}

TEST(ColourPicker, OpeningCountsTheColourAndSwatchesChoose) {
    RecentColourList recent;
    {
        ColourPicker picker(recent, 0x123456, QPoint(5, 5));
        EXPECT_EQ(recent.counts[0], 1);
        EXPECT_EQ(picker.hue(), hslFromRgb(0x56, 0x34, 0x12, 0).hue);
    }
    ColourPicker again(recent, 0x123456, QPoint(5, 5));
    EXPECT_EQ(recent.counts[0], 2);
    again.show();
    // An empty recent slot while folded keeps the starting colour.
    QTest::mouseClick(&again, Qt::LeftButton, {}, ColourPicker::swatchRect(190).center());
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(again.colour(), 0x123456u);
    ColourPicker fixed(recent, 0x123456, QPoint(5, 5));
    fixed.show();
    QTest::mouseClick(&fixed, Qt::LeftButton, {}, ColourPicker::swatchRect(2).center());
    EXPECT_EQ(fixed.colour(), 0x7B0000u);
}

TEST(ColourPicker, TheFieldSetsHueAndSaturation) {
    RecentColourList recent;
    ColourPicker picker(recent, 0x0000FF, QPoint(5, 5));
    picker.show();
    picker.colourButton()->click();
    EXPECT_TRUE(picker.isExpanded());
    const QRect field = ColourPicker::fieldRect();
    QTest::mousePress(&picker, Qt::LeftButton, {}, field.topLeft() + QPoint(88, 0));
    QTest::mouseRelease(&picker, Qt::LeftButton, {}, field.topLeft() + QPoint(88, 0));
    EXPECT_EQ(picker.hue(), 88 * 239 / 176);
    EXPECT_EQ(picker.saturation(), 240);
    EXPECT_EQ(picker.luminance(), 120);
}

// The unfolded picker is 790 pixels wide: opened near the screen's right edge it moves
// left as it unfolds, and stays whole on the screen.
TEST(ColourPicker, StaysOnTheScreenFoldedAndUnfolded) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // Room for the few pixels of frame a window system may put around a popup.
    const QRect room = area.adjusted(-4, -4, 4, 4);
    RecentColourList recent;
    ColourPicker picker(recent, 0x0000FF, QPoint(area.right() - 100, area.bottom() - 50));
    picker.show();
    for (bool unfold : {false, true}) {
        SCOPED_TRACE(unfold);
        if (unfold) picker.colourButton()->click();
        EXPECT_EQ(picker.isExpanded(), unfold);
        EXPECT_TRUE(room.contains(picker.geometry().topLeft()));
        EXPECT_TRUE(room.contains(picker.geometry().bottomRight()))
            << picker.geometry().right() << "," << picker.geometry().bottom();
    }
    LineStylePopup line(6, 0, 0, area.bottomRight());
    EXPECT_TRUE(room.contains(line.geometry().bottomRight()));
}

// The border dialog's pickers open under the button pressed.
TEST(BorderDialog, PickersOpenUnderTheirButtons) {
    RecentColourList recent;
    BorderDialog dialog(recent, BorderDialog::Values{});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QPoint opened;
    dialog.setColourChooser([&](QPoint at, uint32_t) {
        opened = at;
        return std::optional<uint32_t>(0x0000FF);
    });
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() != QString::fromUtf8("边框颜色")) continue;
        button->click();
        EXPECT_EQ(opened, button->mapToGlobal(QPoint(0, button->height())));
        EXPECT_EQ(dialog.values().borderColour, 0x0000FFu);
        return;
    }
    FAIL() << "no 边框颜色 button";
}

// With the toolbar shown the line-style popup and the colour pickers open under their
// buttons; without it the popup is centred on the window.
TEST(StyleCommands, PopupsOpenUnderTheirToolbarButtons) {
    CPatDoc doc;
    doc.newDocument();
    CPatView view(doc);
    view.resize(500, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.showCurrentRecord();
    InfoRecord& record = *doc.currentRecord();
    auto shape = std::make_unique<GraphicBlock>();
    shape->kind = BlockKind::Rectangle;
    shape->frame = TwipsRect{100, 100, 1000, 1000};
    shape->points = {{0, 0}, {900, 900}};
    GraphicBlock* g = static_cast<GraphicBlock*>(&record.appendBlock(std::move(shape)));
    g->selected = true;
    record.selection = {g};
    QWidget bar;
    bar.setGeometry(50, 60, 300, 30);
    auto* button = new QPushButton(&bar);
    button->setGeometry(120, 2, 24, 24);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    view.toolButton = [button](int id) -> QWidget* {
        return id == StyleCommands::LineStyle || id == StyleCommands::PenColour ? button : nullptr;
    };
    const QPoint under = button->mapToGlobal(QPoint(0, button->height()));
    const struct {
        int command;
        QPoint expected;
    } cases[] = {{StyleCommands::LineStyle, under + QPoint(0, 1)},
                 {StyleCommands::ChoosePenColour, under + QPoint(0, 2)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        QPoint opened(-1, -1);
        QTimer::singleShot(50, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened = popup->pos();
                popup->close();
            }
        });
        StyleCommands::run(view, c.command);
        // Within the few pixels of frame a window system may add.
        EXPECT_LE((opened - c.expected).manhattanLength(), 4) << opened.x() << "," << opened.y();
    }
}

TEST(StyleCommands, PenColourIsOneUndoStepOnTheSelectedGraphics) {
    CPatDoc doc;
    doc.newDocument();
    CPatView view(doc);
    view.showCurrentRecord();
    InfoRecord& record = *doc.currentRecord();
    EXPECT_FALSE(StyleCommands::isEnabled(view, StyleCommands::PenColour));
    auto shape = std::make_unique<GraphicBlock>();
    shape->kind = BlockKind::Rectangle;
    shape->frame = TwipsRect{100, 100, 1000, 1000};
    shape->sizeWidth = shape->sizeHeight = 900;
    shape->points = {{0, 0}, {900, 900}};
    GraphicBlock* g = static_cast<GraphicBlock*>(&record.appendBlock(std::move(shape)));
    g->selected = true;
    record.selection = {g};
    doc.setModified(false);
    ASSERT_TRUE(StyleCommands::isEnabled(view, StyleCommands::PenColour));
    EXPECT_TRUE(StyleCommands::isEnabled(view, StyleCommands::FillSettings));
    EXPECT_FALSE(StyleCommands::isEnabled(view, StyleCommands::TextBorder));
    view.drawingStyle().penColour = 0x00FF00;
    StyleCommands::run(view, StyleCommands::PenColour);
    EXPECT_EQ(g->penColour, 0x00FF00);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(record.undoHistory.canUndo());
}
