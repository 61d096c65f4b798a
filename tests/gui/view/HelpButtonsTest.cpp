#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

#include "core/labels/LabelCatalogue.h"
#include "gui/common/HelpWindow.h"
#include "gui/dialogs/BarcodeDialog.h"
#include "gui/view/LabelSheetDialog.h"

namespace pemo {

namespace {

// The help window a dialog opened beside itself, and the page it shows.
QString helpShownBy(QDialog& dialog) {
    const auto boxes = dialog.findChildren<QDialogButtonBox*>();
    for (QDialogButtonBox* box : boxes) {
        if (QPushButton* help = box->button(QDialogButtonBox::Help)) {
            QTest::mouseClick(help, Qt::LeftButton);
            const auto windows = dialog.findChildren<HelpWindow*>();
            return windows.isEmpty() ? QStringLiteral("no help window") : windows.front()->shownPage();
        }
    }
    return QStringLiteral("no 帮助 button");
}

}  // namespace

// The label and barcode dialogs' 帮助 opens their pages of the bundled help.
TEST(HelpButtons, TheLabelAndBarcodeDialogsOpenTheirPages) {
    const QByteArray home = qgetenv("PEMO_HOME");
    qputenv("PEMO_HOME", PEMO_TEST_DATA "/../../resources/program");
    const LabelCatalogue none;
    LabelSheetDialog labels(none, LabelChoice());
    EXPECT_EQ(helpShownBy(labels), QStringLiteral("labels.html"));
    BarcodeDialog barcode({});
    EXPECT_EQ(helpShownBy(barcode), QStringLiteral("barcodes.html"));
    qputenv("PEMO_HOME", home);
}

}  // namespace pemo
