#include "RecordImportCommand.h"

#include <QApplication>
#include <QProgressDialog>

#include "ImportDialog.h"
#include "RecordGrid.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"
#include "core/platform/Messages.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {

RecordImportCommand::RecordImportCommand(CPatDoc& doc, RecordGrid& grid, QWidget* parent)
    : QObject(parent), doc_(doc), grid_(grid), parent_(parent) {}

QString RecordImportCommand::menuText(int id) {
    return id == RecordCommand::ImportText ? QString::fromUtf8("导入TXT文件...")
                                           : QString::fromUtf8("导入XLS文件...");
}

void RecordImportCommand::run(int id) {
    if (saveModified && !saveModified()) return;
    const bool workbook = id == RecordCommand::ImportWorkbook;
    ImportDialog dialog(workbook ? ImportSettings::Kind::Workbook : ImportSettings::Kind::Text,
                        doc_.variableNames, parent_);
    if (dialog.exec() != QDialog::Accepted) return;
    const ImportSettings settings = dialog.settings();

    // The window shows while the file is read (without a count yet), then counts the
    // rows as they become records; cancelling then leaves the records as they were.
    QProgressDialog progress(QString::fromUtf8("正在导入信息..."), QString::fromUtf8("取消"), 0, 0,
                             parent_);
    progress.setWindowTitle(QString::fromUtf8("导入"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    QCoreApplication::processEvents();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TableSheet sheet(dialog.chosenPath(), settings.separator(), dialog.sheetName());
    QApplication::restoreOverrideCursor();

    RecordImport import(doc_, settings.columns);
    const bool built = import.build(
        sheet, sheet.isWorkbook() ? 2 : 1, templateMode && templateMode(),
        [&progress](int done, int total) {
            progress.setMaximum(std::max(1, total));
            progress.setValue(done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    if (!built) {
        if (!import.message().isEmpty()) Messages::current().inform(import.message());
        return;
    }
    import.apply(true);
    grid_.refreshScroll();
    grid_.selectRecord(0);
}

}  // namespace pemo
