#include "CPatMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

#include "CPatApp.h"
#include "DesignHint.h"
#include "FileMenu.h"
#include "HelpMenu.h"
#include "LibraryDocks.h"
#include "MainToolBars.h"
#include "MenuPrompts.h"
#include "StatusNote.h"
#include "core/document/EditCommands.h"
#include "core/document/RecordCommands.h"
#include "core/document/StatusTexts.h"
#include "core/platform/ProgramInfo.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/common/CommandGroup.h"
#include "gui/common/ToolIcons.h"
#include "gui/config/ConfigMenu.h"
#include "gui/library/BackgroundPanel.h"
#include "gui/library/PictureLibraryPanel.h"
#include "gui/library/TemplatePanel.h"
#include "gui/records/RecordFindDialog.h"
#include "gui/records/RecordGrid.h"
#include "gui/records/RecordMenu.h"
#include "gui/view/CPatView.h"
#include "gui/view/EditMenu.h"
#include "gui/view/ObjectMenu.h"
#include "gui/view/PictureCommands.h"
#include "gui/view/PrintCommands.h"
#include "gui/view/TemplateMenu.h"
#include "gui/view/TextCommands.h"
#include "gui/view/ViewCommands.h"
#include "gui/view/ViewMenu.h"

namespace pemo {

namespace RC = RecordCommand;

CPatMain::CPatMain(CPatApp& app, CPatDoc& doc) : app_(app), doc_(doc) {
    config_ = new ConfigMenu(doc_, this);
    view_ = new CPatView(doc_, this);
    setCentralWidget(view_);
    toolBars_ = new MainToolBars(*this, *view_);
    toolBars_->create();
    library_ = new LibraryDocks(*this, doc_);
    library_->dock();
    buildRecordGrid();
    placeSideBars();
    buildStatusBar();
    buildMenus();
    buildLibrary();
    buildToolBars();
    updateRecentFiles();
    connect(view_, &CPatView::pageShown, this, &CPatMain::updateStatusBar);
    view_->canvas()->frameAction = [this](int id) { return action(id); };
    view_->canvas()->onStateChanged = [this] { updateEditCommands(); };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CPatMain::updateEditCommands);
    connect(view_, &CPatView::templateModeChanged, this,
            [this](bool on) { showRecordGridBar(!on); });
    doc_.onChange = [this](CPatDoc::Change change) {
        grid_->documentChanged(change);
        documentChanged(change);
    };
    resize(1024, 720);
    emptyOwnClipboard();
}

const MallInfoList& CPatMain::mallInfo() const { return config_->mallInfo(); }

const PhraseList& CPatMain::phrases() const { return config_->phrases(); }

void CPatMain::emptyOwnClipboard() {
    QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (data && data->hasFormat(QString::fromLatin1(EditCommands::kClipboardMime))) {
        clipboard->clear();
    }
}

void CPatMain::buildMenus() {
    print_ = new PrintCommands(doc_, this);
    file_ = new FileMenu(app_, doc_, *print_, this);
    edit_ = new EditMenu(*view_, this);
    viewMenu_ = new ViewMenu(*view_, this);
    records_ = new RecordMenu(doc_, *grid_, *findDialog_, this);
    object_ = new ObjectMenu(*view_, config_->mallInfo(), config_->phrases(), this);
    template_ = new TemplateMenu(*view_, this);
    help_ = new HelpMenu(app_, this);
    groups_ = {file_, edit_, viewMenu_, records_, object_, template_, config_, help_};
    connectGroups();

    QMenuBar* bar = menuBar();
    file_->addTo(bar);
    edit_->addTo(bar);
    viewMenu_->addTo(bar, statusBar());
    records_->addTo(bar);
    object_->addTo(bar);
    template_->addTo(bar, records_->action(RC::ApplyDesign),
                     {library_->templatePanel()->deleteCommand(),
                      library_->backgroundPanel()->addCommand(),
                      library_->backgroundPanel()->deleteCommand(),
                      library_->picturePanel()->addCommand(),
                      library_->picturePanel()->deleteCommand()});
    print_->addListPrint(print_->buildMenu(bar), records_->action(RC::PrintList));
    config_->addTo(bar);
    help_->addTo(bar);
}

