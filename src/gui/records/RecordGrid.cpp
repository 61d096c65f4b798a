#include "RecordGrid.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>

#include "CellEditor.h"
#include "CellTextPopup.h"
#include "CopiesPopup.h"
#include "PicturePopup.h"
#include "core/records/GridPaste.h"
#include "core/records/RecordImport.h"
#include "core/platform/Messages.h"
#include "core/codecs/Gbk.h"
#include "core/document/RecordCommands.h"
#include "core/text/FontFaces.h"
#include "gui/library/CResImageLoad.h"

namespace pemo {

namespace {

namespace RC = RecordCommand;

constexpr int kPrintList = 34115;  // 信息打印
constexpr int kCustomPageSize = 34410;

struct PageSize {
    int id;
    const char* text;
    int widthMm, heightMm;
};
constexpr PageSize kPageSizes[] = {{34405, "A4幅面", 190, 280},
                                   {34406, "A3幅面", 280, 400},
                                   {34407, "A2幅面", 400, 580},
                                   {34408, "A1幅面", 580, 820},
                                   {34409, "A0幅面", 820, 1170}};

// The current record's cells: a fine diagonal hatch over a pale blue.
QBrush currentRecordBrush() {
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(QColor(214, 230, 255));
    for (int i = 0; i < 8; ++i)
        tile.setPixelColor((i + 4) % 8, i, QColor(160, 190, 240));
    return QBrush(tile);
}

// Value index of a variable or price column, or -1.
int valueIndexOf(uint32_t fieldId) {
    if (fieldId >= GridGeometry::kFirstVariableField &&
        fieldId < GridGeometry::kFirstVariableField + 10) {
        return static_cast<int>(fieldId - GridGeometry::kFirstVariableField);
    }
    if (fieldId >= GridGeometry::kOriginalPriceField && fieldId <= GridGeometry::kDiscountField) {
        return InfoRecord::kOriginalPrice +
               static_cast<int>(fieldId - GridGeometry::kOriginalPriceField);
    }
    return -1;
}

}  // namespace

RecordGrid::RecordGrid(CPatDoc& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), geometry_(doc.variableNames) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    currentBrush_ = currentRecordBrush();
    font_ = FontFaces::font(Gbk::fromUnicode(QString::fromUtf8("宋体")), 12, false, false);
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(2);
    scrollBar_->setRange(0, 0);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this] {
        placeEditor();
        update();
    });
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    editor_ = new CellEditor(this);
    editor_->setFont(font_);
    connect(editor_, &CellEditor::finished, this, &RecordGrid::finishEdit);
    connect(editor_, &CellEditor::cancelled, this, &RecordGrid::cancelEdit);
    connect(editor_, &CellEditor::left, this, [this] {
        if (!finishing_ && isEditing()) finishEdit(false, GridCursor::Move::Enter);
    });
    cursor_.place(std::max(0, doc_.currentIndex()), GridCursor::kStartColumn, doc_.recordCount());
    layoutColumns();
}

RecordGrid::~RecordGrid() = default;

QSize RecordGrid::sizeHint() const {
    return QSize(800, 28 + 8 * GridGeometry::kRowHeight);
}

int RecordGrid::scrollPosition() const {
    return scrollBar_->value();
}

void RecordGrid::layoutColumns() {
    const int barWidth = scrollBar_->sizeHint().width();
    scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
    geometry_.resize(std::max(0, width() - barWidth), height());
}

void RecordGrid::resizeEvent(QResizeEvent*) {
    layoutColumns();
    refreshScroll();
    placeEditor();
}

void RecordGrid::setScrollRange() {
    // The empty row after the last record is scrolled to only while it is selected.
    const int count = doc_.recordCount();
    const int rows = cursor_.row() >= count || editRow_ >= count ? count + 1 : count;
    scrollBar_->setRange(0, GridGeometry::scrollMaximum(rows, geometry_.rowsThatFit()));
}

void RecordGrid::bringIntoView(int index, int rows) {
    if (index < 0 || GridGeometry::isInView(index, scrollPosition(), rows))
        return;
    scrollBar_->setValue(GridGeometry::centredScroll(index, doc_.recordCount(), rows));
}

