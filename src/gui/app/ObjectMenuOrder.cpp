// The 对象 menu in its order. Its commands come from several command sets, each adding its
// own; once all are in, they are put in the menu's order here, and whatever else the sets
// brought (the face and size choices, the colour pickers, the logo items) follows last.
#include <QAction>
#include <QMenu>

#include "CPatMain.h"
#include "core/document/TextFormat.h"
#include "gui/view/TextCommands.h"

namespace pemo {

void CPatMain::arrangeObjectMenu() {
    namespace FC = FormatCommand;
    // The spacing, alignment and line-spacing popups carry their command ids too.
    for (const int id : {FC::CharSpacingMenu, FC::AlignmentMenu, FC::LineSpacingMenu}) {
        if (QMenu* popup = textCommands_->insertMenu(id)) popup->menuAction()->setData(id);
    }
    static const std::vector<std::vector<int>> groups = {
        {34270, 34271, 34273, 34272}, {34304, 34310}, {34280, 34290, 34303}, {34274},
        {34200, 34220, 34260, 34250, 34537}, {34302}, {34301}, {34501}, {34500}, {34305},
        {34512, 34513, 34515}, {34020},
    };
    QList<QAction*> rest;
    QHash<int, QAction*> byId;
    const QList<QAction*> before = objectMenu_->actions();
    for (QAction* item : before) {
        objectMenu_->removeAction(item);
        if (item->isSeparator()) continue;
        const int id = item->data().toInt();
        if (id != 0 && !byId.contains(id)) {
            byId.insert(id, item);
        } else {
            rest.append(item);
        }
    }
    bool first = true;
    for (const std::vector<int>& group : groups) {
        bool any = false;
        for (const int id : group) {
            QAction* item = byId.take(id);
            if (!item) continue;  // a command not built (yet)
            if (!any && !first) objectMenu_->addSeparator();
            objectMenu_->addAction(item);
            any = true;
        }
        first = first && !any;
    }
    // The others keep the order they came in.
    QList<QAction*> others;
    for (QAction* item : before) {
        if (rest.contains(item) || byId.values().contains(item)) others.append(item);
    }
    if (!others.isEmpty()) objectMenu_->addSeparator();
    for (QAction* item : others) objectMenu_->addAction(item);
}

}  // namespace pemo
