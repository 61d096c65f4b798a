#include "TemplateMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "CPatView.h"
#include "ViewCommands.h"
#include "core/blocks/Twips.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/OutputPlaceholders.h"
#include "core/document/PageDrawing.h"
#include "core/document/PageSizes.h"
#include "core/document/TemplateFile.h"
#include "core/platform/FileError.h"
#include "core/platform/Messages.h"
#include "gui/library/SaveTemplateDialog.h"

namespace pemo {

TemplateMenu::TemplateMenu(CPatView& view, QWidget* window)
    : CommandGroup(window), view_(view), window_(window) {}

void TemplateMenu::addTo(QMenuBar* bar, QAction* applyDesign, const LibraryCommands& library) {
    QMenu* menu = bar->addMenu(QString::fromUtf8("模板(&T)"));
    connect(addCommand(menu, kSaveTemplate, QString::fromUtf8("保存模板(&S)")), &QAction::triggered,
            this, [this] { saveTemplate(false); });
    connect(addCommand(menu, kSaveTemplateAs, QString::fromUtf8("另存模板(&A)")),
            &QAction::triggered, this, [this] { saveTemplate(true); });
    menu->addAction(applyDesign);
    menu->addSeparator();
    addLibraryCommand(menu, library.deleteTemplate, "删除模板(&D)");
    menu->addSeparator();
    addPageSizes(menu);
    menu->addSeparator();
    addLibraryCommand(menu, library.addBackground, "增加底图(&B)");
    addLibraryCommand(menu, library.deleteBackground, "删除底图(&X)");
    menu->addSeparator();
    addLibraryCommand(menu, library.addPicture, "增加图片(&I)");
    addLibraryCommand(menu, library.deletePicture, "删除图片(&P)");
    connect(menu, &QMenu::aboutToShow, this, &TemplateMenu::changed);
}

// The menu's items run the panels' commands and follow their state; the panels' own menus
// name them without the menu's keys.
void TemplateMenu::addLibraryCommand(QMenu* menu, QAction* command, const char* text) {
    QAction* item = addCommand(menu, command->data().toInt(), QString::fromUtf8(text));
    item->setEnabled(command->isEnabled());
    connect(item, &QAction::triggered, command, &QAction::trigger);
    connect(command, &QAction::changed, item, [item, command] { item->setEnabled(command->isEnabled()); });
}

void TemplateMenu::addPageSizes(QMenu* menu) {
    for (int index = 0; index < PageSizes::kStandardCount; ++index) {
        // A4幅面(&4) … A0幅面(&0) on Ctrl+4 … Ctrl+0.
        const int digit = 4 - index;
        QAction* size =
            addCommand(menu, ViewCommand::FirstStandardSize + index,
                       QStringLiteral("%1(&%2)").arg(PageSizes::standardName(index)).arg(digit),
                       QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + digit)));
        size->setCheckable(true);
        connect(size, &QAction::triggered, this, [this, index] {
            view_.setStandardPageSize(index);
            changed();
        });
    }
    menu->addSeparator();
    QAction* custom = addCommand(menu, ViewCommand::CustomSize, QString::fromUtf8("自定义幅面(&9)"),
                                 QKeySequence(Qt::CTRL | Qt::Key_9));
    custom->setCheckable(true);
    connect(custom, &QAction::triggered, this, [this] {
        view_.customPageSize();
        changed();
    });
    connect(addCommand(menu, ViewCommand::RotatePage, QString::fromUtf8("横向幅面")),
            &QAction::triggered, this, [this] {
                view_.rotatePage();
                changed();
            });
}

void TemplateMenu::update() {
    const InfoRecord* record = view_.document().currentRecord();
    const bool hasBackground = record && !record->background.name.isEmpty();
    action(kSaveTemplate)->setEnabled(hasBackground);
    action(kSaveTemplateAs)->setEnabled(hasBackground);
    const int standard =
        record ? PageSizes::standardIndexOf(record->widthMm, record->heightMm) : -1;
    for (int index = 0; index < PageSizes::kStandardCount; ++index) {
        action(ViewCommand::FirstStandardSize + index)->setChecked(index == standard);
    }
    action(ViewCommand::CustomSize)->setChecked(record && standard < 0);
    if (record) {
        action(ViewCommand::RotatePage)
            ->setText(PageSizes::rotateCommandText(record->widthMm, record->heightMm));
    }
}

void TemplateMenu::saveTemplate(bool askName) {
    CPatDoc& doc = view_.document();
    InfoRecord* record = doc.currentRecord();
    if (!record || record->background.name.isEmpty()) return;
    const QString folder =
        TemplateFile::folderFor(record->background.category, record->background.name);
    const QStringList existing = SaveTemplateDialog::existingTemplates(folder);
    QString name = Gbk::toUnicode(record->background.templateName);
    if (askName || name.isEmpty() || !existing.contains(name)) {
        SaveTemplateDialog dialog(existing, window_);
        if (dialog.exec() != QDialog::Accepted) return;
        name = dialog.templateName();
    } else {
        const QString question = QString::fromUtf8("替换模板(%1-%2)?")
                                     .arg(Gbk::toUnicode(record->background.name), name);
        if (Messages::current().ask(question, Messages::Buttons::YesNo) !=
            Messages::Answer::Yes) {
            return;
        }
    }
    // The preview the library shows beside the template, 150 pixels wide.
    const int previewPpi = std::max(1, 150 * kTwipsPerInch / std::max(1, record->widthTw));
    QString path;
    try {
        // The preview shows the record's values, also while the page shows the names.
        const OutputPlaceholders values(doc, false);
        const QImage preview = renderPageImage(*record, doc.backgrounds, previewPpi, true, false);
        path = TemplateFile::saveToLibrary(*record, doc, name, preview);
    } catch (const FileError& error) {
        Messages::current().inform(error.message());
        return;
    }
    record->background.templateName = Gbk::fromUnicode(name);
    doc.setModified();
    // The new template shows in the library at once.
    if (templateSaved) templateSaved(record->background.category, record->background.name, path);
}

void TemplateMenu::changed() {
    if (commandsChanged) commandsChanged();
}

}  // namespace pemo
