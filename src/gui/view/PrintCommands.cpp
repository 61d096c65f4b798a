#include "PrintCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "gui/common/CommandIds.h"
#include "core/document/CPatDoc.h"
#include "core/platform/ProgramInfo.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintMode.h"
#include "LabelSheetDialog.h"
#include "ListPrintCommand.h"
#include "PrintCheckDialog.h"
#include "core/labels/LabelCatalogue.h"
#include "PrintRun.h"
#include "core/print/PrintCheck.h"
#include <QSettings>

namespace pemo {

namespace {

// Printers get their signs in bands of pixels at this resolution: sharp enough for
// small print, and a band of an A3 sheet stays under 40 MB.
constexpr int kPrinterDpi = 600;

constexpr int kOverlaps[] = {0, 5, 10, 20};
constexpr int kSpacings[] = {5, 10, 15, 20, 30};

QString title() { return QString::fromUtf8(kProgramName); }

QSettings programSettings() { return QSettings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo")); }

}  // namespace

PrintCommands::PrintCommands(CPatDoc& doc, QWidget* parent)
    : CommandGroup(parent),
      doc_(doc),
      parent_(parent),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    printer_->setResolution(kPrinterDpi);
    pageLayout_ = printer_->pageLayout();
    turnTiles_ = QSettings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo"))
                     .value(QStringLiteral("Settings/TurnTiles"), false)
                     .toBool();
    QSettings settings = programSettings();
    labelChoice_ = LabelChoice::load(settings);
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::addModeCommands(QMenu* printMenu, QMenu* previewMenu, int mode) {
    const PrintMode m = *PrintMode::fromCode(mode);
    connect(addCommand(printMenu, m.printCommand, m.printText), &QAction::triggered, this,
            [this, mode] { print(mode); });
    connect(addCommand(previewMenu, m.previewCommand, m.previewText), &QAction::triggered, this,
            [this, mode] { preview(mode); });
}

QMenu* PrintCommands::buildMenu(QMenuBar* bar) {
    auto* menu = new QMenu(QString::fromUtf8("打印(&P)"), bar);
    QAction* before = nullptr;
    for (QAction* a : bar->actions()) {
        if (a->text() == QString::fromUtf8("配置(&S)")) before = a;
    }
    bar->insertMenu(before, menu);

    for (int mode : {PrintMode::ByItemWithBackground, PrintMode::ByItemWithoutBackground,
                     PrintMode::ByCopiesWithBackground, PrintMode::ByCopiesWithoutBackground}) {
        addModeCommands(menu, menu, mode);
        menu->addSeparator();
    }

    QMenu* proofPrint = menu->addMenu(QString::fromUtf8("校对打印"));
    QMenu* proofPreview = menu->addMenu(QString::fromUtf8("校对预览"));
    for (int mode = PrintMode::Proof1x2; mode <= PrintMode::Proof8x8; ++mode) {
        addModeCommands(proofPrint, proofPreview, mode);
        // Grids of the same cell count sit together.
        if (mode == PrintMode::Proof2x1 || mode == PrintMode::Proof2x2 || mode == PrintMode::Proof4x2 ||
            mode == PrintMode::Proof4x4 || mode == PrintMode::Proof8x4) {
            proofPrint->addSeparator();
            proofPreview->addSeparator();
        }
    }
    menu->addSeparator();

    addModeCommands(menu, menu, PrintMode::Tile);
    connect(addCommand(menu, kTileInformation, QString::fromUtf8("拼版信息...")), &QAction::triggered,
            this, &PrintCommands::showTileInformation);
    QMenu* overlap = menu->addMenu(QString::fromUtf8("拼版重叠"));
    auto* overlapGroup = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        const int mm = kOverlaps[i];
        QAction* a = addCommand(overlap, kFirstOverlap + i,
                                mm == 0 ? QString::fromUtf8("无重叠") : QString::fromUtf8("重叠%1毫米").arg(mm));
        a->setCheckable(true);
        a->setChecked(mm == tileOverlapMm_);
        overlapGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, mm] { setTileOverlap(mm); });
    }
    overlap->addSeparator();
    QAction* turn = addCommand(overlap, kTurnTiles, QString::fromUtf8("张数少时转纸拼版"));
    turn->setCheckable(true);
    turn->setChecked(turnTiles_);
    connect(turn, &QAction::toggled, this, &PrintCommands::setTurnTiles);
    menu->addSeparator();

    addModeCommands(menu, menu, PrintMode::Merge);
    connect(addCommand(menu, kMergeInformation, QString::fromUtf8("合并信息...")), &QAction::triggered,
            this, &PrintCommands::showMergeInformation);
    QMenu* spacing = menu->addMenu(QString::fromUtf8("合并间距"));
    auto* spacingGroup = new QActionGroup(this);
    for (int i = 0; i < 5; ++i) {
        const int mm = kSpacings[i];
        QAction* a = addCommand(spacing, kFirstSpacing + i, QString::fromUtf8("页间距%1毫米").arg(mm));
        a->setCheckable(true);
        a->setChecked(mm == mergeSpacingMm_);
        spacingGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, mm] { setMergeSpacing(mm); });
    }
    menu->addSeparator();

    addModeCommands(menu, menu, PrintMode::Labels);
    menu->addSeparator();

    addModeCommands(menu, menu, PrintMode::Template);
    menu->addSeparator();

    QAction* setup = addCommand(menu, CommandId::PrintSetup, QString::fromUtf8("打印机设置(&R)..."));
    setup->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(setup, &QAction::triggered, this, &PrintCommands::printerSetup);
    return menu;
}

