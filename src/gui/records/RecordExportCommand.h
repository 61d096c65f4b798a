#pragma once

#include <QObject>

class QWidget;

namespace pemo {

class CPatDoc;

// 导出TXT文件 (34113) and 导出XLS文件 (34114): show the export dialog, then write every
// record's chosen values to the file. A failure is reported and leaves an existing file
// as it was; success says nothing. The document's modified flag is not touched.
class RecordExportCommand : public QObject {
    Q_OBJECT
public:
    RecordExportCommand(const CPatDoc& doc, QWidget* parent);

    void run(int id);
    static QString menuText(int id);

private:
    const CPatDoc& doc_;
    QWidget* parent_;
};

}  // namespace pemo
