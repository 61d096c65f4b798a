#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "core/records/ImportTarget.h"

class QProgressDialog;
class QWidget;

namespace pemo {

class CPatDoc;
class RecordGrid;
class RecordImport;
class TableSheet;

// 导入TXT文件 (34110), 导入XLS文件 (34111) and 导入MDB文件 (34112): ask to save a
// modified document, show the import dialog, read the file with a progress window that
// can cancel, then — when the file gave records and the document holds some with values,
// after asking 替换 / 追加 / 取消 — put the new records in place of the old ones or after
// them. The document stays marked modified.
class RecordImportCommand : public QObject {
    Q_OBJECT
public:
    RecordImportCommand(CPatDoc& doc, RecordGrid& grid, QWidget* parent);

    // Runs the command with that id.
    void run(int id);
    static QString menuText(int id);

    // Set by the frame: the save prompt (false = the user cancelled) and the view's
    // 模板方式.
    std::function<bool()> saveModified;
    std::function<bool()> templateMode;

private:
    void runDatabase();
    // Builds the records with the progress window, then puts them in place; false (with
    // the message shown) when nothing changed.
    bool build(RecordImport& import, const TableSheet& sheet, int firstRow, QProgressDialog& progress);
    // 替换 / 追加 when the import would replace records holding values; none for 取消.
    std::optional<ImportTarget::Records> askHowToAdd();

    CPatDoc& doc_;
    RecordGrid& grid_;
    QWidget* parent_;
};

}  // namespace pemo
