// How the record grid draws itself: the header, the rows, the selected cell and block.
#include <QPainter>
#include <QStaticText>

#include "RecordGrid.h"
#include "core/codecs/Gbk.h"

namespace pemo {

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
    const int value = GridGeometry::valueIndexOfField(id);
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

}  // namespace pemo
