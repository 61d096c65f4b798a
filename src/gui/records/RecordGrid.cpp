#include "RecordGrid.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "CellEditor.h"
#include "core/codecs/Gbk.h"
#include "core/document/RecordCommands.h"
#include "core/text/FontFaces.h"

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
