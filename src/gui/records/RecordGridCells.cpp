// The record grid's cell editors: the popups of a cell and what they store.
#include <QFileInfo>

#include "CopiesPopup.h"
#include "CellTextPopup.h"
#include "PicturePopup.h"
#include "RecordGrid.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Messages.h"
#include "core/records/RecordImport.h"
#include "gui/library/CResImageLoad.h"

namespace pemo {

void RecordGrid::editCell(int index, int column) {
    InfoRecord* record = doc_.recordAt(index);
    if (!record)
        return;
    const QRect local = cellRect(index, column);
    const QRect cell(mapToGlobal(local.topLeft()), mapToGlobal(local.bottomRight()));
    const uint32_t id = geometry_.columns()[static_cast<size_t>(column)].fieldId;
    if (id == GridGeometry::kCopiesField) {
        editCopies(*record, cell);
    } else if (id == GridGeometry::kPictureField) {
        editPicture(*record, cell);
    } else if (GridGeometry::valueIndexOfField(id) >= 0) {
        editText(*record, column, cell);
    }
}

void RecordGrid::editCopies(InfoRecord& record, const QRect& cell) {
    CopiesPopup popup(record.copies, this);
    popup.placeAgainst(cell);
    if (popup.exec() != QDialog::Accepted)
        return;
    storeCopies(doc_.indexOf(&record), popup.copies());
}

void RecordGrid::editText(InfoRecord& record, int column, const QRect& cell) {
    const int value = GridGeometry::valueIndexOfColumn(column);
    CellTextPopup popup(record.value(value), this);
    popup.placeAgainst(cell);
    if (popup.exec() != QDialog::Accepted)
        return;
    storeText(doc_.indexOf(&record), column, popup.text());
    if (popup.nextMove()) moveCursor(*popup.nextMove());
}

InfoRecord& RecordGrid::appendRecord() {
    // As 信息插入 makes it.
    doc_.records.push_back(doc_.newInsertedRecord());
    doc_.setModified();
    const int index = doc_.recordCount() - 1;
    followCurrent_ = false;
    doc_.setCurrentIndex(index);
    doc_.notify(CPatDoc::Change::Records);
    followCurrent_ = true;
    return *doc_.recordAt(index);
}

bool RecordGrid::storeText(int row, int column, const QByteArray& typed) {
    // Control characters (a tab, say) never go into a value; line breaks stay. Bytes of
    // a double-byte character are never below 0x40.
    QByteArray text;
    for (const char c : typed) {
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\r' || c == '\n') text += c;
    }
    const int value = GridGeometry::valueIndexOfColumn(column);
    const InfoRecord* existing = doc_.recordAt(row);
    if (value < 0 || row < 0 || (existing ? existing->value(value) == text : text.isEmpty()))
        return false;
    editRecordOfRow(row, [&](InfoRecord& record) {
        const bool wasEmpty = record.isEmpty();
        const int copies = record.copies;
        record.takeUndoSnapshot();
        record.setValue(value, text);
        RecordImport::joinQueueWhenFilled(record, wasEmpty);
        if (record.copies != copies) emit statusChanged();
        record.refreshPlaceholder(static_cast<int32_t>(GridGeometry::fieldIdOfValue(value)),
                                  inTemplateMode() && record.current, doc_.placeholderSources());
    });
    pageEdited();
    return true;
}

void RecordGrid::editRecordOfRow(int row, const std::function<void(InfoRecord&)>& edit) {
    if (row < doc_.recordCount()) {
        edit(*doc_.recordAt(row));
        return;
    }
    // A record made in the empty row and its first value are one step of 撤消.
    doc_.listHistory().record(QString::fromUtf8("信息插入"), {}, [&] { edit(appendRecord()); });
}

void RecordGrid::storeCopies(int row, int copies) {
    if (row < 0 || (row >= doc_.recordCount() && copies == InfoRecord().copies))
        return;
    // Copies take no undo snapshot and leave the document unmodified.
    editRecordOfRow(row, [copies](InfoRecord& record) { record.copies = copies; });
    emit statusChanged();
    update();
}

void RecordGrid::editPicture(InfoRecord& record, const QRect& cell) {
    PicturePopup popup(this);
    popup.placeAgainst(cell);
    const PicturePopup::Choice choice = popup.choose();
    if (choice == PicturePopup::Cancelled)
        return;
    if (choice == PicturePopup::ChoosePicture) {
        const QString path =
            choosePictureFile
                ? choosePictureFile()
                : CResImageLoad::choose(this);
        if (!path.isEmpty()) {
            bool ok = true;
            const QByteArray name = Gbk::fromUnicode(QFileInfo(path).completeBaseName(), &ok);
            record.takeUndoSnapshot();
            if (!record.setProductPicture(
                    PictureDescription::ofFile(path, PictureDescription::LibraryPicture,
                                               QByteArray(), ok ? name : QByteArray("?")),
                    doc_.images)) {
                Messages::current().inform(QString::fromUtf8("无法复制图片文件 %1。").arg(path));
            }
        }
    } else {
        record.takeUndoSnapshot();
        record.setProductPicture(PictureDescription(), doc_.images);
    }
    // Marked modified even when the file dialog was cancelled.
    pageEdited();
}

void RecordGrid::pageEdited() {
    doc_.setModified();
    doc_.notify(CPatDoc::Change::Page);
    update();
}

}  // namespace pemo
