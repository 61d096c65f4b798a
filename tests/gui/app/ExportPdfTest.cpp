#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include "ScriptedMessages.h"
#include "core/document/CPatDoc.h"
#include "core/labels/LabelChoice.h"
#include "core/print/PrintMode.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/app/FileMenu.h"
#include "gui/app/PdfExportDialog.h"
#include "gui/view/PrintCommands.h"

using namespace pemo;

namespace {

class ExportPdfTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir().path());
    }
    static QTemporaryDir& settingsDir() {
        static QTemporaryDir dir;
        return dir;
    }
};

}  // namespace

// 导出PDF onto label sheets asks for the sheet the way a label print does (the last one
// chosen in the label dialog) and writes the labels on the sheet's own paper.
TEST_F(ExportPdfTest, OntoLabelSheetsAsksForTheSheetAndExports) {
    CPatApp app;
    ASSERT_TRUE(app.initInstance({QStringLiteral("pemo")}));
    CPatMain* main = app.mainFrame();
    document()->recordAt(0)->setValue(0, "A");
    document()->recordAt(0)->copies = 25;  // two sheets of 21

    PrintCommands& print = *main->printCommands();
    LabelChoice choice;
    choice.custom = QStringLiteral("A5,4x2,60x40,10,10,70,45");
    choice.sheet = QString::fromLatin1(LabelChoice::kCustomPrefix) + choice.custom;
    choice.start = 5;
    print.setLabelChoice(choice);
    int labelDialogs = 0;
    print.runLabelDialog = [&](LabelSheetDialog&) {
        ++labelDialogs;
        return int(QDialog::Accepted);
    };

    FileMenu& file = *main->fileMenu();
    file.runExportDialog = [](PdfExportDialog& dialog) {
        dialog.modeBox()->setCurrentIndex(dialog.modeBox()->findData(int(PrintMode::Labels)));
        return int(QDialog::Accepted);
    };
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    file.askPdfPath = [&](const QString&) { return pdf; };
    test::ScriptedMessages messages;
    file.exportPdf();

    EXPECT_EQ(labelDialogs, 1);
    ASSERT_EQ(messages.informed.size(), 1);
    // 25 labels from label 5 of sheets of 8: four sheets.
    EXPECT_TRUE(messages.informed.front().startsWith(QString::fromUtf8("已导出 4 页")))
        << messages.informed.front().toStdString();
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    // The sheet's own paper, A5: 148 × 210 mm are 420 × 595 points.
    static const QRegularExpression a5(QStringLiteral("/MediaBox \\[0 0 4(19|20)[.0-9]* 59[56][.0-9]*\\]"));
    EXPECT_TRUE(a5.match(QString::fromLatin1(bytes)).hasMatch());
}
