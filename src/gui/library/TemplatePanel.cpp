#include "TemplatePanel.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>

#include "BackgroundPanel.h"
#include "ThumbnailList.h"
#include "core/codecs/Gbk.h"
#include "core/library/LibraryEdits.h"
#include "core/platform/Messages.h"

namespace pemo {

TemplatePanel::TemplatePanel(ThumbnailCache& cache, BackgroundPanel& backgrounds, QWidget* parent)
    : LibraryListPanel(cache, QString::fromUtf8("双击更换模板, 右键删除模板"), parent),
      backgrounds_(backgrounds) {
    comboBox()->addItems({QString::fromUtf8("当前底图模板"), QString::fromUtf8("当前底图类模板")});
    comboBox()->setCurrentIndex(CurrentBackground);
    delete_ = makeCommand(kDeleteTemplate, "删除模板");
    connect(delete_, &QAction::triggered, this, &TemplatePanel::deleteTemplate);
    connect(comboBox(), &QComboBox::currentIndexChanged, this, [this] { reload(); });
    connect(&backgrounds_, &BackgroundPanel::selectionChanged, this, [this] {
        // A change of background shows that background's templates.
        if (mode() != CurrentBackground) {
            setMode(CurrentBackground);
        } else {
            reload();
        }
    });
    connect(list(), &ThumbnailList::clicked, this, [this] { updateCommands(); });
    connect(list(), &ThumbnailList::doubleClicked, this, [this](int index) {
        emit templateChosen(items_.at(index).templatePath);
        updateCommands();
    });
    connect(list(), &ThumbnailList::contextMenuRequested, this, &TemplatePanel::contextMenu);
    updateCommands();
}

TemplatePanel::Mode TemplatePanel::mode() const {
    return comboBox()->currentIndex() == WholeCategory ? WholeCategory : CurrentBackground;
}

void TemplatePanel::setMode(Mode mode) {
    if (comboBox()->currentIndex() == mode) {
        reload();
    } else {
        comboBox()->setCurrentIndex(mode);
    }
}

void TemplatePanel::reload() {
    QVector<TemplateItem> items;
    if (mode() == CurrentBackground) {
        const BackgroundItem* background = backgrounds_.selectedBackground();
        if (!background)
            return dropDeletedTemplates();
        items = LibraryItems::templates(*background);
    } else {
        if (backgrounds_.backgrounds().isEmpty())
            return dropDeletedTemplates();
        for (const BackgroundItem& background : backgrounds_.backgrounds())
            items += LibraryItems::templates(background);
    }
    showTemplates(items);
}

void TemplatePanel::dropDeletedTemplates() {
    // Without a background the list stays as it is, except for templates that went
    // with a deleted background.
    QVector<TemplateItem> items = items_;
    items.removeIf([](const TemplateItem& item) { return !QFileInfo::exists(item.templatePath); });
    if (items.size() != items_.size())
        showTemplates(items);
}

void TemplatePanel::showTemplates(const QVector<TemplateItem>& items) {
    items_ = items;
    QVector<ThumbnailList::Entry> entries;
    for (const TemplateItem& item : std::as_const(items_))
        entries.append({item.caption(), item.previewPath});
    list()->setEntries(entries);
    updateCommands();
}

const TemplateItem* TemplatePanel::selectedTemplate() const {
    const int index = list()->selected();
    return index >= 0 && index < items_.size() ? &items_.at(index) : nullptr;
}

bool TemplatePanel::selectTemplate(const QString& templatePath) {
    for (int i = 0; i < items_.size(); ++i) {
        if (items_.at(i).templatePath != templatePath)
            continue;
        list()->setSelected(i);
        updateCommands();
        return true;
    }
    return false;
}

void TemplatePanel::refreshFile(const QString&) {
    list()->viewport()->update();
}

void TemplatePanel::updateCommands() {
    delete_->setEnabled(selectedTemplate() != nullptr);
}

void TemplatePanel::deleteTemplate() {
    const TemplateItem* item = selectedTemplate();
    if (!item)
        return;
    const QString question = QString::fromUtf8("删除模板(%1-%2)?")
                                 .arg(Gbk::toUnicode(item->background.name), item->templateName);
    if (Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes)
        return;
    const QStringList failed = LibraryEdits::deleteTemplate(item->templatePath, item->previewPath);
    // The list is rebuilt even when the mode's rule would keep it: the file is gone.
    items_.clear();
    list()->setEntries({});
    reload();
    if (!failed.isEmpty())
        Messages::current().inform(LibraryEdits::notDeletedMessage(failed));
}

void TemplatePanel::contextMenu(QPoint at, int) {
    updateCommands();
    QMenu menu(this);
    menu.addAction(delete_);
    if (frameAction) {
        menu.addSeparator();
        addFrameCommand(menu, kUnifyTemplate);
    }
    const TemplateItem* item = selectedTemplate();
    showContextMenu(menu, at, item ? item->templatePath : QString());
}

}  // namespace pemo