void PrintCommands::addListPrint(QMenu* menu, QAction* command) {
    // Before the separator that precedes 打印机设置, with a separator of its own.
    const QList<QAction*> items = menu->actions();
    QAction* before = items.size() >= 2 ? items.at(items.size() - 2) : nullptr;
    menu->insertAction(before, command);
    menu->insertSeparator(command);
    auto* listPrint = new ListPrintCommand(doc_, parent_);
    connect(command, &QAction::triggered, listPrint, &ListPrintCommand::run);
}

void PrintCommands::setTileOverlap(int mm) {
    tileOverlapMm_ = mm;
    for (int i = 0; i < 4; ++i) action(kFirstOverlap + i)->setChecked(kOverlaps[i] == mm);
}

void PrintCommands::setTurnTiles(bool on) {
    turnTiles_ = on;
    QSettings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo")).setValue(QStringLiteral("Settings/TurnTiles"), on);
    if (QAction* a = action(kTurnTiles)) a->setChecked(on);
}

void PrintCommands::setMergeSpacing(int mm) {
    mergeSpacingMm_ = mm;
    for (int i = 0; i < 5; ++i) action(kFirstSpacing + i)->setChecked(kSpacings[i] == mm);
}

void PrintCommands::setPageLayout(const QPageLayout& layout) {
    pageLayout_ = layout;
    applyPageLayout();
}

