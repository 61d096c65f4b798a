#include "LibraryDocks.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QTabWidget>
#include <memory>
#include <utility>

#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/TemplateFile.h"
#include "core/platform/FileError.h"
#include "core/platform/Messages.h"
#include "gui/common/OutsideEditorMenu.h"
#include "gui/library/BackgroundPanel.h"
#include "gui/library/PictureLibraryPanel.h"
#include "gui/library/TemplatePanel.h"
#include "gui/library/ThumbnailCache.h"

namespace pemo {

namespace {

// Reads a template into a record and gives its placeholders the record's values.
// bytes keeps the file read last, so that one command giving the template to every
// record reads it once.
bool readTemplate(CPatDoc& doc, InfoRecord& record, const QString& path,
                  std::pair<QString, QByteArray>* bytes = nullptr) {
    try {
        if (!bytes) {
            TemplateFile::apply(path, record, doc);
        } else {
            if (bytes->first != path || bytes->second.isEmpty()) {
                *bytes = {path, DocumentFile::readFromDisk(path)};
            }
            TemplateFile::read(bytes->second, record, doc);
        }
    } catch (const FileError& error) {
        Messages::current().inform(error.message());
        return false;
    }
    record.refreshPlaceholders(false, doc.placeholderSources());
    return true;
}

}  // namespace

LibraryDocks::LibraryDocks(QMainWindow& frame, CPatDoc& doc)
    : QObject(&frame), frame_(frame), doc_(doc), cache_(std::make_unique<ThumbnailCache>()) {
    backgroundBar_ = new QDockWidget(QString::fromUtf8("底图"), &frame);
    backgroundBar_->setObjectName(QStringLiteral("BackgroundBar"));
    backgrounds_ = new BackgroundPanel(*cache_, backgroundBar_);
    backgroundBar_->setWidget(backgrounds_);

    templateBar_ = new QDockWidget(QString::fromUtf8("模板/常用图库"), &frame);
    templateBar_->setObjectName(QStringLiteral("TemplateBar"));
    tabs_ = new QTabWidget(templateBar_);
    templates_ = new TemplatePanel(*cache_, *backgrounds_, tabs_);
    pictures_ = new PictureLibraryPanel(*cache_, tabs_);
    tabs_->addTab(templates_, QString::fromUtf8("模板库"));
    tabs_->addTab(pictures_, QString::fromUtf8("常用图库"));
    tabs_->setCurrentIndex(0);
    templateBar_->setWidget(tabs_);

    for (QDockWidget* bar : {backgroundBar_, templateBar_}) {
        bar->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    }
    connect(backgrounds_, &BackgroundPanel::backgroundChosen, this, &LibraryDocks::applyBackground);
    connect(templates_, &TemplatePanel::templateChosen, this, &LibraryDocks::applyTemplate);
}

LibraryDocks::~LibraryDocks() = default;

void LibraryDocks::dock() {
    frame_.addDockWidget(Qt::LeftDockWidgetArea, backgroundBar_);
    frame_.addDockWidget(Qt::LeftDockWidgetArea, templateBar_);
    frame_.resizeDocks({backgroundBar_, templateBar_}, {150, 150}, Qt::Horizontal);
}

void LibraryDocks::load() {
    backgrounds_->reloadCategories();
    pictures_->reloadCategories();
}

void LibraryDocks::updateCommands() {
    backgrounds_->updateCommands();
    templates_->updateCommands();
    pictures_->updateCommands();
}

void LibraryDocks::offerOutsideEditors() {
    const std::pair<LibraryListPanel*, EditorPlace> editing[] = {
        {backgrounds_, EditorPlace::BackgroundPanel}, {pictures_, EditorPlace::PicturePanel}};
    for (const auto& [panel, place] : editing) {
        connect(panel, &LibraryListPanel::extendContextMenu, this,
                [this, panel = panel, place = place](QMenu* menu, const QString& file) {
                    if (file.isEmpty()) return;
                    addEditorItems(menu, file, place, &frame_, [panel, file] { panel->refreshFile(file); });
                });
    }
}

void LibraryDocks::fillContext(RecordCommandContext& context) const {
    if (const BackgroundItem* background = backgrounds_->selectedBackground()) {
        context.background.selected = true;
        context.background.background = background->description;
    }
    if (const TemplateItem* chosen = templates_->selectedTemplate()) {
        context.templateChoice.selected = true;
        context.templateChoice.background = chosen->background;
        context.templateChoice.templateName = Gbk::fromUnicode(chosen->templateName);
        context.templateChoice.templatePath = chosen->templatePath;
    }
    auto bytes = std::make_shared<std::pair<QString, QByteArray>>();
    context.applyTemplate = [this, bytes](InfoRecord& record, const QString& path) {
        return readTemplate(doc_, record, path, bytes.get());
    };
}

void LibraryDocks::initialiseRecord(InfoRecord& record) const {
    if (const TemplateItem* chosen = templates_->selectedTemplate()) {
        try {
            TemplateFile::apply(chosen->templatePath, record, doc_);
            record.refreshPlaceholders(false, doc_.placeholderSources());
            return;
        } catch (const FileError&) {
            // A template that cannot be read leaves the page to the background.
        }
    }
    if (const BackgroundItem* background = backgrounds_->selectedBackground()) {
        record.applyBackground(background->description, doc_.backgrounds);
    }
}

void LibraryDocks::showSavedTemplate(const QByteArray& category, const QByteArray& backgroundName,
                                     const QString& templatePath) {
    const QString name = Gbk::toUnicode(category);
    if (name != backgrounds_->category())
        backgrounds_->selectCategory(name);
    if (name != backgrounds_->category() || !backgrounds_->selectBackground(backgroundName)) {
        templates_->reload();
        return;
    }
    templates_->selectTemplate(templatePath);
}

void LibraryDocks::applyBackground(const PictureDescription& background) {
    InfoRecord* record = doc_.currentRecord();
    if (!record)
        return;
    record->applyBackground(background, doc_.backgrounds);
    doc_.setModified();
    doc_.notify(CPatDoc::Change::Page);
    if (onPageChanged)
        onPageChanged();
}

void LibraryDocks::applyTemplate(const QString& path) {
    InfoRecord* record = doc_.currentRecord();
    // The template empties the record's own history: as a step of the list's history
    // it is taken back with that history, and earlier changes stay within reach.
    if (!record || !doc_.listHistory().record(QString::fromUtf8("模板"), {record},
                                              [&] { return readTemplate(doc_, *record, path); }))
        return;
    doc_.setModified();
    // As a change of the current record: the page shows in the screen's mode, whole.
    doc_.notify(CPatDoc::Change::CurrentRecord);
    if (onPageChanged)
        onPageChanged();
}

}  // namespace pemo
