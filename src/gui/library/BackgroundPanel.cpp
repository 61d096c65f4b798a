#include "BackgroundPanel.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "LibraryAddDialog.h"
#include "ThumbnailList.h"
#include "core/codecs/Gbk.h"
#include "core/library/LibraryFolders.h"
#include "core/platform/Messages.h"

namespace pemo {

BackgroundPanel::BackgroundPanel(ThumbnailCache& cache, QWidget* parent)
    : CategoryListPanel(cache, LibraryEdits::What::Background,
                        QString::fromUtf8("双击更换底图, 右键增删底图"), kAddBackground, "增加底图",
                        kDeleteBackground, "删除底图", parent) {
    connect(addCommand(), &QAction::triggered, this, &BackgroundPanel::addBackground);
    connect(deleteCommand(), &QAction::triggered, this, &BackgroundPanel::deleteBackground);
    connect(comboBox(), &QComboBox::currentIndexChanged, this, [this] { reload(); });
    connect(list(), &ThumbnailList::clicked, this, [this] {
        measureAt(items_, list()->selected());
        updateCommands();
        emit selectionChanged();
    });
    connect(list(), &ThumbnailList::doubleClicked, this, [this](int index) {
        const BackgroundItem& item = items_.at(index);
        // The picture is measured whole when it goes into the document.
        emit backgroundChosen(
            PictureDescription::ofFile(item.path(), PictureDescription::Background,
                                       item.description.category, item.description.name));
        updateCommands();
        emit selectionChanged();
    });
    connect(list(), &ThumbnailList::contextMenuRequested, this, &BackgroundPanel::contextMenu);
    chooseAddition = [this](const QString& category) {
        CResBkgdAdd dialog(category, this);
        return askAddition(dialog);
    };
}

int BackgroundPanel::preferredCategory(const QStringList& names) const {
    const int blank = int(names.indexOf(LibraryFolders::blankCategory()));
    return blank >= 0 ? blank : CategoryListPanel::preferredCategory(names);
}

void BackgroundPanel::reload() {
    const QString name = category();
    items_ = name.isEmpty() ? QVector<BackgroundItem>() : LibraryItems::backgrounds(name);
    showItems(items_);
    measureAt(items_, list()->selected());
    updateCommands();
    emit selectionChanged();
}

const BackgroundItem* BackgroundPanel::selectedBackground() const {
    const int index = list()->selected();
    return index >= 0 && index < items_.size() ? &items_.at(index) : nullptr;
}

bool BackgroundPanel::selectBackground(const QByteArray& name) {
    for (int i = 0; i < items_.size(); ++i) {
        if (items_.at(i).description.name != name)
            continue;
        list()->setSelected(i);
        measureAt(items_, i);
        updateCommands();
        emit selectionChanged();
        return true;
    }
    return false;
}

void BackgroundPanel::sizeMeasured(const QString& path, QSize size) {
    takeMeasuredSize(items_, path, size);
}

void BackgroundPanel::refreshFile(const QString& path) {
    refreshItems(items_, path, PictureDescription::Background);
}

void BackgroundPanel::updateCommands() {
    const QString name = category();
    const bool editable = !name.isEmpty() && name != LibraryFolders::blankCategory();
    addCommand()->setEnabled(editable);
    deleteCommand()->setEnabled(editable && selectedBackground());
}

void BackgroundPanel::addBackground() {
    if (category() != LibraryFolders::blankCategory())
        addChosen("底图%1增加失败");
}

void BackgroundPanel::deleteBackground() {
    updateCommands();
    const BackgroundItem* item = selectedBackground();
    if (!item || !deleteCommand()->isEnabled())
        return;
    const QString name = Gbk::toUnicode(item->description.name);
    const LibraryEdits::BackgroundDeletion plan =
        LibraryEdits::planBackgroundDeletion(item->path(), name);
    const QString question =
        QString::fromUtf8("删除底图(%1)? 该底图有%2个模板。").arg(name).arg(plan.templateCount);
    if (Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes)
        return;
    const QStringList failed = LibraryEdits::deleteBackground(plan);
    reload();
    if (!failed.isEmpty())
        Messages::current().inform(LibraryEdits::notDeletedMessage(failed));
}

void BackgroundPanel::contextMenu(QPoint at, int) {
    QMenu menu(this);
    addEditCommands(menu);
    if (frameAction) {
        menu.addSeparator();
        addFrameCommand(menu, kUnifyBackground);
    }
    const BackgroundItem* item = selectedBackground();
    // Outside editors may open backgrounds of any category but the blank one.
    const QString file =
        item && category() != LibraryFolders::blankCategory() ? item->path() : QString();
    showContextMenu(menu, at, file);
}

}  // namespace pemo
