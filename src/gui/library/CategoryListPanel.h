#pragma once

#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

#include "LibraryListPanel.h"
#include "core/library/LibraryEdits.h"
#include "core/pictures/PictureDescription.h"

namespace pemo {

class LibraryAddDialog;

// A library panel whose drop-down lists the categories (the sub-folders of a library
// folder) and whose list shows the files of the chosen category, with the commands
// to add and delete files.
class CategoryListPanel : public LibraryListPanel {
    Q_OBJECT
public:
    // Fills the drop-down with the categories, selects the preferred one and reloads
    // the list.
    void reloadCategories();
    // The files of the selected category.
    virtual void reload() = 0;
    QString category() const;
    // Selects a category, reloading the list even when it was already selected;
    // false when it is not listed.
    bool selectCategory(const QString& category);

    QAction* addCommand() const { return add_; }
    QAction* deleteCommand() const { return delete_; }
    virtual void updateCommands() = 0;

    struct Addition {
        QString file;
        QString category;
        QString name;
    };
    // The adding dialog; tests replace it.
    std::function<std::optional<Addition>(const QString& category)> chooseAddition;

protected:
    CategoryListPanel(ThumbnailCache& cache, LibraryEdits::What what, const QString& hint,
                      int addId, const char* addText, int deleteId, const char* deleteText,
                      QWidget* parent);

    // The library folder whose sub-folders are the categories.
    QString root() const;
    // The index of the category selected after the categories are read, -1 for none.
    virtual int preferredCategory(const QStringList& names) const;

    // Shows the items in the list.
    template <class Item>
    void showItems(const QVector<Item>& items);
    // Describes the item of a file again and updates its entry.
    template <class Item>
    void refreshItems(QVector<Item>& items, const QString& path, PictureDescription::Kind kind);
    // Sizes are read lazily: a thumbnail's decoding measures its item (sizeMeasured), and
    // an item is measured at once (measureAt) when it is selected, before its description
    // can go into a document.
    virtual void sizeMeasured(const QString& path, QSize size) = 0;
    template <class Item>
    void takeMeasuredSize(QVector<Item>& items, const QString& path, QSize size);
    template <class Item>
    void measureAt(QVector<Item>& items, int index);

    // Runs the dialog; the choice when it is confirmed.
    static std::optional<Addition> askAddition(LibraryAddDialog& dialog);
    // Asks for a file to add to the selected category, copies it into the library and
    // shows the category it went into; failed: the message for a file not added.
    void addChosen(const char* failed);
    // Brings the commands up to date and puts add and delete into a context menu.
    void addEditCommands(QMenu& menu);

private:
    LibraryEdits::What what_;
    QAction* add_ = nullptr;
    QAction* delete_ = nullptr;
};

}  // namespace pemo
