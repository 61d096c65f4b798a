#pragma once

#include <QWidget>
#include <functional>

class QAction;
class QToolButton;

namespace pemo {

// A toolbar button with a drop-down arrow beside it: the button runs its command, the
// arrow its own action (a popup under the button, or a dialog).
class DropDownButton : public QWidget {
    Q_OBJECT
public:
    DropDownButton(QAction* command, std::function<void()> onArrow, QWidget* parent = nullptr);

    QToolButton* button() const { return button_; }
    QToolButton* arrow() const { return arrow_; }
    void setFace(const QIcon& icon);

private:
    QToolButton* button_;
    QToolButton* arrow_;
};

}  // namespace pemo
