#pragma once

#include <QObject>
#include <functional>

#include "core/records/ImportSettings.h"

class QWidget;

namespace pemo {

class CPatDoc;
class RecordGrid;

// 信息 → 按价格表更新: the price list chosen and mapped in the import's file dialog, the
// summary shown (PriceUpdateDialog), then the update applied, the changed and new
// records marked in the grid, and the changes appended to the log beside the document.
class PriceUpdateCommand : public QObject {
    Q_OBJECT
public:
    PriceUpdateCommand(CPatDoc& doc, RecordGrid& grid, QWidget* parent);

    void run(ImportSettings::Kind kind);
    static QString menuText(ImportSettings::Kind kind);

    // Set by the frame: the document's file (empty while untitled: no log is written).
    std::function<QString()> documentPath;

private:
    CPatDoc& doc_;
    RecordGrid& grid_;
    QWidget* parent_;
};

}  // namespace pemo