void CPatMain::connectGroups() {
    const auto note = [this](const QString& text, std::function<bool()> holds) {
        statusNote_->showNote(text, std::move(holds));
    };
    for (CommandGroup* group : std::initializer_list<CommandGroup*>{
             file_, edit_, viewMenu_, records_, object_, &object_->text(), template_, print_, config_, help_}) {
        group->showStatus = note;
    }
    const auto updateAll = [this] { updateCommands(); };
    const auto updateEditing = [this] { updateEditCommands(); };
    edit_->commandsChanged = updateEditing;
    object_->commandsChanged = updateEditing;
    viewMenu_->commandsChanged = updateAll;
    records_->commandsChanged = updateAll;
    template_->commandsChanged = updateAll;
    viewMenu_->barToggle = [this](int id) {
        QToolBar* bar = toolBars_->bar(id);
        return bar ? bar->toggleViewAction() : sideBar(id)->toggleViewAction();
    };
    records_->templateMode = [this] { return view_->templateMode(); };
    records_->saveModified = [this] { return app_.saveModified(); };
    records_->documentPath = [this] { return app_.documentPath(); };
    print_->documentPath = [this] { return app_.documentPath(); };
    records_->fillLibraryChoice = [this](RecordCommandContext& context) {
        library_->fillContext(context);
    };
    records_->openInsertPopup = [this] { toolBars_->openPopup(RC::InsertMenu); };
    template_->templateSaved = [this](const QByteArray& category, const QByteArray& background,
                                      const QString& path) {
        library_->showSavedTemplate(category, background, path);
    };
    config_->variablesRenamed = [this] {
        grid_->renameVariableColumns();
        findDialog_->renameVariables();
    };
}

QAction* CPatMain::action(int id) const {
    for (const CommandGroup* group : groups_) {
        if (QAction* found = group->action(id)) return found;
    }
    return nullptr;
}

QAction* CPatMain::findCommand(int id) const {
    if (QAction* own = action(id)) return own;
    // The commands the view's command sets put into the menus carry their ids.
    std::function<QAction*(const QList<QAction*>&)> search = [&](const QList<QAction*>& list) -> QAction* {
        for (QAction* item : list) {
            if (item->isSeparator()) continue;
            if (item->data().toInt() == id) return item;
            if (QMenu* sub = item->menu()) {
                if (QAction* found = search(sub->actions())) return found;
            }
        }
        return nullptr;
    };
    if (QAction* found = search(menuBar()->actions())) return found;
    return object_ ? object_->text().action(id) : nullptr;
}

void CPatMain::buildToolBars() {
    view_->toolButton = [this](int id) { return toolBars_->buttonOf(id); };
    toolBars_->fill(
        object_->text(), [this](int id) { return findCommand(id); },
        [this](int id) -> QMenu* {
            if (id == RC::InsertMenu) return records_->insertMenu();
            return object_->text().insertMenu(id);
        });
    decorateMenuCommands([this](int id) { return findCommand(id); });
    addMenuPrompts([this](int id) { return findCommand(id); });
    object_->arrange();
}

void CPatMain::buildRecordGrid() {
    recordGridBar_ = new QDockWidget(QString::fromUtf8("信息编辑"), this);
    recordGridBar_->setObjectName(QStringLiteral("RecordGridBar"));
    recordGridBar_->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    grid_ = new RecordGrid(doc_, recordGridBar_);
    grid_->templateMode = [this] { return view_->templateMode(); };
    grid_->commandAvailable = [this](int id) {
        const QAction* command = action(id);
        return command && command->isEnabled();
    };
    // The grid's menu runs the same commands as the main menu, 信息打印 and the page
    // sizes included once their commands exist.
    connect(grid_, &RecordGrid::commandRequested, this, [this](int id) {
        if (QAction* command = action(id)) {
            command->trigger();
        } else {
            records_->run(id);
        }
    });
    connect(grid_, &RecordGrid::statusChanged, this, [this] {
        updateStatusBar();
        updateCommands();
    });
    recordGridBar_->setWidget(grid_);
    addDockWidget(Qt::BottomDockWidgetArea, recordGridBar_);

    findDialog_ = new RecordFindDialog(doc_, *grid_, this);
    findDialog_->hide();
}

void CPatMain::placeSideBars() {
    QDockWidget* backgrounds = library_->backgroundBar();
    QDockWidget* templates = library_->templateBar();
    for (QDockWidget* bar : {backgrounds, templates, recordGridBar_}) {
        bar->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                         QDockWidget::DockWidgetFloatable);
    }
    // 底图 above 模板/常用图库 on the left, 150 pixels across; 信息编辑 178 high below
    // the page, the left column running down beside it.
    splitDockWidget(backgrounds, templates, Qt::Vertical);
    resizeDocks({backgrounds, templates}, {150, 150}, Qt::Horizontal);
    resizeDocks({backgrounds, templates}, {400, 400}, Qt::Vertical);
    resizeDocks({recordGridBar_}, {178}, Qt::Vertical);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
}

QTabWidget* CPatMain::libraryTabs() const { return library_->tabs(); }

QDockWidget* CPatMain::sideBar(int id) const {
    switch (id) {
        case ViewCommand::BackgroundBar: return library_->backgroundBar();
        case ViewCommand::TemplateBar: return library_->templateBar();
        case ViewCommand::RecordBar: return recordGridBar_;
        default: return nullptr;
    }
}