void PrintCommands::applyPageLayout(int mode) const {
    QPageLayout layout = pageLayout_;
    if (mode == PrintMode::Labels) {
        if (const auto sheet = labelSheet()) {
            layout = QPageLayout(QPageSize(sheet->paperMm, QPageSize::Millimeter), QPageLayout::Portrait,
                                 QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        }
    }
    if (printer_->pageLayout().isEquivalentTo(layout)) return;
    if (!printer_->setPageLayout(layout)) {
        // A printer that cannot print to the edge keeps its least margins.
        printer_->setPageSize(layout.pageSize());
        printer_->setPageOrientation(layout.orientation());
    }
}

std::shared_ptr<const LabelTemplate> PrintCommands::labelSheet() const {
    if (const auto sheet = LabelChoice::resolve(labelChoice_.sheet, LabelCatalogue::installed())) {
        return std::make_shared<const LabelTemplate>(*sheet);
    }
    return nullptr;
}

void PrintCommands::setLabelChoice(const LabelChoice& choice) {
    labelChoice_ = choice;
    QSettings settings = programSettings();
    labelChoice_.save(settings);
}

bool PrintCommands::chooseLabelSheet() {
    LabelSheetDialog dialog(LabelCatalogue::installed(), labelChoice_, parent_);
    const int result = runLabelDialog ? runLabelDialog(dialog) : dialog.exec();
    if (result != QDialog::Accepted) return false;
    setLabelChoice(dialog.choice());
    return true;
}

bool PrintCommands::chooseLabelExport(PrintSettings& settings, QSizeF& paperMm) {
    if (!chooseLabelSheet()) return false;
    const auto sheet = labelSheet();
    if (!sheet) return false;
    settings.labelSheet = sheet;
    settings.startLabel = labelChoice_.start;
    settings.labelOutlines = labelChoice_.outline;
    settings.areaOriginMm = QPointF();
    paperMm = sheet->paperMm;
    settings.sheetMm = QSize(static_cast<int>(paperMm.width()), static_cast<int>(paperMm.height()));
    return true;
}

PrintSettings PrintCommands::settingsFor(int mode) const {
    PrintSettings settings;
    settings.mode = mode;
    applyPageLayout(mode);
    // The printable area of the chosen sheet on the chosen printer, in whole millimetres.
    const QRectF area = printer_->pageRect(QPrinter::Millimeter);
    settings.sheetMm = QSize(static_cast<int>(area.width()), static_cast<int>(area.height()));
    if (mode == PrintMode::Labels) {
        settings.labelSheet = labelSheet();
        settings.startLabel = labelChoice_.start;
        settings.labelOutlines = labelChoice_.outline;
        settings.areaOriginMm = area.topLeft() - printer_->paperRect(QPrinter::Millimeter).topLeft();
    }
    settings.tileOverlapMm = tileOverlapMm_;
    settings.mergeSpacingMm = mergeSpacingMm_;
    settings.turnTiles = turnTiles_;
    return settings;
}

void PrintCommands::refuse(const QString& message) {
    QMessageBox::warning(parent_, title(), message);
}

bool PrintCommands::prepare(PrintJob& job, int mode) {
    if (job.prepare(settingsFor(mode))) return true;
    // A mode outside the table cancels the job without a word.
    if (!job.refusal().isEmpty()) refuse(job.refusal());
    return false;
}

bool PrintCommands::checkBeforePrinting(int mode, bool preview) {
    const double minimum = QSettings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo"))
                               .value(QStringLiteral("Settings/MinimumTextPoints"),
                                      PrintCheck::kDefaultMinimumPointsA4)
                               .toDouble();
    auto findings =
        PrintCheck::run(doc_, settingsFor(mode), minimum > 0 ? minimum : PrintCheck::kDefaultMinimumPointsA4);
    // A job that cannot be laid out at all (an empty queue, a sheet too small) is refused
    // with its own message right after: nothing to ask about its signs first.
    const bool refused = std::any_of(findings.begin(), findings.end(),
                                     [](const PrintFinding& f) { return f.record < 0; });
    if (refused || findings.empty()) return true;
    PrintCheckDialog dialog(findings, preview, parent_);
    const int result = runCheckDialog ? runCheckDialog(dialog) : dialog.exec();
    if (dialog.chosenRecord() >= 0) {
        doc_.setCurrentIndex(dialog.chosenRecord());
        return false;
    }
    return result == QDialog::Accepted;
}

void PrintCommands::print(int mode) {
    printMode_ = mode;
    if (mode == PrintMode::Labels && !chooseLabelSheet()) return;
    if (!checkBeforePrinting(mode, false)) return;
    PrintJob job(doc_);
    if (!prepare(job, mode)) return;

    applyPageLayout(mode);
    QPrintDialog dialog(printer_.get(), parent_);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, job.pageCount());
    dialog.setFromTo(1, job.pageCount());
    if (dialog.exec() != QDialog::Accepted) {
        applyPageLayout();
        return;
    }
    // Paper chosen in the dialog's properties is the user's new choice; anything else the
    // dialog did to the paper (a CUPS queue's default sheet) is not.
    const auto properties = dialog.findChildren<QDialog*>();
    // A label sheet brings its own paper: that is never the user's new choice.
    if (mode != PrintMode::Labels && std::any_of(properties.begin(), properties.end(), [](const QDialog* d) {
            return d->result() == QDialog::Accepted;
        })) {
        pageLayout_ = printer_->pageLayout();
    }

    // The dialog may have changed the printer: lay the job out again for the sheet that
    // will really be printed on.
    if (!prepare(job, mode)) return;
    int first = 1;
    int last = job.pageCount();
    if (printer_->printRange() == QPrinter::PageRange && printer_->fromPage() > 0) {
        first = std::max(1, printer_->fromPage());
        last = std::min(last, printer_->toPage());
    }
    if (first > last) {
        // The paper chosen in the dialog gave the job fewer pages than the range asks for.
        refuse(QString::fromUtf8("所选纸张上只有%1页，所选页码范围内没有可打印的页。").arg(job.pageCount()));
        return;
    }

    if (PrintRun::run(job, *printer_, first, last, parent_) == PrintRun::Outcome::Failed) {
        refuse(QString::fromUtf8("无法启动打印作业。"));
    }
    applyPageLayout();
}

