#include "PriceUpdateCommand.h"

#include <QApplication>
#include <QDateTime>

#include "ImportDialog.h"
#include "PriceUpdateDialog.h"
#include "RecordGrid.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordPrototype.h"
#include "core/platform/Messages.h"
#include "core/records/PriceUpdate.h"
#include "core/records/TableSheet.h"

namespace pemo {

PriceUpdateCommand::PriceUpdateCommand(CPatDoc& doc, RecordGrid& grid, QWidget* parent)
    : QObject(parent), doc_(doc), grid_(grid), parent_(parent) {}

QString PriceUpdateCommand::menuText(ImportSettings::Kind kind) {
    return kind == ImportSettings::Kind::Workbook ? QString::fromUtf8("按价格表更新(XLS文件)...")
                                                  : QString::fromUtf8("按价格表更新(TXT文件)...");
}

void PriceUpdateCommand::run(ImportSettings::Kind kind) {
    ImportDialog dialog(kind, doc_.variableNames, parent_);
    dialog.setWindowTitle(QString::fromUtf8("选择价格表"));
    if (dialog.exec() != QDialog::Accepted) return;
    const ImportSettings settings = dialog.settings();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TableSheet sheet(dialog.chosenPath(), settings.separator(), dialog.sheetName(), dialog.encoding());
    QApplication::restoreOverrideCursor();
    if (!sheet.isRead()) {
        Messages::current().inform(sheet.message());
        return;
    }
    PriceUpdateDialog summary(doc_, sheet, dialog.firstRow(), settings.columns, parent_);
    if (summary.exec() != QDialog::Accepted) return;
    const PriceUpdate& update = summary.update();

    auto initializer = doc_.newRecordInitializer;
    if (summary.newOnCurrentPage() && doc_.currentRecord()) {
        doc_.newRecordInitializer = RecordPrototype::pageOf(*doc_.currentRecord());
    }
    // Changed prices and new records are one step of 撤消.
    std::vector<int> marked;
    doc_.listHistory().record(QString::fromUtf8("按价格表更新"), [&] { marked = update.apply(doc_); });
    doc_.newRecordInitializer = initializer;

    QSet<const InfoRecord*> records;
    for (int index : marked) records.insert(doc_.recordAt(index));
    grid_.markRecords(records);
    grid_.refreshScroll();

    const QString path = documentPath ? documentPath() : QString();
    if (path.isEmpty() || update.changes().empty()) return;
    QString error;
    if (!update.appendLog(PriceUpdate::logPathFor(path), QDateTime::currentDateTime(), doc_.variableNames, error)) {
        Messages::current().inform(error);
    }
}

}  // namespace pemo
