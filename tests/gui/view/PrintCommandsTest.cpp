#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>

#include "core/document/CPatDoc.h"
#include "core/print/PrintJob.h"
#include "gui/view/PrintCommands.h"

namespace pemo {

TEST(PrintCommands, MenuCarriesEveryCommandAndTheSettingsChangeTheNextJob) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.front()->resizePage(400, 580);
    QMenuBar bar;
    bar.addMenu(QString::fromUtf8("模板(&T)"));
    bar.addMenu(QString::fromUtf8("配置(&S)"));
    PrintCommands commands(doc, nullptr);
    QMenu* menu = commands.buildMenu(&bar);
    // The print menu goes between 模板 and 配置.
    ASSERT_EQ(bar.actions().size(), 3);
    EXPECT_EQ(bar.actions().at(1)->menu(), menu);

    for (const PrintMode& mode : PrintMode::all()) {
        ASSERT_NE(commands.action(mode.printCommand), nullptr) << mode.printCommand;
        ASSERT_NE(commands.action(mode.previewCommand), nullptr) << mode.previewCommand;
        EXPECT_EQ(commands.action(mode.printCommand)->text(), mode.printText);
    }
    for (int id : {34583, 34563, 34584, 34587, 34564, 34568, 57606}) {
        EXPECT_NE(commands.action(id), nullptr) << id;
    }
    EXPECT_EQ(commands.action(57606)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

    // 重叠10毫米 and 页间距10毫米 are checked at start.
    EXPECT_TRUE(commands.action(34586)->isChecked());
    EXPECT_TRUE(commands.action(34565)->isChecked());

    commands.printer().setPageSize(QPageSize(QPageSize::A4));
    commands.printer().setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    const auto tilePages = [&] {
        PrintJob job(doc);
        job.prepare(commands.settingsFor(PrintMode::Tile));
        return job.pageCount();
    };
    EXPECT_EQ(commands.settingsFor(PrintMode::Tile).sheetMm, QSize(200, 287));
    EXPECT_EQ(tilePages(), 9);
    commands.action(34584)->trigger();  // 无重叠
    EXPECT_EQ(commands.tileOverlapMm(), 0);
    EXPECT_FALSE(commands.action(34586)->isChecked());
    EXPECT_TRUE(commands.action(34584)->isChecked());
    EXPECT_EQ(tilePages(), 6);
    commands.action(34568)->trigger();  // 页间距30毫米
    EXPECT_EQ(commands.settingsFor(PrintMode::Merge).mergeSpacingMm, 30);
    EXPECT_TRUE(commands.action(34568)->isChecked());
    EXPECT_FALSE(commands.action(34565)->isChecked());
}

}  // namespace pemo

#include <QApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace pemo {

namespace {

// Runs `answer` on the next modal dialog that opens.
void whenModalOpens(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
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

}  // namespace

TEST(PrintCommands, PrintsThroughTheDialogIntoAPdfAndPreviewsTheSamePages) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) GTEST_SKIP() << "no pdfinfo";
    CPatDoc doc;
    for (int copies : {1, 2, 0, 3, 1}) {
        auto record = std::make_unique<InfoRecord>();
        record->resizePage(90, 120);
        record->copies = copies;
        doc.records.push_back(std::move(record));
    }
    doc.records.front()->current = true;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    PrintCommands commands(doc, nullptr);
    QMenuBar bar;
    commands.buildMenu(&bar);
    commands.printer().setOutputFormat(QPrinter::PdfFormat);
    commands.printer().setOutputFileName(path);

    int offeredLast = 0;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        offeredLast = dialog->maxPage();
        dialog->accept();
    });
    commands.print(PrintMode::ByCopiesWithBackground);
    EXPECT_EQ(offeredLast, 7);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished();
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.readAllStandardOutput()));
    ASSERT_TRUE(pages.hasMatch());
    EXPECT_EQ(pages.captured(1).toInt(), 7);

    int previewed = 0;
    whenModalOpens([&](QWidget* modal) {
        auto* widget = modal->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        previewed = widget->pageCount();
        modal->close();
    });
    commands.preview(PrintMode::Proof1x2);
    EXPECT_EQ(previewed, 2);
    EXPECT_EQ(commands.printMode(), PrintMode::Proof1x2);
}

TEST(PrintCommands, AnEmptyQueueIsRefusedBeforeAnyDialog) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.front()->copies = 0;
    PrintCommands commands(doc, nullptr);
    QString told;
    whenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        told = box->text();
        box->accept();
    });
    commands.print(PrintMode::ByItemWithBackground);
    EXPECT_TRUE(told.contains(QString::fromUtf8("打印队列")));
}

}  // namespace pemo
