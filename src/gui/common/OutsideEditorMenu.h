#pragma once

#include <QString>
#include <functional>

#include "core/pictures/OutsideEditors.h"

class QMenu;
class QWidget;

namespace pemo {

enum class OutsideEditResult { Updated, Unchanged, Failed };

// Lets the user edit file in a slot's editor: a working copy, the editor started on it,
// the wait window, and the edited copy taken back over takeBackTo (file itself when
// empty) only when it changed. Every failure is shown; a second edit while one runs is
// refused with a message. The wait window names the picture shownName (the file's name
// when empty).
OutsideEditResult editInOutsideEditor(QWidget* parent, EditorSlot slot, const QString& file,
                                      const QString& takeBackTo = QString(),
                                      const QString& shownName = QString());

// Adds, for each installed editor that takes file's type, a separator and its item
// (text: the editor's name; data: the place's command id). Nothing, not even a
// separator, when no editor takes it. chosen gets the slot of the item picked.
void addEditorItems(QMenu* menu, const QString& file, EditorPlace place,
                    const std::function<void(EditorSlot)>& chosen);

// The same items editing file in place; afterEdit runs when the file was changed (the
// library panels read its time and size again and repaint).
void addEditorItems(QMenu* menu, const QString& file, EditorPlace place, QWidget* parent,
                    const std::function<void()>& afterEdit);

}  // namespace pemo
