#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>

class QAction;
class QMenu;

namespace pemo {

// The commands of one menu as actions that carry their command ids (QAction::data),
// found again by id. Each menu's group derives from it and adds its commands in the
// menu's order.
class CommandGroup : public QObject {
    Q_OBJECT
public:
    // The group's action of a command; null for a command of another group.
    QAction* action(int id) const { return actions_.value(id); }
    const QHash<int, QAction*>& actions() const { return actions_; }

protected:
    explicit CommandGroup(QObject* parent) : QObject(parent) {}

    // A new action for the command at the end of menu.
    QAction* addCommand(QMenu* menu, int id, const QString& text,
                        const QKeySequence& key = QKeySequence());
    // Keeps an action made elsewhere (a submenu's, a bar's toggle) under its id.
    void keep(int id, QAction* action) { actions_.insert(id, action); }

private:
    QHash<int, QAction*> actions_;
};

}  // namespace pemo
