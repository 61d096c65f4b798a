#include "RecordImportCommand.h"

#include "CancelWatch.h"

#include <QApplication>
#include <QProgressDialog>

#include "DatabaseImportDialog.h"
#include "ImportDialog.h"
#include "RecordGrid.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"
#include "core/platform/Messages.h"
#include "core/records/DatabaseImport.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {

RecordImportCommand::RecordImportCommand(CPatDoc& doc, RecordGrid& grid, QWidget* parent)
    : QObject(parent), doc_(doc), grid_(grid), parent_(parent) {}

QString RecordImportCommand::menuText(int id) {
    switch (id) {
    case RecordCommand::ImportText: return QString::fromUtf8("导入TXT文件...");
    case RecordCommand::ImportWorkbook: return QString::fromUtf8("导入XLS文件...");
    default: return QString::fromUtf8("导入MDB文件...");
    }
}

namespace {

// The window shows while the file is read (without a count yet), then counts the rows
// as they become records; cancelling then leaves the records as they were.
void showProgress(QProgressDialog& progress) {
    progress.setWindowTitle(QString::fromUtf8("导入"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    QCoreApplication::processEvents();
}

}  // namespace

bool RecordImportCommand::build(RecordImport& import, const TableSheet& sheet, int firstRow,
                                QProgressDialog& progress) {
    const bool built = import.build(
        sheet, firstRow, templateMode && templateMode(), [&progress](int done, int total) {
            progress.setMaximum(std::max(1, total));
            progress.setValue(done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    if (!built) {
        if (!import.message().isEmpty()) Messages::current().inform(import.message());
        return false;
    }
    const std::optional<ImportTarget::Records> mode = askHowToAdd();
    if (!mode) return false;
    doc_.listHistory().record(QString::fromUtf8("导入"), [&] { import.apply(true, *mode); });
    grid_.refreshScroll();
    grid_.selectRecord(doc_.currentIndex());
    return true;
}

std::optional<ImportTarget::Records> RecordImportCommand::askHowToAdd() {
    const int count = ImportTarget::replacedCount(doc_);
    if (count == 0) return ImportTarget::Records::Replace;
    switch (Messages::current().ask(ImportTarget::replaceQuestion(count),
                                    Messages::Buttons::ReplaceAppendCancel)) {
    case Messages::Answer::Yes: return ImportTarget::Records::Replace;
    case Messages::Answer::No: return ImportTarget::Records::Append;
    default: return std::nullopt;
    }
}

void RecordImportCommand::runDatabase() {
    DatabaseImportDialog dialog(doc_.variableNames, parent_);
    if (dialog.exec() != QDialog::Accepted) return;
    const DatabaseSelection selection = dialog.selection();
    QProgressDialog progress(QString::fromUtf8("正在导入信息..."), QString::fromUtf8("取消"), 0, 0,
                             parent_);
    showProgress(progress);
    // Every row is read before any record changes: a failure leaves the list alone.
    CellTable cells;
    QString message;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DatabaseQuery::Limits limits;
    limits.cancelled = CancelWatch(progress);
    const bool read = DatabaseImport::read(selection, cells, message, limits);
    QApplication::restoreOverrideCursor();
    if (!read || cells.rows.empty()) {
        progress.reset();
        if (read || !message.isEmpty())
            Messages::current().inform(read ? DatabaseImport::noMatchMessage() : message);
        return;
    }
    RecordImport import(doc_, DatabaseImport::columns(selection),
                        ImportTarget::pageRecord(doc_, ImportTarget::defaultPage(doc_)));
    build(import, TableSheet(std::move(cells), TableSheet::Kind::Text), 1, progress);
}

void RecordImportCommand::run(int id) {
    if (saveModified && !saveModified()) return;
    if (id == RecordCommand::ImportDatabase) {
        runDatabase();
        return;
    }
    const bool workbook = id == RecordCommand::ImportWorkbook;
    ImportDialog dialog(workbook ? ImportSettings::Kind::Workbook : ImportSettings::Kind::Text,
                        doc_.variableNames, parent_);
    dialog.setPage(ImportTarget::defaultPage(doc_), doc_.currentRecord() != nullptr);
    if (dialog.exec() != QDialog::Accepted) return;
    const ImportSettings settings = dialog.settings();

    QProgressDialog progress(QString::fromUtf8("正在导入信息..."), QString::fromUtf8("取消"), 0, 0,
                             parent_);
    showProgress(progress);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TableSheet sheet(dialog.chosenPath(), settings.separator(), dialog.sheetName(),
                           dialog.encoding());
    QApplication::restoreOverrideCursor();
    RecordImport import(doc_, settings.columns, ImportTarget::pageRecord(doc_, dialog.page()));
    build(import, sheet, dialog.firstRow(), progress);
}

}  // namespace pemo
