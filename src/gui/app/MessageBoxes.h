#pragma once

#include <QPointer>
#include <QWidget>

#include "core/platform/Messages.h"

namespace pemo {

// Questions and information as modal message boxes, titled with the program's name.
class MessageBoxes : public Messages {
public:
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    Answer ask(const QString& text, Buttons buttons) override;
    void inform(const QString& text) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace pemo
