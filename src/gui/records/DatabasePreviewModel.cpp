#include "DatabasePreviewModel.h"

#include "core/codecs/Gbk.h"
#include "core/records/RecordImport.h"

namespace pemo {

DatabasePreviewModel::DatabasePreviewModel(QStringList captions, QObject* parent)
    : QAbstractTableModel(parent), captions_(std::move(captions)) {}

void DatabasePreviewModel::setTable(CellTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

void DatabasePreviewModel::clear() { setTable(CellTable()); }

int DatabasePreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(table_.rows.size());
}

int DatabasePreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(captions_.size());
}

QVariant DatabasePreviewModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
    const auto& row = table_.rows.at(size_t(index.row()));
    if (size_t(index.column()) >= row.size()) return QVariant();
    return Gbk::toUnicode(RecordImport::cutText(row[size_t(index.column())], kPreviewBytes));
}

QVariant DatabasePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal) {
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return section + 1;
    return captions_.value(section);
}

}  // namespace pemo
