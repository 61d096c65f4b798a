#include "StatusNote.h"

namespace pemo {

StatusNote::StatusNote(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("statusNote"));
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    hide();
}

void StatusNote::showNote(const QString& text, std::function<bool()> holds) {
    holds_ = std::move(holds);
    setText(text);
    setToolTip(text);
    setVisible(!text.isEmpty());
}

void StatusNote::refresh() {
    if (holds_ && !holds_()) showNote(QString());
}

}  // namespace pemo
