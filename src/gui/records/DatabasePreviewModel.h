#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "core/records/CellTable.h"

namespace pemo {

// The rows a database preview found, one column per target, each cell shown as its first
// 30 bytes. The cells are decoded only when a view asks for them, so twenty thousand rows
// cost no more than the visible ones.
class DatabasePreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPreviewBytes = 30;

    explicit DatabasePreviewModel(QStringList captions, QObject* parent = nullptr);

    void setTable(CellTable table);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList captions_;
    CellTable table_;
};

}  // namespace pemo
