#include "OutsideEditorMenu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "EditWaitDialog.h"
#include "core/pictures/PictureEdit.h"
#include "core/platform/Messages.h"

namespace pemo {

OutsideEditResult editInOutsideEditor(QWidget* parent, EditorSlot slot, const QString& file,
                                      const QString& takeBackTo, const QString& shownName) {
    OutsideEditors& editors = OutsideEditors::current();
    PictureEdit edit;
    if (!edit.start(editors.program(slot), file)) {
        Messages::current().inform(edit.errorText());
        return OutsideEditResult::Failed;
    }
    EditWaitDialog wait(edit, editors.menuText(slot),
                        shownName.isEmpty() ? QFileInfo(file).fileName() : shownName, parent);
    if (wait.exec() != QDialog::Accepted) {
        edit.cancel();
        return OutsideEditResult::Unchanged;
    }
    switch (edit.finish(takeBackTo)) {
        case PictureEdit::Outcome::Updated:
            return OutsideEditResult::Updated;
        case PictureEdit::Outcome::Unchanged:
            return OutsideEditResult::Unchanged;
        case PictureEdit::Outcome::Failed:
            break;
    }
    Messages::current().inform(edit.errorText());
    return OutsideEditResult::Failed;
}

void addEditorItems(QMenu* menu, const QString& file, EditorPlace place,
                    const std::function<void(EditorSlot)>& chosen) {
    OutsideEditors& editors = OutsideEditors::current();
    for (EditorSlot slot : editors.offersFor(file)) {
        menu->addSeparator();
        QAction* item = menu->addAction(editors.menuText(slot));
        item->setData(OutsideEditors::commandId(place, slot));
        QObject::connect(item, &QAction::triggered, menu, [chosen, slot] { chosen(slot); });
    }
}

void addEditorItems(QMenu* menu, const QString& file, EditorPlace place, QWidget* parent,
                    const std::function<void()>& afterEdit) {
    addEditorItems(menu, file, place, [file, parent, afterEdit](EditorSlot slot) {
        if (editInOutsideEditor(parent, slot, file) == OutsideEditResult::Updated && afterEdit) {
            afterEdit();
        }
    });
}

}  // namespace pemo
