#include "RecordExportCommand.h"

#include <QApplication>

#include "ExportDialog.h"
#include "ExportPane.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"
#include "core/platform/FileError.h"
#include "core/platform/Messages.h"
#include "core/records/RecordExport.h"

namespace pemo {

RecordExportCommand::RecordExportCommand(const CPatDoc& doc, QWidget* parent)
    : QObject(parent), doc_(doc), parent_(parent) {}

QString RecordExportCommand::menuText(int id) {
    return id == RecordCommand::ExportText ? QString::fromUtf8("导出TXT文件...")
                                           : QString::fromUtf8("导出XLS文件...");
}

void RecordExportCommand::run(int id) {
    const bool workbook = id == RecordCommand::ExportWorkbook;
    ExportDialog dialog(workbook ? ExportSettings::Kind::Workbook : ExportSettings::Kind::Text,
                        doc_, parent_);
    if (dialog.exec() != QDialog::Accepted) return;
    const ExportSettings settings = dialog.settings();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int cleaned = 0;
    try {
        if (workbook) {
            cleaned = RecordExport::writeWorkbook(doc_, settings.order(),
                                                  Gbk::toUnicode(settings.sheetName), dialog.chosenPath());
        } else {
            RecordExport::writeText(doc_, settings.order(), settings.separator(), dialog.chosenPath(),
                                    dialog.pane()->utf8() ? RecordExport::Encoding::Utf8WithBom
                                                          : RecordExport::Encoding::Gbk);
        }
    } catch (const FileError& error) {
        QApplication::restoreOverrideCursor();
        Messages::current().inform(error.message());
        return;
    }
    QApplication::restoreOverrideCursor();
    if (cleaned > 0) Messages::current().inform(RecordExport::cleanedCellsMessage(cleaned));
}

}  // namespace pemo