void CPatMain::buildLibrary() {
    doc_.newRecordInitializer = [this](InfoRecord& record) { library_->initialiseRecord(record); };
    const auto frameAction = [this](int id) { return action(id); };
    library_->backgroundPanel()->frameAction = frameAction;
    library_->templatePanel()->frameAction = frameAction;
    for (LibraryListPanel* panel : {static_cast<LibraryListPanel*>(library_->backgroundPanel()),
                                    static_cast<LibraryListPanel*>(library_->templatePanel()),
                                    static_cast<LibraryListPanel*>(library_->picturePanel())}) {
        // The frame's commands in the panels' menus show their current state.
        connect(panel, &LibraryListPanel::extendContextMenu, this, &CPatMain::updateCommands);
    }
    library_->offerOutsideEditors();
    connect(library_->backgroundPanel(), &BackgroundPanel::selectionChanged, this,
            &CPatMain::updateCommands);
    connect(library_->picturePanel(), &PictureLibraryPanel::pictureChosen, &object_->pictures(),
            &PictureCommands::placeLibraryPicture);
    library_->load();
}

void CPatMain::buildStatusBar() {
    const QStringList samples = StatusTexts::samples();
    const char* const tips[] = {"信息总数", "当前信息", "打印队列中的信息数", "打印总份数",
                                "底图类别", "底图名称", "模板名称", "幅面",
                                "页面上的对象数", "所选对象"};
    for (int i = 0; i < StatusTexts::kPaneCount; ++i) {
        auto* pane = new QLabel(this);
        QString tip = QString::fromUtf8(tips[i]);
        // Panes 5 to 8 end in (*) when every record agrees with the current one.
        if (i >= 4 && i <= 7) tip += QString::fromUtf8("；带(*)表示全部信息的此项相同");
        pane->setToolTip(tip);
        pane->setObjectName(QStringLiteral("pane%1").arg(StatusTexts::kFirstPaneId + i));
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(samples.at(i)) +
                              2 * pane->margin() + 2 * pane->frameWidth() + 4);
        statusBar()->addPermanentWidget(pane);
        statusPanes_.at(size_t(i)) = pane;
    }
    statusNote_ = new StatusNote(this);
    statusBar()->addWidget(statusNote_, 1);
    designHint_ = new DesignHint(doc_, this);
    designHint_->apply = [this] { records_->run(RC::ApplyDesign); };
    statusBar()->addWidget(designHint_);
}

void CPatMain::updateStatusBar() {
    const QStringList texts = StatusTexts::compute(doc_);
    for (int i = 0; i < StatusTexts::kPaneCount; ++i)
        statusPanes_.at(size_t(i))->setText(texts.at(i));
}

void CPatMain::setMessageText(const QString& text) {
    statusBar()->showMessage(text);
    statusBar()->repaint();
}

void CPatMain::showRecordGridBar(bool show) {
    if (recordGridBar_ && recordGridBar_->isVisible() != show) recordGridBar_->setVisible(show);
}

void CPatMain::updateRecentFiles() { file_->showRecentFiles(app_.recentFiles().files()); }

void CPatMain::updateCommands() {
    template_->update();
    library_->updateCommands();
    viewMenu_->update();
    records_->update();
}

void CPatMain::updateEditCommands() {
    // The canvas calls here after every edit of the page.
    if (designHint_) designHint_->pageEdited();
    if (statusNote_) statusNote_->refresh();
    edit_->update();
    object_->update();
    toolBars_->updateButtons();
    toolBars_->updateTextCombos();
}

void CPatMain::updateTextCombos() { toolBars_->updateTextCombos(); }

void CPatMain::updateTitle(const QString& documentTitle) {
    documentTitle_ = documentTitle;
    refreshTitle();
}

void CPatMain::refreshTitle() {
    const QString title = QString::fromUtf8(kProgramName) + QStringLiteral(" - ") +
                          documentTitle_ + (doc_.isModified() ? QStringLiteral("*") : QString());
    if (windowTitle() != title) setWindowTitle(title);
}

void CPatMain::documentChanged(CPatDoc::Change change) {
    refreshTitle();
    if (designHint_) designHint_->documentChanged(change);
    updateCommands();
    updateEditCommands();
    // Another record, or other records, show whole; a change on the shown page (its
    // background, its placeholders) and a mere mark of modification keep the zoom.
    if (change == CPatDoc::Change::Records || change == CPatDoc::Change::CurrentRecord) {
        view_->showCurrentRecord();
    } else if (change == CPatDoc::Change::Page) {
        view_->canvas()->refresh();
    }
    updateStatusBar();
}

void CPatMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CPatMain::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    activateWindow();
    // Opened once the drop is over: the save question must not hold up the drag's source.
    const QString path = urls.first().toLocalFile();
    QMetaObject::invokeMethod(this, [this, path] { app_.openDocument(path); }, Qt::QueuedConnection);
}

void CPatMain::closeEvent(QCloseEvent* event) {
    if (app_.saveModified()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace pemo
