#include "CategoryListPanel.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "LibraryAddDialog.h"
#include "ThumbnailCache.h"
#include "ThumbnailList.h"
#include "core/codecs/Picture.h"
#include "core/codecs/Gbk.h"
#include "core/library/LibraryFolders.h"
#include "core/library/LibraryItems.h"
#include "core/platform/Messages.h"

namespace pemo {

CategoryListPanel::CategoryListPanel(ThumbnailCache& cache, LibraryEdits::What what,
                                     const QString& hint, int addId, const char* addText,
                                     int deleteId, const char* deleteText, QWidget* parent)
    : LibraryListPanel(cache, hint, parent), what_(what) {
    add_ = makeCommand(addId, addText);
    delete_ = makeCommand(deleteId, deleteText);
    connect(&cache, &ThumbnailCache::measured, this,
            [this](const QString& path, QSize size) { sizeMeasured(path, size); });
}

QString CategoryListPanel::root() const {
    return what_ == LibraryEdits::What::Background ? LibraryFolders::backgroundRoot()
                                                   : LibraryFolders::pictureRoot();
}

int CategoryListPanel::preferredCategory(const QStringList& names) const {
    return names.isEmpty() ? -1 : 0;
}

void CategoryListPanel::reloadCategories() {
    QComboBox* box = comboBox();
    const QSignalBlocker block(box);
    box->clear();
    const QStringList names = LibraryFolders::categories(root());
    box->addItems(names);
    box->setCurrentIndex(preferredCategory(names));
    reload();
}

QString CategoryListPanel::category() const {
    return comboBox()->currentIndex() < 0 ? QString() : comboBox()->currentText();
}

bool CategoryListPanel::selectCategory(const QString& category) {
    const int index = comboBox()->findText(category);
    if (index < 0)
        return false;
    if (index == comboBox()->currentIndex()) {
        reload();
    } else {
        comboBox()->setCurrentIndex(index);
    }
    return true;
}

template <class Item>
void CategoryListPanel::showItems(const QVector<Item>& items) {
    QVector<ThumbnailList::Entry> entries;
    entries.reserve(items.size());
    for (const Item& item : items)
        entries.append({item.caption(), item.path()});
    list()->setEntries(entries);
}

template <class Item>
void CategoryListPanel::refreshItems(QVector<Item>& items, const QString& path,
                                     PictureDescription::Kind kind) {
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).path() != path)
            continue;
        const PictureDescription& d = items.at(i).description;
        items[i].description =
            LibraryItems::describe(path, kind, Gbk::toUnicode(d.category), Gbk::toUnicode(d.name));
        items[i].measured = true;
        list()->setEntry(i, {items.at(i).caption(), path});
    }
}

template <class Item>
void CategoryListPanel::takeMeasuredSize(QVector<Item>& items, const QString& path, QSize size) {
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).measured || items.at(i).path() != path)
            continue;
        LibraryItems::takeSize(items[i].description, size);
        items[i].measured = true;
        list()->setEntry(i, {items.at(i).caption(), path});
    }
}

template <class Item>
void CategoryListPanel::measureAt(QVector<Item>& items, int index) {
    if (index < 0 || index >= items.size() || items.at(index).measured)
        return;
    takeMeasuredSize(items, items.at(index).path(), Picture::fromFile(items.at(index).path()).size());
}

template void CategoryListPanel::takeMeasuredSize(QVector<BackgroundItem>&, const QString&, QSize);
template void CategoryListPanel::takeMeasuredSize(QVector<PictureItem>&, const QString&, QSize);
template void CategoryListPanel::measureAt(QVector<BackgroundItem>&, int);
template void CategoryListPanel::measureAt(QVector<PictureItem>&, int);
template void CategoryListPanel::showItems(const QVector<BackgroundItem>&);
template void CategoryListPanel::showItems(const QVector<PictureItem>&);
template void CategoryListPanel::refreshItems(QVector<BackgroundItem>&, const QString&,
                                              PictureDescription::Kind);
template void CategoryListPanel::refreshItems(QVector<PictureItem>&, const QString&,
                                              PictureDescription::Kind);

std::optional<CategoryListPanel::Addition> CategoryListPanel::askAddition(
    LibraryAddDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return Addition{dialog.selectedPath(), dialog.category(), dialog.name()};
}

void CategoryListPanel::addChosen(const char* failed) {
    const QString current = category();
    if (current.isEmpty() || !chooseAddition)
        return;
    const std::optional<Addition> chosen = chooseAddition(current);
    if (!chosen)
        return;
    const QString folder = root() + QLatin1Char('/') + chosen->category;
    QString target;
    if (LibraryEdits::addFile(what_, chosen->file, folder, chosen->name, &target).isEmpty()) {
        Messages::current().inform(QString::fromUtf8(failed).arg(target));
        return;
    }
    if (!selectCategory(chosen->category) && comboBox()->count() > 0)
        comboBox()->setCurrentIndex(0);
}

void CategoryListPanel::addEditCommands(QMenu& menu) {
    updateCommands();
    menu.addAction(add_);
    menu.addSeparator();
    menu.addAction(delete_);
}

}  // namespace pemo
