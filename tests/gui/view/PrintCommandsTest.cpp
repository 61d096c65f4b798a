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

    commands.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                       QPageLayout::Millimeter));
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
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

namespace pemo {

namespace {

// Runs `answer` on the next modal dialog that opens while `scope` lives.
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

// Chooses the print dialog's own PDF output into `path`, whatever printer it offered
// first, so no job can leave for a print server.
void choosePdf(QWidget* dialog, const QString& path) {
    auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
    auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
    ASSERT_NE(printers, nullptr);
    ASSERT_NE(file, nullptr);
    printers->setCurrentIndex(printers->count() - 1);
    file->setText(path);
    ASSERT_EQ(qobject_cast<QPrintDialog*>(dialog)->printer()->outputFormat(), QPrinter::PdfFormat);
}

// Presses the preview window's Print and sends what it prints to the PDF file `path`
// through the print dialog that opens.
void printFromPreview(QObject* scope, QWidget* preview, const QString& path) {
    whenModalOpens(scope, [path](QWidget* print) {
        ASSERT_NE(qobject_cast<QPrintDialog*>(print), nullptr);
        choosePdf(print, path);
        qobject_cast<QDialog*>(print)->accept();
    });
    const auto actions = preview->findChildren<QAction*>();
    const auto print = std::find_if(actions.begin(), actions.end(), [](QAction* a) {
        return a->text().remove(QLatin1Char('&')) == QStringLiteral("Print");
    });
    ASSERT_NE(print, actions.end());
    (*print)->trigger();
}

// Picks a paper by name in a page setup form (打印机设置, or the print dialog's
// properties) and accepts it.
void choosePaper(QWidget* form, const QString& name) {
    auto* sizes = form->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
    ASSERT_NE(sizes, nullptr);
    const int index = sizes->findText(name, Qt::MatchStartsWith);
    ASSERT_GE(index, 0) << name.toStdString();
    sizes->setCurrentIndex(index);
    qobject_cast<QDialog*>(form)->accept();
}

struct PdfFacts {
    int pages = -1;
    QSizeF pagePt;
};

PdfFacts pdfFacts(const QString& path) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(30000);
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    PdfFacts facts;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    if (pages.hasMatch()) facts.pages = pages.captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(out);
    if (size.hasMatch()) facts.pagePt = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    return facts;
}

bool sameSheet(QSizeF pt, QPageSize::PageSizeId id) {
    const QSizeF want = QPageSize(id).size(QPageSize::Point);
    return std::abs(pt.width() - want.width()) < 2 && std::abs(pt.height() - want.height()) < 2;
}

std::unique_ptr<CPatDoc> queue(std::initializer_list<int> copies, QSize signMm) {
    auto doc = std::make_unique<CPatDoc>();
    for (int c : copies) {
        auto record = std::make_unique<InfoRecord>();
        record->resizePage(signMm.width(), signMm.height());
        record->copies = c;
        // A product, so the check before printing has nothing to ask about.
        record->setValue(0, "tea");
        doc->records.push_back(std::move(record));
    }
    doc->records.front()->current = true;
    return doc;
}

}  // namespace

// The test programs run with no print server (see TestMain): no printer is offered.
TEST(PrintCommands, TestsSeeNoPrinter) {
    EXPECT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty());
    EXPECT_TRUE(QPrinterInfo::defaultPrinterName().isEmpty());
}

TEST(PrintCommands, PrintsThroughTheDialogIntoAPdfAndPreviewsTheSamePages) {
    const auto doc = queue({1, 2, 0, 3, 1}, QSize(90, 120));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    PrintCommands commands(*doc, nullptr);
    QMenuBar bar;
    commands.buildMenu(&bar);
    QObject scope;

    int offeredLast = 0;
    whenModalOpens(&scope, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        offeredLast = dialog->maxPage();
        choosePdf(dialog, path);
        dialog->accept();
    });
    commands.print(PrintMode::ByCopiesWithBackground);
    EXPECT_EQ(offeredLast, 7);
    EXPECT_EQ(pdfFacts(path).pages, 7);

    // The preview shows the job's pages, and its print button prints them.
    int previewed = 0;
    const QString fromPreview = dir.filePath(QStringLiteral("from-preview.pdf"));
    whenModalOpens(&scope, [&](QWidget* modal) {
        auto* widget = modal->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        previewed = widget->pageCount();
        printFromPreview(&scope, modal, fromPreview);
    });
    commands.preview(PrintMode::Proof1x2);
    EXPECT_EQ(previewed, 2);
    EXPECT_EQ(commands.printMode(), PrintMode::Proof1x2);
    EXPECT_EQ(pdfFacts(fromPreview).pages, 2);
}

