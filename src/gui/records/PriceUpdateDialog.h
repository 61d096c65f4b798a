#pragma once

#include <QDialog>
#include <memory>

#include "core/records/PriceUpdate.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace pemo {

class CPatDoc;
class TableSheet;

// The price update's summary before anything changes: the key (one of the mapped
// targets), the page new products take, the counts ("改价 N 项，新增 K 项…") and the list
// of changes, planned afresh whenever the key changes. 更新 is enabled only when the plan
// changes something and no key stands twice.
class PriceUpdateDialog : public QDialog {
    Q_OBJECT
public:
    PriceUpdateDialog(const CPatDoc& doc, const TableSheet& sheet, int firstRow,
                      const PriceUpdate::Columns& columns, QWidget* parent = nullptr);
    ~PriceUpdateDialog() override;

    const PriceUpdate& update() const { return *update_; }
    // New products on the current record's page (else on the library's chosen template).
    bool newOnCurrentPage() const;

    QComboBox* keyBox() const { return key_; }
    QComboBox* pageBox() const { return page_; }
    QLabel* summaryLabel() const { return summary_; }
    QListWidget* changeList() const { return list_; }
    QPushButton* updateButton() const { return ok_; }

    // The key a list is most likely matched by: a mapped variable named like a barcode,
    // else variable 1 when it is mapped, else the first mapped target; -1 when none is.
    static int likelyKey(const PriceUpdate::Columns& columns, const CPatDoc& doc);

private:
    void plan();

    const CPatDoc& doc_;
    const TableSheet& sheet_;
    int firstRow_;
    PriceUpdate::Columns columns_;
    std::unique_ptr<PriceUpdate> update_;
    QComboBox* key_ = nullptr;
    QComboBox* page_ = nullptr;
    QLabel* summary_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace pemo
