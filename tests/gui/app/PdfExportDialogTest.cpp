#include <gtest/gtest.h>

#include <QComboBox>

#include "core/print/PdfOutput.h"
#include "core/print/PrintMode.h"
#include "gui/app/PdfExportDialog.h"

using namespace pemo;

TEST(PdfExportDialog, OffersEveryPrintModeByItsMenuName) {
    const std::pair<const char*, const char*> names[] = {
        {"带底图按项打印(&P)...", "带底图按项打印"},
        {"校对打印(2X2)...", "校对打印(2X2)"},
        {"拼版打印(&S)...", "拼版打印"},
    };
    for (const auto& [menu, name] : names) {
        EXPECT_EQ(PdfExportDialog::modeName(QString::fromUtf8(menu)), QString::fromUtf8(name));
    }
    PdfExportDialog dialog;
    ASSERT_EQ(dialog.modeBox()->count(), int(PrintMode::all().size()));
    // By item with backgrounds on A4 unless the user chooses otherwise.
    EXPECT_EQ(dialog.settings().mode, int(PrintMode::ByItemWithBackground));
    EXPECT_EQ(dialog.paperMm(), QSizeF(210, 297));
    for (int code : {int(PrintMode::Proof2x2), int(PrintMode::Tile)}) {
        dialog.modeBox()->setCurrentIndex(dialog.modeBox()->findData(code));
        dialog.paperBox()->setCurrentIndex(1);
        EXPECT_EQ(dialog.settings().mode, code);
        EXPECT_EQ(dialog.paperMm(), QSizeF(297, 420));
        EXPECT_EQ(dialog.settings().sheetMm, PdfOutput::printableMm(QSizeF(297, 420)));
    }
}