// The paper chosen in 打印机设置 is the one the information boxes describe and every job
// prints on, even where the print dialog puts the queue's default sheet on the printer
// (it does that to a CUPS printer on every job); paper chosen in the dialog's properties
// holds for the next jobs too.
TEST(PrintCommands, TheChosenPaperHoldsForTheInformationAndEveryJob) {
    const auto doc = queue({1}, QSize(400, 580));
    QTemporaryDir dir;
    QWidget window;
    PrintCommands commands(*doc, &window);
    QObject scope;

    whenModalOpens(&scope, [&](QWidget* modal) {
        ASSERT_NE(qobject_cast<QPageSetupDialog*>(modal), nullptr);
        choosePaper(modal, QStringLiteral("A3"));
    });
    commands.printerSetup();
    ASSERT_EQ(commands.pageLayout().pageSize().id(), QPageSize::A3);
    const QSize a3 = commands.settingsFor(PrintMode::Tile).sheetMm;
    ASSERT_GT(a3.width(), 250);

    QString told;
    whenModalOpens(&scope, [&](QWidget* modal) {
        told = qobject_cast<QMessageBox*>(modal)->text();
        modal->close();
    });
    commands.showTileInformation();
    EXPECT_TRUE(told.contains(QStringLiteral("%1×%2").arg(a3.width()).arg(a3.height()))) << told.toStdString();

    enum class InDialog { QueueDefault, ChooseA5InProperties };
    const auto printJob = [&](const QString& name, InDialog what) {
        const QString path = dir.filePath(name);
        whenModalOpens(&scope, [&, path, what](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            choosePdf(dialog, path);
            if (what == InDialog::QueueDefault) {
                dialog->printer()->setPageSize(QPageSize(QPageSize::A4));
            } else {
                whenModalOpens(&scope, [](QWidget* properties) { choosePaper(properties, QStringLiteral("A5")); });
                dialog->findChild<QPushButton*>(QStringLiteral("properties"))->click();
            }
            dialog->accept();
        });
        commands.print(PrintMode::Tile);
        return pdfFacts(path);
    };

    // A 400 × 580 mm sign takes 2 × 2 A3 sheets (3 × 3 of A4).
    const PdfFacts first = printJob(QStringLiteral("a3.pdf"), InDialog::QueueDefault);
    EXPECT_TRUE(sameSheet(first.pagePt, QPageSize::A3)) << first.pagePt.width() << "x" << first.pagePt.height();
    EXPECT_EQ(first.pages, 4);

    const PdfFacts second = printJob(QStringLiteral("a5.pdf"), InDialog::ChooseA5InProperties);
    EXPECT_TRUE(sameSheet(second.pagePt, QPageSize::A5)) << second.pagePt.width() << "x" << second.pagePt.height();
    const PdfFacts third = printJob(QStringLiteral("a5-again.pdf"), InDialog::QueueDefault);
    EXPECT_TRUE(sameSheet(third.pagePt, QPageSize::A5)) << third.pagePt.width() << "x" << third.pagePt.height();
    EXPECT_EQ(third.pages, second.pages);
    EXPECT_EQ(commands.pageLayout().pageSize().id(), QPageSize::A5);
}

// A long job shows its progress in a window-modal dialog that takes clicks while the
// pages are drawn; 取消 stops the job and leaves nothing printed.
TEST(PrintCommands, ALongJobShowsProgressAndCanBeCancelled) {
    const auto doc = queue({40, 40}, QSize(90, 120));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cancelled.pdf"));
    QWidget window;
    window.show();
    PrintCommands commands(*doc, &window);
    QObject scope;

    QProgressDialog* progress = nullptr;
    int cancelledAt = -1;
    QString cancelText;
    Qt::WindowModality modality = Qt::NonModal;
    auto* watch = new QTimer(&scope);
    watch->setInterval(0);
    QObject::connect(watch, &QTimer::timeout, [&] {
        if (!progress) progress = window.findChild<QProgressDialog*>();
        if (progress && progress->isVisible() && progress->value() >= 3 && cancelledAt < 0) {
            cancelledAt = progress->value();
            modality = progress->windowModality();
            auto* cancel = progress->findChild<QPushButton*>();
            cancelText = cancel->text();
            cancel->click();
        }
    });
    whenModalOpens(&scope, [&](QWidget* modal) {
        choosePdf(modal, path);
        watch->start();
        qobject_cast<QDialog*>(modal)->accept();
    });
    commands.print(PrintMode::ByCopiesWithBackground);

    ASSERT_GE(cancelledAt, 3) << "no progress shown while printing";
    EXPECT_LT(cancelledAt, 80);
    EXPECT_EQ(modality, Qt::WindowModal);
    EXPECT_EQ(cancelText, QString::fromUtf8("取消"));
    EXPECT_FALSE(QFile::exists(path)) << "a cancelled job left " << pdfFacts(path).pages << " pages";
}

