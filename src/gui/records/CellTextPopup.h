#pragma once

#include <QByteArray>

#include "GridPopup.h"

class QPlainTextEdit;

namespace pemo {

// The editor of a variable or price cell: a multi-line edit where Enter accepts,
// Shift+Enter breaks the line and Esc cancels. Text goes in and out as GBK; line
// breaks are stored as CR LF.
class CellTextPopup : public GridPopup {
    Q_OBJECT
public:
    explicit CellTextPopup(const QByteArray& text, QWidget* parent = nullptr);

    QByteArray text() const { return text_; }
    QPlainTextEdit* edit() const { return edit_; }

    // Refuses, with a message, a text holding a character GBK cannot hold.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* edit_ = nullptr;
    QByteArray text_;
    QString shown_;
};

}  // namespace pemo
