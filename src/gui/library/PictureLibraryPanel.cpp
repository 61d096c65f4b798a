#include "PictureLibraryPanel.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "LibraryAddDialog.h"
#include "ThumbnailList.h"
#include "core/codecs/Gbk.h"
#include "core/library/LibraryEdits.h"
#include "core/platform/Messages.h"

namespace pemo {

PictureLibraryPanel::PictureLibraryPanel(ThumbnailCache& cache, QWidget* parent)
    : CategoryListPanel(cache, LibraryEdits::What::Picture,
                        QString::fromUtf8("双击更换图片, 右键增删图片"), kAddPicture, "增加图片",
                        kDeletePicture, "删除图片", parent) {
    connect(addCommand(), &QAction::triggered, this, &PictureLibraryPanel::addPicture);
    connect(deleteCommand(), &QAction::triggered, this, &PictureLibraryPanel::deletePicture);
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
    chooseAddition = [this](const QString& category) {
        CResImageAdd dialog(category, this);
        return askAddition(dialog);
    };
}

void PictureLibraryPanel::reload() {
    const QString name = category();
    items_ = name.isEmpty() ? QVector<PictureItem>() : LibraryItems::pictures(name);
    showItems(items_);
    updateCommands();
}

const PictureItem* PictureLibraryPanel::selectedPicture() const {
    const int index = list()->selected();
    return index >= 0 && index < items_.size() ? &items_.at(index) : nullptr;
}

void PictureLibraryPanel::sizeMeasured(const QString& path, QSize size) {
    takeMeasuredSize(items_, path, size);
}

void PictureLibraryPanel::refreshFile(const QString& path) {
    refreshItems(items_, path, PictureDescription::LibraryPicture);
}

void PictureLibraryPanel::updateCommands() {
    addCommand()->setEnabled(!category().isEmpty());
    deleteCommand()->setEnabled(!category().isEmpty() && selectedPicture());
}

void PictureLibraryPanel::addPicture() {
    addChosen("图片%1增加失败");
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
    QMenu menu(this);
    addEditCommands(menu);
    const PictureItem* item = selectedPicture();
    showContextMenu(menu, at, item ? item->path() : QString());
}

}  // namespace pemo