// Paper chosen in the print dialog can leave the job with fewer pages than the range
// typed there: the user is told, and nothing is printed.
TEST(PrintCommands, ARangePastTheLastPageOfTheChosenPaperIsTold) {
    const auto doc = queue({1}, QSize(400, 580));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none.pdf"));
    QWidget window;
    PrintCommands commands(*doc, &window);
    commands.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                       QPageLayout::Millimeter));
    QObject scope;
    QString told;
    whenModalOpens(&scope, [&](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        choosePdf(dialog, path);
        // Sheets 6 to 9 of the nine A4 sheets; A3 then gives four.
        auto* range = dialog->findChild<QRadioButton*>(QStringLiteral("printRange"));
        auto* from = dialog->findChild<QSpinBox*>(QStringLiteral("from"));
        auto* to = dialog->findChild<QSpinBox*>(QStringLiteral("to"));
        ASSERT_TRUE(range && from && to);
        range->setChecked(true);
        to->setValue(9);
        from->setValue(6);
        whenModalOpens(&scope, [](QWidget* properties) { choosePaper(properties, QStringLiteral("A3")); });
        dialog->findChild<QPushButton*>(QStringLiteral("properties"))->click();
        whenModalOpens(&scope, [&](QWidget* box) {
            told = qobject_cast<QMessageBox*>(box) ? qobject_cast<QMessageBox*>(box)->text() : QString();
            box->close();
        });
        dialog->accept();
    });
    commands.print(PrintMode::Tile);
    EXPECT_TRUE(told.contains(QString::fromUtf8("只有4页"))) << told.toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

// The preview's own 横向/纵向 turn the paper it shows, and printing from it prints on
// that paper; the turned paper is kept for the jobs after it.
TEST(PrintCommands, ThePreviewsOwnPaperHoldsForItsPagesAndItsPrint) {
    const auto doc = queue({1}, QSize(400, 580));
    QTemporaryDir dir;
    const QString fromPreview = dir.filePath(QStringLiteral("landscape.pdf"));
    QWidget window;
    PrintCommands commands(*doc, &window);
    commands.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                       QPageLayout::Millimeter));
    QObject scope;
    QPageLayout::Orientation shown = QPageLayout::Portrait;
    whenModalOpens(&scope, [&](QWidget* modal) {
        auto* widget = modal->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        widget->setLandscapeOrientation();
        QTest::qWait(50);
        widget->updatePreview();
        QTest::qWait(50);
        shown = widget->orientation();
        printFromPreview(&scope, modal, fromPreview);
    });
    commands.preview(PrintMode::Tile);
    EXPECT_EQ(shown, QPageLayout::Landscape);
    const PdfFacts printed = pdfFacts(fromPreview);
    EXPECT_GT(printed.pagePt.width(), printed.pagePt.height())
        << printed.pagePt.width() << "x" << printed.pagePt.height();
    EXPECT_EQ(commands.pageLayout().orientation(), QPageLayout::Landscape);
    const QSize sheet = commands.settingsFor(PrintMode::Tile).sheetMm;
    EXPECT_GT(sheet.width(), sheet.height());
}

TEST(PrintCommands, AnEmptyQueueIsRefusedBeforeAnyDialog) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.front()->copies = 0;
    PrintCommands commands(doc, nullptr);
    QObject scope;
    QString told;
    whenModalOpens(&scope, [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        told = box->text();
        box->accept();
    });
    commands.print(PrintMode::ByItemWithBackground);
    EXPECT_TRUE(told.contains(QString::fromUtf8("打印队列")));
}

}  // namespace pemo
