#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "core/document/CPatDoc.h"
#include "core/records/GridGeometry.h"

class QMenu;
class QScrollBar;

namespace pemo {

// 信息编辑: every record of the document as one row, one column per value. A click on
// a row makes its record current; a click on a cell of the current row opens the
// cell's popup editor. The grid keeps no copy of the records and reads them on every
// paint.
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

    int scrollPosition() const;
    QScrollBar* scrollBar() const { return scrollBar_; }
    const GridGeometry& geometry() const { return geometry_; }
    // A cell's rectangle in widget coordinates (right and bottom inclusive).
    QRect cellRect(int record, int column) const;
    // Builds the right-click menu afresh for the current state.
    QMenu* rebuildContextMenu();

    QSize sizeHint() const override;

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

private:
    void layoutColumns();
    void setScrollRange();
    void bringIntoView(int index, int rows);
    void paintBitmap();
    void paintBackground(QPainter& painter);
    void paintRows(QPainter& painter);
    QString cellText(const InfoRecord& record, int index, int column) const;
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
    // A click on another row makes it current without scrolling.
    bool followCurrent_ = true;
};

}  // namespace pemo
