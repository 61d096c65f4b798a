#pragma once

#include <QByteArray>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "core/document/CPatDoc.h"

class QLabel;
class QPushButton;

namespace pemo {

// A quiet offer in the status bar: once the design of the record shown has changed while
// other records exist, "应用到所有信息" stands there to put it on every record. It goes
// away when another record is shown or the list changes (the design put on all, say).
class DesignHint : public QWidget {
    Q_OBJECT
public:
    DesignHint(CPatDoc& doc, QWidget* parent);

    // Runs the command; set by the frame.
    std::function<void()> apply;

    // From the document's notifications: a new record shown or a new list takes the
    // design as it is now as the one to compare with.
    void documentChanged(CPatDoc::Change change);
    // After an edit of the page: compares a moment later, once edits settle.
    void pageEdited();
    // Compares now.
    void check();

private:
    QByteArray currentDesign() const;
    void restart();

    CPatDoc& doc_;
    QTimer timer_;
    QPushButton* button_ = nullptr;
    QByteArray baseline_;
    uint64_t serial_ = 0;
};

}  // namespace pemo
