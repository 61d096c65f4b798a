#include <gtest/gtest.h>

#include <QAbstractButton>
#include <set>

#include "gui/dialogs/PriceFormatDialog.h"
#include "core/text/TextItem.h"

using namespace pemo;

namespace {

std::set<int> enabledButtons(const PriceFormatDialog& d) {
    std::set<int> out;
    for (int id = 4201; id <= 4223; ++id) {
        if (d.button(id) && d.button(id)->isEnabled())
            out.insert(id);
    }
    return out;
}

std::set<int> range(int from, int to) {
    std::set<int> out;
    for (int i = from; i <= to; ++i)
        out.insert(i);
    return out;
}

TEST(PriceFormatDialogTest, OnlyTheKindsButtonsAreEnabled) {
    const struct {
        int32_t kind;
        std::set<int> enabled;
    } cases[] = {
        {TextKind::OriginalPrice,
         [] {
             auto s = range(4201, 4212);
             s.insert(4222);
             return s;
         }()},
        {TextKind::CurrentPrice,
         [] {
             auto s = range(4213, 4218);
             s.insert(4223);
             return s;
         }()},
        {TextKind::Discount, range(4219, 4221)},
    };
    for (const auto& c : cases) {
        PriceFormatDialog d(c.kind, 0, 255);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("价格信息格式"));
        EXPECT_EQ(enabledButtons(d), c.enabled) << c.kind;
    }
}

TEST(PriceFormatDialogTest, ButtonsGiveTheirStyles) {
    const struct {
        int32_t kind;
        int button;
        int style;
    } cases[] = {
        {TextKind::OriginalPrice, 4201, 1},  {TextKind::OriginalPrice, 4207, 7},
        {TextKind::OriginalPrice, 4212, 12}, {TextKind::CurrentPrice, 4213, 1},
        {TextKind::CurrentPrice, 4214, 4},   {TextKind::CurrentPrice, 4215, 5},
        {TextKind::CurrentPrice, 4216, 8},   {TextKind::CurrentPrice, 4217, 9},
        {TextKind::CurrentPrice, 4218, 12},  {TextKind::Discount, 4219, 13},
        {TextKind::Discount, 4221, 15},
    };
    for (const auto& c : cases) {
        PriceFormatDialog d(c.kind, 0, 255);
        d.show();
        d.button(c.button)->click();
        EXPECT_EQ(d.priceStyle(), c.style) << c.button;
        // The chosen style's button is the one shown pressed.
        for (int id = 4201; id <= 4221; ++id)
            EXPECT_EQ(d.button(id)->isChecked(), id == c.button) << c.button << " " << id;
    }
}

TEST(PriceFormatDialogTest, DisabledButtonsDoNotChangeTheStyle) {
    PriceFormatDialog d(TextKind::Discount, 14, 255);
    d.show();
    EXPECT_TRUE(d.button(4220)->isChecked());
    d.button(4203)->click();
    EXPECT_EQ(d.priceStyle(), 14);
}

TEST(PriceFormatDialogTest, ColourButtonOpensThePickerBelowIt) {
    PriceFormatDialog d(TextKind::OriginalPrice, 2, 255);
    d.show();
    QPoint asked;
    int calls = 0;
    d.setColourChooser([&](QWidget*, QPoint at, int32_t current) -> std::optional<int32_t> {
        ++calls;
        asked = at;
        EXPECT_EQ(current, 255);
        return 0x00FF00;
    });
    QAbstractButton* colour = d.button(4222);
    colour->click();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(d.lineColour(), 0x00FF00);
    EXPECT_EQ(asked, colour->mapToGlobal(QPoint(-530, colour->height())));

    // A cancelled picker keeps the colour.
    d.setColourChooser([](QWidget*, QPoint, int32_t) { return std::optional<int32_t>(); });
    colour->click();
    EXPECT_EQ(d.lineColour(), 0x00FF00);
    EXPECT_EQ(d.priceStyle(), 2);
}

}  // namespace
