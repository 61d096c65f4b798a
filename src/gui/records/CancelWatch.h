#pragma once

#include <QElapsedTimer>

class QProgressDialog;

namespace pemo {

// Lets a long step on the interface thread be cancelled from a progress dialog: asked
// often, it lets the window handle its events every 50 ms and tells whether the
// dialog's 取消 was pressed.
class CancelWatch {
public:
    explicit CancelWatch(QProgressDialog& progress);
    bool operator()();

private:
    QProgressDialog* progress_;
    QElapsedTimer clock_;
};

}  // namespace pemo