void PrintCommands::preview(int mode) {
    printMode_ = mode;
    if (mode == PrintMode::Labels && !chooseLabelSheet()) return;
    if (!checkBeforePrinting(mode, true)) return;
    PrintJob job(doc_);
    if (!prepare(job, mode)) return;

    applyPageLayout(mode);
    QPrintPreviewDialog dialog(printer_.get(), parent_);
    dialog.setWindowTitle(PrintMode::fromCode(mode)->previewText.remove(QStringLiteral("...")));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this, mode, &dialog](QPrinter* printer) {
        // The preview's own 横向/纵向 and 页面设置 change the paper on the printer before
        // it repaints: that paper is the user's choice, for the preview, for printing from
        // it and for the jobs after it.
        if (printer->paintEngine()->type() == QPaintEngine::Picture) pageLayout_ = printer->pageLayout();
        PrintJob pages(doc_);
        if (!pages.prepare(settingsFor(mode))) return;
        if (printer->paintEngine()->type() != QPaintEngine::Picture) {
            // The preview's own print button: a real job, run as from the menu.
            if (PrintRun::run(pages, *printer, 1, pages.pageCount(), &dialog) == PrintRun::Outcome::Failed) {
                refuse(QString::fromUtf8("无法启动打印作业。"));
            }
            return;
        }
        QPainter painter;
        if (!painter.begin(printer)) {
            refuse(QString::fromUtf8("无法启动打印作业。"));
            return;
        }
        // The preview records every page: drawn straight it holds no page bitmaps.
        pages.setDirectOutput(true);
        for (int k = 1; k <= pages.pageCount(); ++k) {
            if (k > 1) printer->newPage();
            pages.renderPage(painter, k);
        }
        painter.end();
    });
    dialog.exec();
    // The preview's own print dialog may have reset the paper as the print dialog does.
    applyPageLayout();
}

void PrintCommands::printerSetup() {
    applyPageLayout();
    QPageSetupDialog dialog(printer_.get(), parent_);
    if (dialog.exec() == QDialog::Accepted) pageLayout_ = printer_->pageLayout();
    applyPageLayout();
}

void PrintCommands::showTileInformation() {
    QMessageBox::information(parent_, title(), PrintLayout::tileInformation(doc_, settingsFor(PrintMode::Tile)));
}

void PrintCommands::showMergeInformation() {
    QMessageBox::information(parent_, title(),
                             PrintLayout::mergeInformation(doc_, settingsFor(PrintMode::Merge)));
}

}  // namespace pemo
