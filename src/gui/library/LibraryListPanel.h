#pragma once

#include <QWidget>
#include <functional>

class QAction;
class QComboBox;
class QMenu;

namespace pemo {

class ThumbnailCache;
class ThumbnailList;

// What the library panels share: a drop-down above a thumbnail list, a status-bar
// hint for the list, and commands that can come from the main window.
class LibraryListPanel : public QWidget {
    Q_OBJECT
public:
    ThumbnailList* list() const { return list_; }
    QComboBox* comboBox() const { return combo_; }

    // The main window's command of an id (统一底图, 统一模板), put into the context
    // menu when set.
    std::function<QAction*(int)> frameAction;

    // A library file was changed from outside (an outside editor): its entry takes
    // the file's new size, time and picture.
    virtual void refreshFile(const QString& path) = 0;

signals:
    // The context menu is about to be shown: others add their items to it. file is
    // the library file of the selected entry, empty when none is selected.
    void extendContextMenu(QMenu* menu, const QString& file);

protected:
    // hint: the status bar's text while the mouse is over the list.
    LibraryListPanel(ThumbnailCache& cache, const QString& hint, QWidget* parent);
    QAction* makeCommand(int id, const char* text);
    // Adds the frame's command of id to a menu, when the frame has it.
    void addFrameCommand(QMenu& menu, int id);
    // Shows a context menu at a global point after others have extended it.
    void showContextMenu(QMenu& menu, QPoint at, const QString& file);

private:
    ThumbnailList* list_ = nullptr;
    QComboBox* combo_ = nullptr;
};

}  // namespace pemo
