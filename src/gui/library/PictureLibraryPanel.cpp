#include "PictureLibraryPanel.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "LibraryAddDialog.h"
#include "ThumbnailList.h"
#include "core/codecs/Gbk.h"
#include "core/library/LibraryEdits.h"
#include "core/library/LibraryFolders.h"
#include "core/platform/Messages.h"

namespace pemo {

PictureLibraryPanel::PictureLibraryPanel(ThumbnailCache& cache, QWidget* parent)
    : LibraryListPanel(cache, QString::fromUtf8("双击更换图片, 右键增删图片"), parent) {
    add_ = makeCommand(kAddPicture, "增加图片");
    delete_ = makeCommand(kDeletePicture, "删除图片");
    connect(add_, &QAction::triggered, this, &PictureLibraryPanel::addPicture);
    connect(delete_, &QAction::triggered, this, &PictureLibraryPanel::deletePicture);
    connect(comboBox(), &QComboBox::currentIndexChanged, this, [this] { reload(); });
    // A click and a double click each hand over a new block.
    const auto choose = [this](int index) {
        const PictureItem& item = items_.at(index);
        emit pictureChosen(
            PictureDescription::ofFile(item.path(), PictureDescription::LibraryPicture,
                                       item.description.category, item.description.name));
        updateCommands();
    };
    connect(list(), &ThumbnailList::clicked, this, choose);
    connect(list(), &ThumbnailList::doubleClicked, this, choose);
    connect(list(), &ThumbnailList::contextMenuRequested, this, &PictureLibraryPanel::contextMenu);
    chooseAddition = [this](const QString& category) -> std::optional<Addition> {
        CResImageAdd dialog(category, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return Addition{dialog.selectedPath(), dialog.category(), dialog.name()};
    };
}

void PictureLibraryPanel::reloadCategories() {
    QComboBox* box = comboBox();
    const QSignalBlocker block(box);
    box->clear();
    const QStringList names = LibraryFolders::categories(LibraryFolders::pictureRoot());
    box->addItems(names);
    box->setCurrentIndex(names.isEmpty() ? -1 : 0);
    reload();
}

QString PictureLibraryPanel::category() const {
    return comboBox()->currentIndex() < 0 ? QString() : comboBox()->currentText();
}

bool PictureLibraryPanel::selectCategory(const QString& category) {
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

void PictureLibraryPanel::reload() {
    const QString name = category();
    items_ = name.isEmpty() ? QVector<PictureItem>() : LibraryItems::pictures(name);
    QVector<ThumbnailList::Entry> entries;
    entries.reserve(items_.size());
    for (const PictureItem& item : std::as_const(items_))
        entries.append({item.caption(), item.path()});
    list()->setEntries(entries);
    updateCommands();
}

const PictureItem* PictureLibraryPanel::selectedPicture() const {
    const int index = list()->selected();
    return index >= 0 && index < items_.size() ? &items_.at(index) : nullptr;
}

void PictureLibraryPanel::refreshFile(const QString& path) {
    for (int i = 0; i < items_.size(); ++i) {
        if (items_.at(i).path() != path)
            continue;
        const PictureDescription& d = items_.at(i).description;
        items_[i].description =
            LibraryItems::describe(path, PictureDescription::LibraryPicture,
                                   Gbk::toUnicode(d.category), Gbk::toUnicode(d.name));
        list()->setEntry(i, {items_.at(i).caption(), path});
    }
}

void PictureLibraryPanel::updateCommands() {
    add_->setEnabled(!category().isEmpty());
    delete_->setEnabled(!category().isEmpty() && selectedPicture());
}

void PictureLibraryPanel::addPicture() {
    const QString current = category();
    if (current.isEmpty() || !chooseAddition)
        return;
    const std::optional<Addition> chosen = chooseAddition(current);
    if (!chosen)
        return;
    const QString folder = LibraryFolders::pictureRoot() + QLatin1Char('/') + chosen->category;
    QString target;
    if (LibraryEdits::addFile(LibraryEdits::What::Picture, chosen->file, folder, chosen->name,
                              &target)
            .isEmpty()) {
        Messages::current().inform(QString::fromUtf8("图片%1增加失败").arg(target));
        return;
    }
    if (!selectCategory(chosen->category) && comboBox()->count() > 0)
        comboBox()->setCurrentIndex(0);
}

void PictureLibraryPanel::deletePicture() {
    const PictureItem* item = selectedPicture();
    if (!item)
        return;
    const QString question =
        QString::fromUtf8("删除图片(%1)?").arg(Gbk::toUnicode(item->description.name));
    if (Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes)
        return;
    const QStringList failed = LibraryEdits::deleteFiles({item->path()});
    reload();
    if (!failed.isEmpty())
        Messages::current().inform(LibraryEdits::notDeletedMessage(failed));
}

void PictureLibraryPanel::contextMenu(QPoint at, int) {
    updateCommands();
    QMenu menu(this);
    menu.addAction(add_);
    menu.addSeparator();
    menu.addAction(delete_);
    const PictureItem* item = selectedPicture();
    showContextMenu(menu, at, item ? item->path() : QString());
}

}  // namespace pemo
