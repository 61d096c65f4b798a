#include "FileMenu.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "CPatApp.h"
#include "PdfExportDialog.h"
#include "SaveName.h"
#include "core/document/CPatDoc.h"
#include "core/document/PageDrawing.h"
#include "core/document/PagePictureFile.h"
#include "core/platform/Messages.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintMode.h"
#include "core/print/PrintSettings.h"
#include "gui/common/CommandIds.h"
#include "gui/common/ToolIcons.h"
#include "gui/view/PrintCommands.h"
#include "gui/view/ViewCommands.h"

namespace pemo {

FileMenu::FileMenu(CPatApp& app, CPatDoc& doc, PrintCommands& print, QWidget* window)
    : CommandGroup(window), app_(app), doc_(doc), print_(print), window_(window) {}

void FileMenu::addTo(QMenuBar* bar) {
    menu_ = bar->addMenu(QString::fromUtf8("文件(&F)"));
    connect(addCommand(menu_, CommandId::FileNew, QString::fromUtf8("新建(&N)"), QKeySequence::New),
            &QAction::triggered, this, [this] { app_.newDocument(); });
    connect(addCommand(menu_, CommandId::FileOpen, QString::fromUtf8("打开(&O)..."),
                       QKeySequence::Open),
            &QAction::triggered, this, [this] {
                const QString path = QFileDialog::getOpenFileName(
                    window_, QString::fromUtf8("打开"), app_.dialogFolder(),
                    QString::fromUtf8("佩墨文件 (*.vxq)"));
                if (!path.isEmpty()) app_.openDocument(path);
            });
    connect(addCommand(menu_, CommandId::FileSave, QString::fromUtf8("保存(&S)"), QKeySequence::Save),
            &QAction::triggered, this, [this] { app_.saveDocument(); });
    connect(addCommand(menu_, CommandId::FileSaveAs, QString::fromUtf8("另存为(&A)...")),
            &QAction::triggered, this, [this] { app_.saveDocumentAs(); });
    menu_->addSeparator();
    QAction* picture = addCommand(menu_, ViewCommand::ExportPicture, QString::fromUtf8("转存为(&E)..."));
    picture->setStatusTip(QString::fromUtf8("将当前模板转存为BMP文件"));
    connect(picture, &QAction::triggered, this, &FileMenu::exportPagePicture);
    QAction* pdf = addCommand(menu_, kExportPdf, QString::fromUtf8("导出PDF(&D)..."));
    pdf->setStatusTip(QString::fromUtf8("把打印队列按项导出为PDF文件"));
    pdf->setIcon(toolIcon("document-export"));
    connect(pdf, &QAction::triggered, this, &FileMenu::exportPdf);
    menu_->addSeparator();
    recentPlace_ = menu_->addSeparator();
    connect(addCommand(menu_, CommandId::AppExit, QString::fromUtf8("退出(&X)")), &QAction::triggered,
            window_, &QWidget::close);
}

void FileMenu::showRecentFiles(const QStringList& files) {
    for (QAction* action : std::as_const(recentActions_)) {
        menu_->removeAction(action);
        delete action;
    }
    recentActions_.clear();
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i)), this);
        action->setData(CommandId::FirstRecentFile + i);
        const QString path = files.at(i);
        connect(action, &QAction::triggered, this, [this, path] { app_.openDocument(path); });
        menu_->insertAction(recentPlace_, action);
        recentActions_.append(action);
    }
}

void FileMenu::exportPagePicture() {
    const InfoRecord* record = doc_.currentRecord();
    if (!record) return;
    const QString bmp = QString::fromUtf8("BMP图象 (*.bmp)");
    const QString png = QString::fromUtf8("PNG图象 (*.png)");
    QString filter = bmp;
    const QString chosen = QFileDialog::getSaveFileName(window_, QString::fromUtf8("转存为"),
                                                        app_.dialogFolder(), bmp + QStringLiteral(";;") + png,
                                                        &filter);
    const QString path = completeSaveName(chosen, {QStringLiteral("bmp"), QStringLiteral("png")},
                                          filter == png ? QStringLiteral("png") : QStringLiteral("bmp"));
    if (path.isEmpty()) return;
    // The page as the view shows it: placeholder names in template mode.
    const QImage image = renderPageImage(*record, doc_.backgrounds, 150, true, doc_.templateMode());
    if (!PagePictureFile::write(image, path)) {
        Messages::current().inform(QString::fromUtf8("无法写入文件 %1。").arg(path));
    }
}

void FileMenu::exportPdf() {
    PdfExportDialog choices(window_);
    if ((runExportDialog ? runExportDialog(choices) : choices.exec()) != QDialog::Accepted) return;
    QSizeF paper = choices.paperMm();
    PrintSettings settings = choices.settings();
    if (settings.mode == PrintMode::Labels && !print_.chooseLabelExport(settings, paper)) return;
    const QString suggested = QFileInfo(app_.documentTitle()).completeBaseName() + QStringLiteral(".pdf");
    const QString proposed = app_.dialogFolder() + QLatin1Char('/') + suggested;
    const QString chosen = askPdfPath ? askPdfPath(proposed)
                                      : QFileDialog::getSaveFileName(window_, QString::fromUtf8("导出PDF"), proposed,
                                                                     QString::fromUtf8("PDF文件 (*.pdf)"));
    const QString path = completeSaveName(chosen, {QStringLiteral("pdf")}, QStringLiteral("pdf"));
    if (path.isEmpty()) return;
    // The chosen mode and sheet at 300 dots per inch.
    PrintJob job(doc_);
    if (!job.prepare(settings)) {
        Messages::current().inform(job.refusal().isEmpty() ? QString::fromUtf8("无法打印。")
                                                            : job.refusal());
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool written = PdfOutput::write(job, path, paper, 300, &error);
    QApplication::restoreOverrideCursor();
    Messages::current().inform(written ? QString::fromUtf8("已导出 %1 页到 %2。")
                                             .arg(job.pageCount())
                                             .arg(QDir::toNativeSeparators(path))
                                       : error);
}

}  // namespace pemo
