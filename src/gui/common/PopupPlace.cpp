#include "PopupPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace pemo {

QPoint PopupPlace::onScreen(QPoint at, QSize size) {
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return at;
    const QRect area = screen->availableGeometry();
    const int x = std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height()));
    return {x, y};
}

std::optional<QPoint> PopupPlace::under(const QWidget* button, int dx, int dy) {
    if (!button || !button->isVisible()) return std::nullopt;
    return button->mapToGlobal(QPoint(dx, button->height() + dy));
}

}  // namespace pemo
