#include "CommandGroup.h"

#include <QAction>
#include <QMenu>

namespace pemo {

QAction* CommandGroup::addCommand(QMenu* menu, int id, const QString& text,
                                  const QKeySequence& key) {
    auto* action = new QAction(text, this);
    action->setData(id);
    if (!key.isEmpty()) action->setShortcut(key);
    menu->addAction(action);
    actions_.insert(id, action);
    return action;
}

}  // namespace pemo
