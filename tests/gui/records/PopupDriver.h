#pragma once

// Drives the grid's modal popups: the action runs once the popup is showing, and a
// popup still open afterwards is cancelled so a test never hangs on it.
#include <QApplication>
#include <QTimer>
#include <functional>

namespace pemo::test {

template <class Popup>
class PopupDriver {
public:
    explicit PopupDriver(std::function<void(Popup&)> action) {
        QTimer::singleShot(0, [this, action] {
            Popup* popup = find();
            if (!popup)
                return;
            opened = true;
            action(*popup);
            if (popup->isVisible()) {
                leftOpen = true;
                popup->reject();
            }
        });
    }

    bool opened = false;
    bool leftOpen = false;

private:
    static Popup* find() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<Popup*>(w); p && p->isVisible())
                return p;
        }
        return nullptr;
    }
};

}  // namespace pemo::test
