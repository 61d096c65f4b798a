#pragma once

#include <QHash>
#include <QSet>
#include <QImage>
#include <QStaticText>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/document/CPatDoc.h"
#include "core/records/GridCursor.h"
#include "core/records/GridGeometry.h"

class QMenu;
class QScrollBar;

namespace pemo {

class CellEditor;
class GridPaste;

// 信息编辑: every record of the document as one row, one column per value. A click on
// a row makes its record current; a click on a cell of the current row opens the
// cell's popup editor. The keyboard moves a selected cell (its row is the current
// record), types into it in place, and copies and pastes blocks of cells as a
// spreadsheet does; typing in the empty row after the last record makes a new record.
// The grid keeps no copy of the records and reads them on every paint.
class RecordGrid : public QWidget {
    Q_OBJECT
public:
    explicit RecordGrid(CPatDoc& doc, QWidget* parent = nullptr);
    ~RecordGrid() override;

    // Makes the record current and scrolls it into view; an index outside the list
    // does nothing.
    void selectRecord(int index);
    // After the record list changed: new scroll range, current record into view.
    void refreshScroll();
    // Rows shown, at least 1: the step of 前一组/下一组.
    int visibleRowCount() const { return geometry_.visibleRowCount(); }
    // Column captions from the document's variable names.
    void renameVariableColumns();
    // The document's one notification, passed on by the frame.
    void documentChanged(CPatDoc::Change change);
    // Rows drawn on a tinted ground (the records the last price update changed or added),
    // until the next call.
    void markRecords(QSet<const InfoRecord*> records);
    const QSet<const InfoRecord*>& markedRecords() const { return marked_; }

    int scrollPosition() const;
    QScrollBar* scrollBar() const { return scrollBar_; }
    const GridGeometry& geometry() const { return geometry_; }
    // A cell's rectangle in widget coordinates (right and bottom inclusive).
    QRect cellRect(int record, int column) const;
    // Builds the right-click menu afresh for the current state.
    QMenu* rebuildContextMenu();

    QSize sizeHint() const override;

    // The selected cell and block; row recordCount() is the empty row after the last.
    const GridCursor& cursor() const { return cursor_; }
    void moveCursor(GridCursor::Move move, bool extend = false);
    // Selects a cell as a click would, without opening anything.
    void placeCursor(int row, int column, bool extend = false);
    // Starts typing in place into the selected cell: with text replacing its value, or
    // with the value itself (F2). False for cells that cannot be typed into.
    bool beginEdit(const QString& text, bool keepValue);
    bool isEditing() const { return editRow_ >= 0; }
    CellEditor* cellEditor() const { return editor_; }
    // Ends the edit in place as Enter would, without moving; false when it was refused.
    bool commitEdit();
    // The selected cells as tab-separated text on the clipboard.
    void copyCells();
    // A block of cells from the clipboard into the records from the selected cell.
    void pasteCells();
    // Empties the selected value cells, in one undo step.
    void clearCells();

    // Set by the frame: the view's 模板方式, and whether a command outside the record
    // list (信息打印, the page sizes) can run yet.
    std::function<bool()> templateMode;
    std::function<bool(int id)> commandAvailable;
    // Picks a picture file for the 商品图片 choice; a file dialog when not set.
    std::function<QString()> choosePictureFile;

signals:
    // A command from the right-click menu, for the frame to run.
    void commandRequested(int id);
    // The print queue changed (copies); the status bar shows its counts.
    void statusChanged();
    void columnsRenamed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void layoutColumns();
    void setScrollRange();
    void bringIntoView(int index, int rows);
    void paintBitmap();
    void paintBackground(QPainter& painter);
    void paintRows(QPainter& painter);
    void paintCursor(QPainter& painter);
    void drawCellText(QPainter& painter, const QRect& cell, const QByteArray& text, bool centred);
    bool isGridKey(const QKeyEvent* key) const;
    // Makes the cursor's row current (a record row) and scrolls it into view.
    void followCursor();
    void scrollToRow(int row);
    // A change of the records' values made here: modified, page and grid repainted.
    void valuesEdited();
    // A new record after the last, for the empty row; it becomes current.
    InfoRecord& appendRecord();
    // Makes a committed edit on the row's record; in the empty row (recordCount()) on a
    // new record, which is one step of the list's history with the edit.
    void editRecordOfRow(int row, const std::function<void(InfoRecord&)>& edit);
    bool storeText(int row, int column, const QByteArray& text);
    void storeCopies(int row, int copies);
    void finishEdit(bool hasMove, GridCursor::Move move);
    void cancelEdit();
    void placeEditor();
    void runPaste(std::unique_ptr<GridPaste> paste);
    // The cell's text as GBK.
    QByteArray cellText(const InfoRecord& record, int index, int column) const;
    void editCell(int index, int column);
    void editCopies(InfoRecord& record, const QRect& cell);
    void editText(InfoRecord& record, int column, const QRect& cell);
    void editPicture(InfoRecord& record, const QRect& cell);
    void pageEdited();
    bool inTemplateMode() const { return templateMode && templateMode(); }

    CPatDoc& doc_;
    GridGeometry geometry_;
    QScrollBar* scrollBar_ = nullptr;
    QMenu* menu_ = nullptr;
    QImage bitmap_;
    QBrush currentBrush_;
    QFont font_;
    // Texts as laid out for drawing, by their GBK bytes.
    QHash<QByteArray, QStaticText> textCache_;
    // A click on another row makes it current without scrolling.
    bool followCurrent_ = true;
    GridCursor cursor_;
    CellEditor* editor_ = nullptr;
    int editRow_ = -1;
    int editColumn_ = -1;
    bool finishing_ = false;   // an edit is being stored; its own changes end nothing
    void forgetDeletedMarks();
    QSet<const InfoRecord*> marked_;
};

}  // namespace pemo
