#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <algorithm>

#include "core/labels/LabelCatalogue.h"
#include "gui/view/LabelSheetDialog.h"
#include "gui/view/LabelSheetPicture.h"

namespace pemo {

namespace {

const LabelCatalogue& fixtures() {
    static const LabelCatalogue catalogue = [] {
        LabelCatalogue c;
        c.loadFolder(QStringLiteral(PEMO_TEST_DATA "/labels"));
        return c;
    }();
    return catalogue;
}

QString productAt(const QTableWidget* list, int row) {
    return list->item(row, 0)->data(Qt::UserRole).toString();
}

}  // namespace

TEST(LabelSheetDialog, RecentFirstSearchAndStartLabel) {
    LabelChoice choice;
    choice.sheet = QStringLiteral("Avery L7160");
    choice.recent = {QStringLiteral("Avery L7160"), QStringLiteral("Hama 50151"), QStringLiteral("Gone 1")};
    choice.start = 4;
    LabelSheetDialog dialog(fixtures(), choice);
    dialog.resize(900, 600);
    dialog.show();
    QTableWidget* list = dialog.productList();
    ASSERT_EQ(list->rowCount(), static_cast<int>(fixtures().products().size()));
    // The products used lately first, latest first; a product no longer there is passed over.
    EXPECT_EQ(productAt(list, 0), QStringLiteral("Avery L7160"));
    EXPECT_EQ(productAt(list, 1), QStringLiteral("Hama 50151"));
    ASSERT_TRUE(dialog.sheet());
    EXPECT_EQ(dialog.sheet()->name(), QStringLiteral("Avery L7160"));
    EXPECT_EQ(dialog.startBox()->value(), 4);
    EXPECT_EQ(dialog.startBox()->maximum(), 21);

    // Searching keeps the choice while it is still listed.
    dialog.searchBox()->setText(QStringLiteral("avery mailing"));
    EXPECT_EQ(list->rowCount(), 4);
    ASSERT_TRUE(dialog.sheet());
    EXPECT_EQ(dialog.sheet()->name(), QStringLiteral("Avery L7160"));
    dialog.searchBox()->setText(QStringLiteral("round"));
    EXPECT_EQ(list->rowCount(), 4);
    EXPECT_EQ(productAt(list, 0), QStringLiteral("Hama 50151"));
    EXPECT_FALSE(dialog.sheet());

    // A click on a label of the sheet's picture makes it the start label.
    ASSERT_TRUE(dialog.selectProduct(QStringLiteral("Avery 3274.2")));
    EXPECT_EQ(dialog.startBox()->maximum(), 20);
    LabelSheetPicture* picture = dialog.picture();
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->labelRect(7).center().toPoint());
    EXPECT_EQ(picture->start(), 7);
    EXPECT_EQ(dialog.startBox()->value(), 7);
    // Between the labels is no label.
    EXPECT_EQ(picture->labelAt(picture->labelRect(1).topLeft() - QPointF(2, 2)), 0);
    dialog.startBox()->setValue(12);
    EXPECT_EQ(picture->start(), 12);

    const LabelChoice chosen = dialog.choice();
    EXPECT_EQ(chosen.sheet, QStringLiteral("Avery 3274.2"));
    EXPECT_EQ(chosen.start, 12);
    EXPECT_EQ(chosen.recent.front(), QStringLiteral("Avery 3274.2"));
    EXPECT_EQ(chosen.recent.at(1), QStringLiteral("Avery L7160"));
}

TEST(LabelSheetDialog, MeasuredSheetWorksWithoutCatalogue) {
    const LabelCatalogue none;
    LabelChoice choice;
    choice.sheet = QStringLiteral("Avery L7160");  // not to be had without the catalogue
    choice.custom = QStringLiteral("A4,8x3,70x37,0,0,70,37");
    LabelSheetDialog dialog(none, choice);
    EXPECT_TRUE(dialog.customButton()->isChecked());
    EXPECT_FALSE(dialog.productList()->isEnabled());
    // The dialog says the catalogue is missing and how to install it.
    const auto labels = dialog.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* l) {
        return !l->isHidden() && l->text().contains(QStringLiteral("apt install glabels-data"));
    }));
    ASSERT_TRUE(dialog.sheet());
    EXPECT_EQ(dialog.sheet()->labelsPerSheet(), 24);
    EXPECT_EQ(dialog.choice().sheet, QStringLiteral("custom:A4,8x3,70x37,0,0,70,37"));
    // Measures that do not make a sheet are no sheet: the dialog stays open.
    auto* rows = dialog.findChildren<QSpinBox*>().at(0);
    rows->setValue(9);  // a ninth row of 37 mm is off A4
    EXPECT_FALSE(dialog.sheet());
}

}  // namespace pemo
