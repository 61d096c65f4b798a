#include "SplashWindow.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace pemo {

SplashWindow* SplashWindow::showSplash(const QString& picturePath) {
    const QPixmap picture(picturePath);
    if (picture.isNull()) return nullptr;
    auto* splash = new SplashWindow(picture);
    splash->show();
    return splash;
}

SplashWindow::SplashWindow(const QPixmap& picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(picture) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(picture_.deviceIndependentSize().toSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    qApp->installEventFilter(this);
    QTimer::singleShot(kTimeoutMs, this, &SplashWindow::hideSplash);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

bool SplashWindow::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            hideSplash();
            break;
        default:
            break;
    }
    return false;
}

void SplashWindow::bringToFront() {
    if (hidden_) return;
    QWidget::hide();
    show();
    raise();
}

void SplashWindow::hideSplash() {
    if (hidden_) return;
    hidden_ = true;
    qApp->removeEventFilter(this);
    close();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible()) w->update();
    }
}

}  // namespace pemo
