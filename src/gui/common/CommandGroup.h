#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <functional>

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

    // Puts a note into the window's status bar: what a command wrote, or what to do next
    // for as long as `holds` says it still applies. The window sets it; unset, nothing
    // is shown.
    std::function<void(const QString& text, std::function<bool()> holds)> showStatus;

protected:
    explicit CommandGroup(QObject* parent) : QObject(parent) {}

    // A new action for the command at the end of menu.
    QAction* addCommand(QMenu* menu, int id, const QString& text,
                        const QKeySequence& key = QKeySequence());
    // Keeps an action made elsewhere (a submenu's, a bar's toggle) under its id.
    void keep(int id, QAction* action) { actions_.insert(id, action); }
    void tellUser(const QString& text, std::function<bool()> holds = {}) const {
        if (showStatus) showStatus(text, std::move(holds));
    }

private:
    QHash<int, QAction*> actions_;
};

}  // namespace pemo
