#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <QVector>

#include "core/library/ThumbnailGeometry.h"

namespace pemo {

class ThumbnailCache;

// The scrolling list of thumbnails the library panels show: one row per entry, the
// picture fitted into its box and a caption below, the selected row olive and the
// others navy. The scroll position is the index of the first visible entry.
class ThumbnailList : public QAbstractScrollArea {
    Q_OBJECT
public:
    struct Entry {
        QString caption;
        QString picture;  // the file the thumbnail shows
    };

    explicit ThumbnailList(ThumbnailCache& cache, QWidget* parent = nullptr);

    // Replaces the entries; the first is selected (none when empty) and the list
    // scrolls to the top.
    void setEntries(const QVector<Entry>& entries);
    const QVector<Entry>& entries() const { return entries_; }
    int count() const { return int(entries_.size()); }
    // Replaces one entry, keeping the selection and the scroll position.
    void setEntry(int index, const Entry& entry);

    int selected() const { return selected_; }
    void setSelected(int index);

    int scrollPosition() const { return position_; }
    int scrollMaximum() const { return geometry().scrollMaximum(count()); }
    // Clamped to 0 … scrollMaximum().
    void scrollTo(int position);

    ThumbnailGeometry geometry() const;
    // The entry whose thumbnail lies under a viewport point, or -1.
    int entryAt(QPoint point) const;
    // The thumbnails of the visible entries that are still being decoded.
    int pendingThumbnails() const;

signals:
    void clicked(int index);
    void doubleClicked(int index);
    // A right click at a global position; index is the entry under it or -1.
    void contextMenuRequested(QPoint globalPosition, int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateScrollBar();

    ThumbnailCache& cache_;
    QVector<Entry> entries_;
    int selected_ = -1;
    int position_ = 0;
    bool settingBar_ = false;
};

}  // namespace pemo
