#include "ThumbnailList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "ThumbnailCache.h"
#include "core/codecs/Gbk.h"
#include "core/text/FontFaces.h"

namespace pemo {

namespace {

const QColor kSelectedRow(0x80, 0x80, 0x00);
const QColor kRow(0x00, 0x00, 0x80);

}  // namespace

ThumbnailList::ThumbnailList(ThumbnailCache& cache, QWidget* parent)
    : QAbstractScrollArea(parent), cache_(cache) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Page up and down move two entries, the arrows one.
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(2);
    connect(&cache_, &ThumbnailCache::ready, viewport(), [this](const QString& path) {
        const int last = std::min(count(), position_ + geometry().visibleRows());
        for (int i = position_; i < last; ++i) {
            if (entries_.at(i).picture == path) {
                viewport()->update();
                return;
            }
        }
    });
}

ThumbnailGeometry ThumbnailList::geometry() const {
    ThumbnailGeometry g;
    g.width = viewport()->width();
    g.height = viewport()->height();
    return g;
}

void ThumbnailList::setEntries(const QVector<Entry>& entries) {
    entries_ = entries;
    selected_ = entries_.isEmpty() ? -1 : 0;
    position_ = 0;
    updateScrollBar();
    viewport()->update();
}

void ThumbnailList::setEntry(int index, const Entry& entry) {
    if (index < 0 || index >= count())
        return;
    entries_[index] = entry;
    viewport()->update();
}

void ThumbnailList::setSelected(int index) {
    if (index < -1 || index >= count() || index == selected_)
        return;
    selected_ = index;
    viewport()->update();
}

void ThumbnailList::scrollTo(int position) {
    position = std::clamp(position, 0, scrollMaximum());
    if (position == position_)
        return;
    position_ = position;
    updateScrollBar();
    viewport()->update();
}

void ThumbnailList::updateScrollBar() {
    settingBar_ = true;
    verticalScrollBar()->setRange(0, scrollMaximum());
    verticalScrollBar()->setValue(position_);
    settingBar_ = false;
}

void ThumbnailList::scrollContentsBy(int, int) {
    if (settingBar_)
        return;
    position_ = std::clamp(verticalScrollBar()->value(), 0, scrollMaximum());
    viewport()->update();
}

int ThumbnailList::entryAt(QPoint point) const {
    const ThumbnailGeometry g = geometry();
    const int rows = g.visibleRows();
    for (int row = 0; row < rows && position_ + row < count(); ++row) {
        if (g.thumbnailRect(row).contains(point))
            return position_ + row;
    }
    return -1;
}

int ThumbnailList::pendingThumbnails() const {
    const ThumbnailGeometry g = geometry();
    const QSize box = g.thumbnailRect(0).size();
    int pending = 0;
    const int last = std::min(count(), position_ + g.visibleRows());
    for (int i = position_; i < last; ++i) {
        if (cache_.isPending(entries_.at(i).picture, box))
            ++pending;
    }
    return pending;
}

void ThumbnailList::paintEvent(QPaintEvent*) {
    const ThumbnailGeometry g = geometry();
    const QColor face = palette().color(QPalette::Button);
    // Drawn off screen and copied in one piece, so a repaint never flickers.
    QPixmap buffer(viewport()->size());
    buffer.fill(face);
    QPainter painter(&buffer);
    // The caption's characters fit its 14-pixel height whatever the screen's resolution.
    static const QFont captionFont = [] {
        QFont font = FontFaces::font(Gbk::fromUnicode(QString::fromUtf8("宋体")), 12, false, false);
        font.setPixelSize(12);
        return font;
    }();
    painter.setFont(captionFont);
    painter.setPen(Qt::black);
    const QSize box = g.thumbnailRect(0).size();
    cache_.beginPaint();
    const int rows = g.visibleRows();
    for (int row = 0; row < rows && position_ + row < count(); ++row) {
        const int index = position_ + row;
        const bool selected = index == selected_;
        painter.fillRect(g.rowRect(row), selected ? kSelectedRow : kRow);
        const QRect thumb = g.thumbnailRect(row);
        painter.fillRect(thumb, face);
        const QRect caption = g.captionRect(row);
        painter.fillRect(caption, selected ? QColor(Qt::white) : face);
        const QImage image = cache_.thumbnail(entries_.at(index).picture, box);
        if (!image.isNull())
            painter.drawImage(fitRect(image.size(), thumb), image);
        // A long name is cut short with "…" rather than at the caption's edges.
        const QString text = painter.fontMetrics().elidedText(entries_.at(index).caption,
                                                              Qt::ElideRight, caption.width());
        painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
    cache_.endPaint();
    painter.end();
    QPainter(viewport()).drawPixmap(0, 0, buffer);
}

void ThumbnailList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    position_ = std::clamp(position_, 0, scrollMaximum());
    updateScrollBar();
}

void ThumbnailList::mousePressEvent(QMouseEvent* event) {
    const int index = entryAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        emit contextMenuRequested(event->globalPosition().toPoint(), index);
        return;
    }
    if (event->button() != Qt::LeftButton || index < 0)
        return;
    setSelected(index);
    emit clicked(index);
}

void ThumbnailList::mouseDoubleClickEvent(QMouseEvent* event) {
    const int index = entryAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || index < 0)
        return;
    setSelected(index);
    emit doubleClicked(index);
}

void ThumbnailList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            scrollTo(position_ - 1);
            break;
        case Qt::Key_Down:
            scrollTo(position_ + 1);
            break;
        case Qt::Key_PageUp:
            scrollTo(position_ - 2);
            break;
        case Qt::Key_PageDown:
            scrollTo(position_ + 2);
            break;
        case Qt::Key_Home:
            scrollTo(0);
            break;
        case Qt::Key_End:
            scrollTo(std::max(count(), 3));
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
    }
}

}  // namespace pemo
