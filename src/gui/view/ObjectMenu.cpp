#include "ObjectMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "CPatView.h"
#include "PictureCommands.h"
#include "ShapeCommands.h"
#include "StyleCommands.h"
#include "TextCommands.h"
#include "core/config/PhraseList.h"
#include "core/document/EditCommands.h"
#include "core/document/TextFormat.h"
#include "gui/canvas/CPatCanvas.h"

namespace pemo {

ObjectMenu::ObjectMenu(CPatView& view, const MallInfoList& mallInfo, const PhraseList& phrases,
                       QWidget* window)
    : CommandGroup(window),
      view_(view),
      text_(new TextCommands(view, mallInfo, phrases, window)),
      pictures_(new PictureCommands(view, window)) {
    text_->pictureItem = [this](int id) { return pictures_->action(id); };
    view.canvas()->commonPhrase = [&phrases](int n) { return phrases.phrase(n); };
    view.canvas()->extendContextMenu = [this](QMenu& context) { text_->addFormatMenuTo(context); };
}

void ObjectMenu::addTo(QMenuBar* bar) {
    menu_ = bar->addMenu(QString::fromUtf8("对象(&O)"));
    text_->addTo(menu_);
    menu_->addSeparator();
    ShapeCommands::addTo(menu_, view_);
    StyleCommands::addTo(menu_, view_);
    menu_->addSeparator();
    QAction* lock = addCommand(menu_, EditCommand::Lock, QString::fromUtf8("锁定"));
    lock->setCheckable(true);
    connect(lock, &QAction::triggered, this, [this] {
        view_.canvas()->runCommand(EditCommand::Lock);
        if (commandsChanged) commandsChanged();
    });
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        if (commandsChanged) commandsChanged();
    });
    pictures_->addTo(menu_);
}

void ObjectMenu::update() {
    const CPatCanvas* canvas = view_.canvas();
    QAction* lock = action(EditCommand::Lock);
    lock->setEnabled(canvas->isCommandEnabled(EditCommand::Lock));
    lock->setChecked(canvas->isCommandChecked(EditCommand::Lock));
    text_->update();
    pictures_->updateStates();
}

void ObjectMenu::arrange() {
    namespace FC = FormatCommand;
    // The spacing, alignment and line-spacing popups carry their command ids too.
    for (const int id : {FC::CharSpacingMenu, FC::AlignmentMenu, FC::LineSpacingMenu}) {
        if (QMenu* popup = text_->insertMenu(id)) popup->menuAction()->setData(id);
    }
    static const std::vector<std::vector<int>> groups = {
        {34270, 34271, 34273, 34272}, {34304, 34310}, {34280, 34290, 34303}, {34274},
        {34200, 34220, 34260, 34250, 34537}, {34302}, {34301}, {34501}, {34500}, {34305},
        {34512, 34513, 34515}, {34020},
    };
    QList<QAction*> rest;
    QHash<int, QAction*> byId;
    const QList<QAction*> before = menu_->actions();
    for (QAction* item : before) {
        menu_->removeAction(item);
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
            if (!any && !first) menu_->addSeparator();
            menu_->addAction(item);
            any = true;
        }
        first = first && !any;
    }
    // The others keep the order they came in.
    QList<QAction*> others;
    for (QAction* item : before) {
        if (rest.contains(item) || byId.values().contains(item)) others.append(item);
    }
    if (!others.isEmpty()) menu_->addSeparator();
    for (QAction* item : others) menu_->addAction(item);
}

}  // namespace pemo
