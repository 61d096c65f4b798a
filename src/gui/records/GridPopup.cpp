#include "GridPopup.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QToolButton>

#include "core/records/GridGeometry.h"

namespace pemo {

namespace {

QIcon markIcon(bool accept) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (accept) {
        p.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(4, 10);
        tick.lineTo(8, 15);
        tick.lineTo(16, 5);
        p.drawPath(tick);
    } else {
        p.setPen(QPen(QColor(192, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(5, 5, 15, 15);
        p.drawLine(15, 5, 5, 15);
    }
    return QIcon(pixmap);
}

}  // namespace

GridPopup::GridPopup(QWidget* parent) : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint) {}

void GridPopup::placeAgainst(const QRect& cell) {
    adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(cell.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1 << 20, 1 << 20);
    move(GridGeometry::popupPosition(cell, size(), screenSize));
}

QAbstractButton* GridPopup::makeImageButton(bool accept) {
    auto* button = new QToolButton(this);
    button->setIcon(markIcon(accept));
    button->setIconSize(QSize(20, 20));
    button->setFixedSize(24, 24);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, accept ? &QDialog::accept : &QDialog::reject);
    return button;
}

}  // namespace pemo