void RecordGrid::refreshScroll() {
    setScrollRange();
    bringIntoView(doc_.currentIndex(), geometry_.rowsThatFit());
    update();
}

void RecordGrid::selectRecord(int index) {
    if (!doc_.recordAt(index))
        return;
    followCurrent_ = false;
    cursor_.placeRow(index, doc_.recordCount());
    doc_.setCurrentIndex(index);
    followCurrent_ = true;
    bringIntoView(index, visibleRowCount());
    update();
}

void RecordGrid::renameVariableColumns() {
    geometry_.renameVariableColumns(doc_.variableNames);
    update();
    emit columnsRenamed();
}

void RecordGrid::markRecords(QSet<const InfoRecord*> records) {
    marked_ = std::move(records);
    update();
}

// A mark must not pass to a new record that happens to take a deleted one's place.
void RecordGrid::forgetDeletedMarks() {
    QSet<const InfoRecord*> alive;
    for (const auto& record : doc_.records) {
        if (marked_.contains(record.get())) alive.insert(record.get());
    }
    marked_ = std::move(alive);
}

void RecordGrid::documentChanged(CPatDoc::Change change) {
    if (change == CPatDoc::Change::Records || change == CPatDoc::Change::CurrentRecord) {
        // Another command moved the current record or changed the list: the cell follows.
        if (!finishing_ && isEditing()) cancelEdit();
        if (!pasting_ && change == CPatDoc::Change::Records) {
            lastPaste_.reset();
            undonePaste_.reset();
        }
        // The grid's own moves have put the cell already; long lists are not walked
        // again for them.
        const int current = followCurrent_ ? doc_.currentIndex() : -1;
        const int count = doc_.recordCount();
        if (current >= 0 && current != cursor_.row())
            cursor_.placeRow(current, count);
        else if (cursor_.row() > count)
            cursor_.placeRow(count, count);
        if (change == CPatDoc::Change::CurrentRecord) {
            if (current >= 0)
                bringIntoView(current, visibleRowCount());
            update();
            return;
        }
    }
    switch (change) {
        case CPatDoc::Change::Records:
            if (!marked_.isEmpty()) forgetDeletedMarks();
            // An opened document brings its own variable names.
            geometry_.renameVariableColumns(doc_.variableNames);
            emit columnsRenamed();
            refreshScroll();
            break;
        case CPatDoc::Change::CurrentRecord:
        case CPatDoc::Change::Page:
        case CPatDoc::Change::Modified:
            update();
            break;
    }
}

QRect RecordGrid::cellRect(int record, int column) const {
    return geometry_.cellRect(record, column, scrollPosition());
}

// ---- painting ----

void RecordGrid::paintEvent(QPaintEvent*) {
    paintBitmap();
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap_);
}

void RecordGrid::paintBitmap() {
    const QSize size = QSize(geometry_.width(), geometry_.height()).expandedTo(QSize(1, 1));
    const qreal ratio = devicePixelRatioF();
    if (bitmap_.deviceIndependentSize().toSize() != size || bitmap_.devicePixelRatio() != ratio) {
        bitmap_ = QImage(size * ratio, QImage::Format_RGB32);
        bitmap_.setDevicePixelRatio(ratio);
        bitmap_.fill(Qt::white);
    }
    QPainter painter(&bitmap_);
    painter.setFont(font_);
    paintBackground(painter);
    paintRows(painter);
    paintCursor(painter);
}

