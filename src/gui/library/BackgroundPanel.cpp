#include "BackgroundPanel.h"

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

BackgroundPanel::BackgroundPanel(ThumbnailCache& cache, QWidget* parent)
    : LibraryListPanel(cache, QString::fromUtf8("双击更换底图, 右键增删底图"), parent) {
    add_ = makeCommand(kAddBackground, "增加底图");
    delete_ = makeCommand(kDeleteBackground, "删除底图");
    connect(add_, &QAction::triggered, this, &BackgroundPanel::addBackground);
    connect(delete_, &QAction::triggered, this, &BackgroundPanel::deleteBackground);
    connect(comboBox(), &QComboBox::currentIndexChanged, this, [this] { reload(); });
    connect(list(), &ThumbnailList::clicked, this, [this] {
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
    chooseAddition = [this](const QString& category) -> std::optional<Addition> {
        CResBkgdAdd dialog(category, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return Addition{dialog.selectedPath(), dialog.category(), dialog.name()};
    };
}

void BackgroundPanel::reloadCategories() {
    QComboBox* box = comboBox();
    const QSignalBlocker block(box);
    box->clear();
    const QStringList names = LibraryFolders::categories(LibraryFolders::backgroundRoot());
    box->addItems(names);
    const int blank = int(names.indexOf(LibraryFolders::blankCategory()));
    box->setCurrentIndex(blank >= 0 ? blank : (names.isEmpty() ? -1 : 0));
    reload();
}

QString BackgroundPanel::category() const {
    return comboBox()->currentIndex() < 0 ? QString() : comboBox()->currentText();
}

bool BackgroundPanel::selectCategory(const QString& category) {
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

void BackgroundPanel::reload() {
    const QString name = category();
    items_ = name.isEmpty() ? QVector<BackgroundItem>() : LibraryItems::backgrounds(name);
    QVector<ThumbnailList::Entry> entries;
    entries.reserve(items_.size());
    for (const BackgroundItem& item : std::as_const(items_))
        entries.append({item.caption(), item.path()});
    list()->setEntries(entries);
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
        updateCommands();
        emit selectionChanged();
        return true;
    }
    return false;
}

void BackgroundPanel::refreshFile(const QString& path) {
    for (int i = 0; i < items_.size(); ++i) {
        if (items_.at(i).path() != path)
            continue;
        const PictureDescription& d = items_.at(i).description;
        items_[i].description =
            LibraryItems::describe(path, PictureDescription::Background, Gbk::toUnicode(d.category),
                                   Gbk::toUnicode(d.name));
        list()->setEntry(i, {items_.at(i).caption(), path});
    }
}

void BackgroundPanel::updateCommands() {
    const QString name = category();
    const bool editable = !name.isEmpty() && name != LibraryFolders::blankCategory();
    add_->setEnabled(editable);
    delete_->setEnabled(editable && selectedBackground());
}

void BackgroundPanel::addBackground() {
    const QString current = category();
    if (current.isEmpty() || current == LibraryFolders::blankCategory() || !chooseAddition)
        return;
    const std::optional<Addition> chosen = chooseAddition(current);
    if (!chosen)
        return;
    const QString folder = LibraryFolders::backgroundRoot() + QLatin1Char('/') + chosen->category;
    QString target;
    if (LibraryEdits::addFile(LibraryEdits::What::Background, chosen->file, folder, chosen->name,
                              &target)
            .isEmpty()) {
        Messages::current().inform(QString::fromUtf8("底图%1增加失败").arg(target));
        return;
    }
    if (!selectCategory(chosen->category) && comboBox()->count() > 0)
        comboBox()->setCurrentIndex(0);
}

void BackgroundPanel::deleteBackground() {
    updateCommands();
    const BackgroundItem* item = selectedBackground();
    if (!item || !delete_->isEnabled())
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
    updateCommands();
    QMenu menu(this);
    menu.addAction(add_);
    menu.addSeparator();
    menu.addAction(delete_);
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
