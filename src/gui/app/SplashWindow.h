#pragma once

#include <QPixmap>
#include <QWidget>

namespace pemo {

// The start-up picture: centred on the screen, hidden after 3000 ms or at once by any
// mouse press or key press that reaches the application.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // Shows the splash when the picture exists; returns it, or null (no splash).
    static SplashWindow* showSplash(const QString& picturePath);

    static constexpr int kTimeoutMs = 3000;

    // Puts the splash above windows shown after it.
    void bringToFront();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SplashWindow(const QPixmap& picture);
    void hideSplash();

    QPixmap picture_;
    bool hidden_ = false;
};

}  // namespace pemo
