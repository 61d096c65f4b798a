#pragma once

#include <QWidget>

namespace pemo {

class CPatView;

// The page window inside the design view: its size and position are the page's
// on-screen rectangle. It paints the current record's page with the view's settings:
// white, the background stretched over the whole page, the alignment grid, then the
// blocks layer by layer.
class CPatCanvas : public QWidget {
    Q_OBJECT
public:
    explicit CPatCanvas(CPatView& view, QWidget* parent = nullptr);

    // Repaints the whole page and lets the frame update its status bar.
    void refresh();

    // The draw flags the blocks get: frame lines, selection tool, in-place editing.
    int drawFlags() const;

    // Paints the page onto a painter whose origin is the page's top-left corner.
    void paintPage(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintGrid(QPainter& painter) const;

    CPatView& view_;
};

}  // namespace pemo