void RecordGrid::paintBackground(QPainter& painter) {
    const int w = geometry_.width();
    const QColor ground = palette().color(QPalette::Window);
    painter.fillRect(0, 0, w, geometry_.height(), ground);

    painter.setPen(Qt::black);
    const int right = geometry_.rightBorder();
    const int lines = geometry_.rowsThatFit() + 1;
    painter.drawLine(2, GridGeometry::kHeaderTop, right, GridGeometry::kHeaderTop);
    int bottom = GridGeometry::kHeaderBottom;
    for (int i = 0; i < lines; ++i) {
        bottom = GridGeometry::kHeaderBottom + GridGeometry::kRowHeight * i;
        painter.drawLine(2, bottom, right, bottom);
    }
    painter.drawLine(2, GridGeometry::kHeaderTop, 2, bottom);
    painter.drawLine(right, GridGeometry::kHeaderTop, right, bottom);

    const auto& columns = geometry_.columns();
    for (size_t i = 0; i < columns.size(); ++i) {
        const GridColumn& c = columns[i];
        // A raised cell; its right and bottom edges are exclusive.
        const int x0 = c.left + 1;
        const int x1 = i + 1 == columns.size() ? right : c.left + 1 + c.width;
        const int y0 = 3;
        const int y1 = GridGeometry::kHeaderBottom;
        if (x1 > x0) {
            painter.fillRect(x0, y0, x1 - x0, y1 - y0, ground);
            painter.setPen(Qt::white);
            painter.drawLine(x0, y0, x1 - 1, y0);
            painter.drawLine(x0, y0, x0, y1 - 1);
            painter.setPen(Qt::black);
            painter.drawLine(x0, y1 - 1, x1 - 1, y1 - 1);
            painter.drawLine(x1 - 1, y0, x1 - 1, y1 - 1);
            painter.setPen(QColor(0x80, 0x80, 0x80));
            painter.drawLine(x0 + 1, y1 - 2, x1 - 2, y1 - 2);
            painter.drawLine(x1 - 2, y0 + 1, x1 - 2, y1 - 2);
            painter.setPen(Qt::black);
            drawCellText(painter, QRect(x0, y0, x1 - x0, y1 - y0), c.caption, true);
        }
        painter.setPen(Qt::black);
        painter.drawLine(c.left, GridGeometry::kHeaderTop, c.left, bottom);
    }
}

void RecordGrid::drawCellText(QPainter& painter, const QRect& cell, const QByteArray& text,
                              bool centred) {
    // Laying a text out costs far more than drawing it, and a page of rows repeats few
    // texts: each is laid out once and kept.
    auto it = textCache_.find(text);
    if (it == textCache_.end()) {
        if (textCache_.size() > 4000)
            textCache_.clear();
        QString line = Gbk::toUnicode(text);
        line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        QStaticText laidOut(line);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), font_);
        it = textCache_.insert(text, laidOut);
    }
    const QSizeF size = it->size();
    const qreal x = centred ? cell.left() + (cell.width() - size.width()) / 2 : cell.left();
    const qreal y = cell.top() + (cell.height() - size.height()) / 2;
    // Only a text wider than its cell needs clipping.
    if (size.width() <= cell.width()) {
        painter.drawStaticText(QPointF(x, y), *it);
        return;
    }
    painter.setClipRect(cell);
    painter.drawStaticText(QPointF(cell.left(), y), *it);
    painter.setClipping(false);
}

QByteArray RecordGrid::cellText(const InfoRecord& record, int index, int column) const {
    const uint32_t id = geometry_.columns()[static_cast<size_t>(column)].fieldId;
    if (id == GridGeometry::kIndexField)
        return QByteArray::number(index);
    if (id == GridGeometry::kCopiesField)
        return QByteArray::number(record.copies);
    if (id == GridGeometry::kPictureField)
        return record.productPicture.isEmpty() ? QByteArray() : QByteArray("\xcd\xbc\xc6\xac");  // 图片
    const int value = valueIndexOf(id);
    return value >= 0 ? record.value(value) : QByteArray();
}

