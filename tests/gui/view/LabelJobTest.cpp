// Label-sheet jobs through the print commands: the start label of each job, 接着上次, the
// paper of the other modes, the PDF the print dialog proposes and what the status bar is
// told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include "core/document/CPatDoc.h"
#include "core/labels/LabelChoice.h"
#include "core/print/PrintMode.h"
#include "gui/view/LabelSheetDialog.h"
#include "gui/view/PrintCommands.h"

namespace pemo {

namespace {

const QString kSheet = QStringLiteral("custom:A4,7x3,63.5x38.1,7.2,15.1,66.04,38.1");

std::unique_ptr<CPatDoc> tags(int count) {
    auto doc = std::make_unique<CPatDoc>();
    for (int i = 0; i < count; ++i) {
        auto record = std::make_unique<InfoRecord>();
        record->resizePage(63, 38);
        record->setValue(0, "tea");
        doc->records.push_back(std::move(record));
    }
    doc->records.front()->current = true;
    return doc;
}

// Answers the next modal dialog that opens (the print dialog, the preview).
void whenModalOpens(QObject* scope, std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer(scope);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}

struct Seen {
    int start = 0;
    QString continuation;  // the 接着上次 button's text, empty while hidden
};

}  // namespace

TEST(LabelJobs, EveryJobStartsAtOneAndOffersWhereTheLastEnded) {
    QTemporaryDir dir;
    const auto doc = tags(7);
    QWidget window;
    PrintCommands commands(*doc, &window);
    LabelChoice choice;
    choice.sheet = kSheet;
    commands.setLabelChoice(choice);
    QString note;
    commands.showStatus = [&](const QString& text, std::function<bool()>) { note = text; };
    commands.documentPath = [&] { return dir.filePath(QStringLiteral("价签.vxq")); };

    std::vector<Seen> seen;
    int startChosen = 8;
    commands.runLabelDialog = [&](LabelSheetDialog& dialog) {
        seen.push_back({dialog.startBox()->value(),
                        dialog.continueButton()->isVisibleTo(&dialog) ? dialog.continueButton()->text() : QString()});
        dialog.startBox()->setValue(startChosen);
        return int(QDialog::Accepted);
    };
    QObject scope;
    QString proposed;
    const auto printToPdf = [&] {
        whenModalOpens(&scope, [&](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
            printers->setCurrentIndex(printers->count() - 1);
            proposed = dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->text();
            dialog->accept();
        });
        commands.print(PrintMode::Labels);
    };

    // Last week: 7 tags from label 8 (labels 8 to 14 used).
    printToPdf();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].start, 1);
    EXPECT_TRUE(seen[0].continuation.isEmpty());
    EXPECT_EQ(proposed, dir.filePath(QStringLiteral("价签.pdf"))) << "the document's name and folder";
    EXPECT_TRUE(QFile::exists(proposed));
    EXPECT_EQ(note, QString::fromUtf8("已写入 1 页，7 个标签：%1").arg(proposed));

    // This week: a new job starts at 1 again; 接着上次 offers label 15.
    startChosen = 1;
    printToPdf();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].start, 1);
    EXPECT_EQ(seen[1].continuation, QString::fromUtf8("接着上次（第15个）"));
}

// A label preview, then the print of it: the print keeps the preview's start label. A
// label sheet's paper never becomes the paper of the other modes.
TEST(LabelJobs, APreviewKeepsItsStartForThePrintAndLeavesThePaperAlone) {
    const auto doc = tags(3);
    QWidget window;
    PrintCommands commands(*doc, &window);
    const QPageLayout a3(QPageSize(QPageSize::A3), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                         QPageLayout::Millimeter);
    commands.setPageLayout(a3);
    LabelChoice choice;
    choice.sheet = kSheet;
    commands.setLabelChoice(choice);
    std::vector<int> starts;
    commands.runLabelDialog = [&](LabelSheetDialog& dialog) {
        starts.push_back(dialog.startBox()->value());
        if (starts.size() == 1) dialog.startBox()->setValue(5);
        return int(QDialog::Accepted);
    };
    QObject scope;
    whenModalOpens(&scope, [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    commands.preview(PrintMode::Labels);
    EXPECT_TRUE(commands.pageLayout().isEquivalentTo(a3)) << "the preview left the A3 paper alone";

    whenModalOpens(&scope, [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    commands.print(PrintMode::Labels);
    EXPECT_EQ(starts, (std::vector<int>{1, 5}));
    EXPECT_TRUE(commands.pageLayout().isEquivalentTo(a3));
}

}  // namespace pemo
