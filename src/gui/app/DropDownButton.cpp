#include "DropDownButton.h"

#include <QAction>
#include <QHBoxLayout>
#include <QToolButton>

namespace pemo {

DropDownButton::DropDownButton(QAction* command, std::function<void()> onArrow, QWidget* parent)
    : QWidget(parent), button_(new QToolButton(this)), arrow_(new QToolButton(this)) {
    button_->setDefaultAction(command);
    button_->setAutoRaise(true);
    arrow_->setArrowType(Qt::DownArrow);
    arrow_->setAutoRaise(true);
    arrow_->setFixedWidth(12);
    arrow_->setToolTip(command->toolTip());
    arrow_->setEnabled(command->isEnabled());
    connect(command, &QAction::changed, arrow_, [this, command] {
        arrow_->setEnabled(command->isEnabled());
    });
    connect(arrow_, &QToolButton::clicked, this, [onArrow = std::move(onArrow)] { onArrow(); });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(button_);
    layout->addWidget(arrow_);
}

void DropDownButton::setFace(const QIcon& icon) { button_->defaultAction()->setIcon(icon); }

}  // namespace pemo
