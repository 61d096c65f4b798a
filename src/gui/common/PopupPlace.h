#pragma once

#include <QPoint>
#include <QSize>
#include <optional>

class QWidget;

namespace pemo {

// Where popups open: under the toolbar button of their command, and whole on the screen.
class PopupPlace {
public:
    // The top-left corner for a window of `size` wanted at `at` (screen coordinates),
    // moved by as little as it takes to lie whole in the available area of the screen
    // that holds `at` (its top-left corner wins when the window is larger than that).
    static QPoint onScreen(QPoint at, QSize size);
    // The screen point dx pixels right of a visible button's left edge and dy pixels
    // below its bottom edge; none when there is no button or it is not shown (its
    // toolbar is hidden).
    static std::optional<QPoint> under(const QWidget* button, int dx, int dy);
};

}  // namespace pemo