void RecordGrid::paintRows(QPainter& painter) {
    const int rows = visibleRowCount();
    const int scroll = scrollPosition();
    const auto& columns = geometry_.columns();
    painter.setPen(Qt::black);
    for (int row = 0; row < rows; ++row) {
        const InfoRecord* record = doc_.recordAt(scroll + row);
        if (!record)
            break;
        const int top = GridGeometry::rowTop(row);
        for (int i = 0; i < GridGeometry::kColumnCount; ++i) {
            const GridColumn& c = columns[static_cast<size_t>(i)];
            if (c.width <= 1)
                continue;
            // The row's bottom line and the next column's line stay visible.
            const QRect cell(c.left + 1, top, c.width - 1, GridGeometry::kRowHeight - 1);
            if (record->current) {
                painter.fillRect(cell, currentBrush_);
            } else {
                painter.fillRect(cell, marked_.contains(record) ? QColor(255, 244, 196) : QColor(Qt::white));
            }
            const QByteArray text = cellText(*record, scroll + row, i);
            if (!text.isEmpty()) {
                drawCellText(painter, cell, text, false);
            }
        }
    }
    // The empty row after the last record, where typing makes a new one.
    const int emptyRow = doc_.recordCount() - scroll;
    if (emptyRow < 0 || emptyRow >= rows)
        return;
    const int top = GridGeometry::rowTop(emptyRow);
    for (int i = 0; i < GridGeometry::kColumnCount; ++i) {
        const GridColumn& c = columns[static_cast<size_t>(i)];
        if (c.width <= 1)
            continue;
        const QRect cell(c.left + 1, top, c.width - 1, GridGeometry::kRowHeight - 1);
        painter.fillRect(cell, Qt::white);
        if (i == 0)
            drawCellText(painter, cell, QByteArrayLiteral("*"), true);
    }
}

void RecordGrid::paintCursor(QPainter& painter) {
    const int scroll = scrollPosition();
    const int rows = visibleRowCount();
    const QRect block = cursor_.selection();
    const int first = std::max(block.top(), scroll);
    const int last = std::min({block.bottom(), scroll + rows - 1, doc_.recordCount()});
    const auto cellOf = [this, scroll](int row, int column) {
        const GridColumn& c = geometry_.columns()[static_cast<size_t>(column)];
        return QRect(c.left + 1, GridGeometry::rowTop(row - scroll), c.width - 1,
                     GridGeometry::kRowHeight - 1);
    };
    if (cursor_.hasBlock()) {
        const QColor tint(40, 100, 220, 60);
        for (int row = first; row <= last; ++row) {
            for (int column = block.left(); column <= block.right(); ++column)
                painter.fillRect(cellOf(row, column), tint);
        }
    }
    if (cursor_.row() < scroll || cursor_.row() >= scroll + rows)
        return;
    const QRect cell = cellOf(cursor_.row(), cursor_.column());
    if (cell.width() <= 0)
        return;
    // Drawn inside the cell, so the grid lines stay as they are.
    const QColor frame = hasFocus() || isEditing() ? QColor(26, 86, 196) : QColor(128, 128, 128);
    QPen pen(frame, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(cell).adjusted(1, 1, -1, -1));
    painter.setPen(Qt::black);
}

// ---- mouse ----

void RecordGrid::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        scrollBar_->setValue(scrollPosition() - steps * 3);
    event->accept();
}

void RecordGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);
    if (isEditing() && !commitEdit())
        return;
    const int count = doc_.recordCount();
    const int index = geometry_.recordAt(p, scrollPosition(), count + 1);
    if (index < 0)
        return;
    const int column = geometry_.editableColumnAt(p.x());
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    cursor_.place(index, column >= 0 ? column : cursor_.column(), count, extend);
    if (index == count || extend) {
        // The empty row is typed into, not clicked; Shift only widens the selection.
        if (index < count && index != doc_.currentIndex()) {
            followCurrent_ = false;
            doc_.setCurrentIndex(index);
            followCurrent_ = true;
        }
        update();
        return;
    }
    if (index != doc_.currentIndex()) {
        followCurrent_ = false;
        doc_.setCurrentIndex(index);
        followCurrent_ = true;
        update();
        return;
    }
    update();
    if (column >= 0)
        editCell(index, column);
}

void RecordGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    const int index = geometry_.recordAt(p, scrollPosition(), doc_.recordCount() + 1);
    const int column = geometry_.editableColumnAt(p.x());
    if (index < 0 || column < 0)
        return;
    // A double click edits in place; on the current row the first click already
    // opened the cell's popup.
    placeCursor(index, column);
    if (column == GridGeometry::kPictureColumn) {
        if (index < doc_.recordCount())
            editCell(index, column);
        return;
    }
    beginEdit(QString(), true);
}

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
    } else if (valueIndexOf(id) >= 0) {
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

InfoRecord* RecordGrid::recordForEdit(int row) {
    if (row < doc_.recordCount())
        return doc_.recordAt(row);
    // The empty row: a new record on the library's selected template, as 信息插入 makes.
    auto made = doc_.newRecord();
    made->refreshPlaceholders(false, doc_.placeholderSources());
    doc_.records.push_back(std::move(made));
    doc_.setModified();
    const int index = doc_.recordCount() - 1;
    followCurrent_ = false;
    doc_.setCurrentIndex(index);
    doc_.notify(CPatDoc::Change::Records);
    followCurrent_ = true;
    return doc_.recordAt(index);
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
    InfoRecord& record = *recordForEdit(row);
    const bool wasEmpty = record.isEmpty();
    const int copies = record.copies;
    record.takeUndoSnapshot();
    record.setValue(value, text);
    RecordImport::joinQueueWhenFilled(record, wasEmpty);
    if (record.copies != copies) emit statusChanged();
    record.refreshPlaceholder(static_cast<int32_t>(GridGeometry::fieldIdOfValue(value)),
                              inTemplateMode() && record.current, doc_.placeholderSources());
    pageEdited();
    return true;
}

void RecordGrid::storeCopies(int row, int copies) {
    if (row < 0 || (row >= doc_.recordCount() && copies == InfoRecord().copies))
        return;
    // Copies take no undo snapshot and leave the document unmodified.
    recordForEdit(row)->copies = copies;
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

// ---- context menu ----

QMenu* RecordGrid::rebuildContextMenu() {
    delete menu_;
    menu_ = new QMenu(this);
    RecordCommands commands(doc_);
    RecordCommandContext context;
    context.visibleRowCount = visibleRowCount();
    context.templateMode = inTemplateMode();
    const auto available = [this](int id) { return commandAvailable && commandAvailable(id); };
    const auto add = [&](int id, const char* text, bool enabled) {
        QAction* action = menu_->addAction(QString::fromUtf8(text));
        action->setData(id);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, id] { emit commandRequested(id); });
        return action;
    };
    const auto record = [&](int id, const char* text) {
        return add(id, text, commands.isEnabled(id, context));
    };
    record(RC::InsertFirst, "信息插入");
    record(RC::Delete, "信息删除");
    record(RC::Clear, "信息清除");
    menu_->addSeparator();
    record(RC::DeleteEmpty, "删除空信息");
    menu_->addSeparator();
    record(RC::SetCurrentPrint, "设置当前信息打印");
    record(RC::CancelCurrentPrint, "取消当前信息打印");
    menu_->addSeparator();
    record(RC::QueueAll, "全选打印队列");
    record(RC::QueueNone, "清空打印队列");
    menu_->addSeparator();
    add(kPrintList, "信息打印", doc_.recordCount() >= 1 && available(kPrintList));
    menu_->addSeparator();
    record(RC::First, "第一条信息");
    record(RC::Last, "最后一条信息");
    record(RC::PreviousGroup, "前一组信息");
    record(RC::NextGroup, "下一组信息");
    menu_->addSeparator();
    const InfoRecord* current = doc_.currentRecord();
    bool standard = false;
    for (const PageSize& size : kPageSizes) {
        QAction* action = add(size.id, size.text, available(size.id));
        const bool ticked =
            current && current->widthMm == size.widthMm && current->heightMm == size.heightMm;
        action->setCheckable(true);
        action->setChecked(ticked);
        standard = standard || ticked;
    }
    menu_->addSeparator();
    QAction* custom = add(kCustomPageSize, "自定义幅面", available(kCustomPageSize));
    custom->setCheckable(true);
    custom->setChecked(current && !standard);
    return menu_;
}

void RecordGrid::contextMenuEvent(QContextMenuEvent* event) {
    rebuildContextMenu()->popup(event->globalPos());
}

}  // namespace pemo
