#include "CPatMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressDialog>
#include <QStatusBar>
#include <memory>

#include "CPatApp.h"
#include "gui/common/CommandIds.h"
#include "DesignHint.h"
#include "gui/view/FullScreenShow.h"
#include "HelpWindow.h"
#include "LibraryDocks.h"
#include "MainToolBars.h"
#include "MenuPrompts.h"
#include "SaveName.h"
#include "gui/common/ToolIcons.h"
#include "core/blocks/Twips.h"
#include "gui/canvas/CPatCanvas.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/EditCommands.h"
#include "core/document/OutputPlaceholders.h"
#include "core/document/PageDrawing.h"
#include "core/document/PagePictureFile.h"
#include "core/document/PageSizes.h"
#include "core/document/StatusTexts.h"
#include "core/document/TemplateFile.h"
#include "core/document/UndoOrder.h"
#include "gui/config/MallInfoDialog.h"
#include "gui/common/OutsideEditorMenu.h"
#include "gui/config/OutsideEditorsDialog.h"
#include "gui/config/PhraseDialog.h"
#include "gui/config/VariableDialog.h"
#include "gui/library/BackgroundPanel.h"
#include "gui/library/PictureLibraryPanel.h"
#include "gui/library/SaveTemplateDialog.h"
#include "gui/library/TemplatePanel.h"
#include "core/platform/Messages.h"
#include "core/platform/ProgramInfo.h"
#include "gui/records/RecordFindDialog.h"
#include "gui/records/RecordGrid.h"
#include "gui/records/RecordExportCommand.h"
#include "gui/view/ListPrintCommand.h"
#include "gui/records/PriceUpdateCommand.h"
#include "gui/records/RecordImportCommand.h"
#include "gui/view/ShapeCommands.h"
#include "gui/view/StyleCommands.h"
#include "gui/view/TextCommands.h"
#include "gui/view/CPatView.h"
#include "gui/view/ViewCommands.h"
#include "gui/view/PictureCommands.h"
#include "gui/view/PrintCommands.h"

namespace pemo {

namespace RC = RecordCommand;

CPatMain::CPatMain(CPatApp& app, CPatDoc& doc)
    : app_(app),
      doc_(doc),
      mallInfo_(MallInfoList::build()),
      phrases_(PhraseList::build()),
      recordCommands_(doc) {
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
    QMenu* printMenu = (new PrintCommands(doc_, this))->buildMenu(menuBar());
    moveListPrint(printMenu);
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

void CPatMain::moveListPrint(QMenu* printMenu) {
    QAction* listPrint = action(RC::PrintList);
    for (QObject* owner : listPrint->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(owner)) menu->removeAction(listPrint);
    }
    // Before the separator that precedes 打印机设置.
    const QList<QAction*> items = printMenu->actions();
    QAction* before = items.size() >= 2 ? items.at(items.size() - 2) : nullptr;
    printMenu->insertAction(before, listPrint);
    printMenu->insertSeparator(listPrint);
}

void CPatMain::emptyOwnClipboard() {
    QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (data && data->hasFormat(QString::fromLatin1(EditCommands::kClipboardMime))) {
        clipboard->clear();
    }
}

QAction* CPatMain::addCommand(QMenu* menu, int id, const QString& text, const QKeySequence& key) {
    auto* action = new QAction(text, this);
    action->setData(id);
    if (!key.isEmpty()) action->setShortcut(key);
    menu->addAction(action);
    actions_.insert(id, action);
    return action;
}

void CPatMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QString::fromUtf8("文件(&F)"));
    connect(addCommand(file, CommandId::FileNew, QString::fromUtf8("新建(&N)"), QKeySequence::New),
            &QAction::triggered, this, [this] { app_.newDocument(); });
    connect(addCommand(file, CommandId::FileOpen, QString::fromUtf8("打开(&O)..."),
                       QKeySequence::Open),
            &QAction::triggered, this, [this] {
                const QString path = QFileDialog::getOpenFileName(
                    this, QString::fromUtf8("打开"), app_.dialogFolder(),
                    QString::fromUtf8("佩墨文件 (*.vxq)"));
                if (!path.isEmpty()) app_.openDocument(path);
            });
    connect(addCommand(file, CommandId::FileSave, QString::fromUtf8("保存(&S)"), QKeySequence::Save),
            &QAction::triggered, this, [this] { app_.saveDocument(); });
    connect(addCommand(file, CommandId::FileSaveAs, QString::fromUtf8("另存为(&A)...")),
            &QAction::triggered, this, [this] { app_.saveDocumentAs(); });
    file->addSeparator();
    QAction* exportPicture =
        addCommand(file, ViewCommand::ExportPicture, QString::fromUtf8("转存为(&E)..."));
    exportPicture->setStatusTip(QString::fromUtf8("将当前模板转存为BMP文件"));
    connect(exportPicture, &QAction::triggered, this, &CPatMain::exportPagePicture);
    QAction* pdf = addCommand(file, kExportPdf, QString::fromUtf8("导出PDF(&D)..."));
    pdf->setStatusTip(QString::fromUtf8("把打印队列按项导出为PDF文件"));
    pdf->setIcon(toolIcon("document-export"));
    connect(pdf, &QAction::triggered, this, &CPatMain::exportPdf);
    file->addSeparator();
    recentMenu_ = file;
    recentSeparator_ = file->addSeparator();
    connect(addCommand(file, CommandId::AppExit, QString::fromUtf8("退出(&X)")),
            &QAction::triggered, this, &QWidget::close);

    buildEditMenu();
    buildViewMenu();
    buildRecordMenu();
    buildObjectMenu();
    buildTemplateMenu();
    buildConfigMenu();

    QMenu* help = menuBar()->addMenu(QString::fromUtf8("帮助(&H)"));
    connect(addCommand(help, CommandId::Help, QString::fromUtf8("《佩墨》帮助"), Qt::Key_F1),
            &QAction::triggered, this, [this] { HelpWindow::showHelp(this); });
    connect(addCommand(help, CommandId::AppAbout, QString::fromUtf8("关于佩墨(&A)...")),
            &QAction::triggered, this, [this] { app_.showAbout(this); });
}

void CPatMain::buildEditMenu() {
    namespace EC = EditCommand;
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8("编辑(&E)"));
    struct Item {
        int id;
        const char* text;
        QKeySequence key;
    };
    const auto Ctrl = Qt::CTRL;
    const std::vector<std::vector<Item>> groups = {
        {{EC::Undo, "撤消(&U)", Ctrl | Qt::Key_Z}, {EC::Redo, "恢复(&R)", Ctrl | Qt::Key_Y}},
        {{EC::Cut, "剪切(&T)", Ctrl | Qt::Key_X},
         {EC::Copy, "复制(&C)", Ctrl | Qt::Key_C},
         {EC::Paste, "粘贴(&P)", Ctrl | Qt::Key_V},
         // The canvas handles the Delete key itself; the menu only names it.
         {EC::Delete, "删除(&D)\tDel", {}},
         {EC::SelectAll, "全选(&S)", Ctrl | Qt::Key_A}},
        {{EC::AlignTop, "顶框对齐(&O)", {}},
         {EC::CentreVertically, "上下居中(&H)", {}},
         {EC::AlignBottom, "底框对齐(&B)", {}}},
        {{EC::AlignLeft, "左框对齐(&L)", {}},
         {EC::CentreHorizontally, "左右居中(&V)", {}},
         {EC::AlignRight, "右框对齐(&G)", {}}},
        {{EC::TopEdges, "上边框对齐", {}}, {EC::BottomEdges, "下边框对齐", {}}},
        {{EC::LeftEdges, "左边框对齐", {}}, {EC::RightEdges, "右边框对齐", {}}},
        {{EC::LayerUp, "上移一层", {}},
         {EC::LayerDown, "下移一层", {}},
         {EC::ToTop, "移到顶层", {}},
         {EC::ToBottom, "移到底层", {}}},
    };
    bool first = true;
    for (const auto& group : groups) {
        if (!first) menu->addSeparator();
        first = false;
        for (const Item& item : group) {
            const int id = item.id;
            connect(addCommand(menu, id, QString::fromUtf8(item.text), item.key),
                    &QAction::triggered, this, [this, id] {
                        // A paste newer than the list's last change is taken back whole.
                        if (id == EC::Undo && undoesPaste() &&
                            UndoOrder::undoSide(doc_) != UndoOrder::Side::List) {
                            grid_->undoPaste();
                        } else if (id == EC::Redo && redoesPaste() &&
                                   UndoOrder::redoSide(doc_) != UndoOrder::Side::List) {
                            grid_->redoPaste();
                        } else {
                            view_->canvas()->runCommand(id);
                        }
                        updateEditCommands();
                    });
        }
    }
    connect(menu, &QMenu::aboutToShow, this, &CPatMain::updateEditCommands);
}

void CPatMain::buildObjectMenu() {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8("对象(&O)"));
    objectMenu_ = menu;
    textCommands_ = new TextCommands(*view_, mallInfo_, phrases_, this);
    auto* pictures = new PictureCommands(*view_, this);
    pictureCommands_ = pictures;
    textCommands_->pictureItem = [pictures](int id) { return pictures->action(id); };
    textCommands_->addTo(menu);
    view_->canvas()->commonPhrase = [this](int n) { return phrases_.phrase(n); };
    view_->canvas()->extendContextMenu = [this](QMenu& context) {
        textCommands_->addFormatMenuTo(context);
    };
    menu->addSeparator();
    ShapeCommands::addTo(menu, *view_);
    StyleCommands::addTo(menu, *view_);
    menu->addSeparator();
    QAction* lock = addCommand(menu, EditCommand::Lock, QString::fromUtf8("锁定"));
    lock->setCheckable(true);
    connect(lock, &QAction::triggered, this, [this] {
        view_->canvas()->runCommand(EditCommand::Lock);
        updateEditCommands();
    });
    connect(menu, &QMenu::aboutToShow, this, &CPatMain::updateEditCommands);
    pictures->addTo(menu);
}

// A paste into the grid changes many records in one step: when it is the last change of
// the record shown, 撤消 takes back the whole paste rather than this record's share.
bool CPatMain::undoesPaste() const {
    return grid_ && grid_->pasteIsLastChangeOf(doc_.currentRecord());
}

// And 恢复 puts a paste taken back so back whole.
bool CPatMain::redoesPaste() const {
    return grid_ && grid_->pasteIsLastUndoneChangeOf(doc_.currentRecord());
}

void CPatMain::updateEditCommands() {
    // The canvas calls here after every edit of the page.
    if (designHint_) designHint_->pageEdited();
    const CPatCanvas* canvas = view_->canvas();
    for (int id = EditCommand::Undo; id <= EditCommand::Lock; ++id) {
        if (QAction* command = action(id)) command->setEnabled(canvas->isCommandEnabled(id));
    }
    if (undoesPaste()) action(EditCommand::Undo)->setEnabled(true);
    if (redoesPaste()) action(EditCommand::Redo)->setEnabled(true);
    for (int id = EditCommand::TopEdges; id <= EditCommand::RightEdges; ++id) {
        if (QAction* command = action(id)) command->setEnabled(canvas->isCommandEnabled(id));
    }
    action(EditCommand::Lock)->setChecked(canvas->isCommandChecked(EditCommand::Lock));
    if (textCommands_) textCommands_->update();
    if (pictureCommands_) pictureCommands_->updateStates();
    if (toolBars_) {
        toolBars_->updateButtons();
        toolBars_->updateTextCombos();
    }
}

void CPatMain::runFullScreenShow() {
    FullScreenShow show(doc_, view_->templateMode(), this);
    show.exec();
    view_->canvas()->refresh();
}

void CPatMain::updateTextCombos() {
    if (toolBars_) toolBars_->updateTextCombos();
}

QAction* CPatMain::findCommand(int id) const {
    if (QAction* own = actions_.value(id)) return own;
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
    return textCommands_ ? textCommands_->action(id) : nullptr;
}

void CPatMain::buildToolBars() {
    view_->toolButton = [this](int id) { return toolBars_->buttonOf(id); };
    toolBars_->fill(
        *textCommands_, [this](int id) { return findCommand(id); },
        [this](int id) -> QMenu* {
            if (id == RC::InsertMenu) return insertMenu_;
            return textCommands_->insertMenu(id);
        });
    decorateMenuCommands([this](int id) { return findCommand(id); });
    addMenuPrompts([this](int id) { return findCommand(id); });
    arrangeObjectMenu();
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
            runRecordCommand(id);
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
    onVariablesRenamed = [this] {
        grid_->renameVariableColumns();
        findDialog_->renameVariables();
    };
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
    // Outside editors open the selected library file; the panel then reads it again.
    const std::pair<LibraryListPanel*, EditorPlace> editing[] = {
        {library_->backgroundPanel(), EditorPlace::BackgroundPanel},
        {library_->picturePanel(), EditorPlace::PicturePanel}};
    for (const auto& [panel, place] : editing) {
        connect(panel, &LibraryListPanel::extendContextMenu, this,
                [this, panel = panel, place = place](QMenu* menu, const QString& file) {
                    if (file.isEmpty()) return;
                    addEditorItems(menu, file, place, this,
                                   [panel, file] { panel->refreshFile(file); });
                });
    }
    connect(library_->backgroundPanel(), &BackgroundPanel::selectionChanged, this,
            &CPatMain::updateCommands);
    connect(library_->picturePanel(), &PictureLibraryPanel::pictureChosen, pictureCommands_,
            &PictureCommands::placeLibraryPicture);
    library_->load();
}

void CPatMain::buildRecordMenu() {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8("信息(&I)"));
    insertMenu_ = new QMenu(QString::fromUtf8("信息插入(&I)"), this);
    for (int id = RC::InsertFirst; id <= RC::InsertLast; ++id) {
        connect(addCommand(insertMenu_, id, RecordCommands::insertMenuText(id)),
                &QAction::triggered, this, [this, id] { runRecordCommand(id); });
    }
    QAction* insert = menu->addMenu(insertMenu_);
    insert->setData(RC::InsertMenu);
    actions_.insert(RC::InsertMenu, insert);
    // Ctrl+I opens the same list under its toolbar button (at the mouse pointer while
    // the toolbar is hidden).
    auto* insertKey = new QAction(this);
    insertKey->setData(RC::InsertMenu);
    insertKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(insertKey, &QAction::triggered, this, &CPatMain::showInsertPopup);
    addAction(insertKey);

    struct Item {
        int id;
        const char* text;
        QKeySequence key;
    };
    const auto Ctrl = Qt::CTRL;
    // 信息插入 and the first group share the menu's first section.
    const std::vector<std::vector<Item>> groups = {
        {{RC::Delete, "信息删除(&D)", Ctrl | Qt::Key_D}, {RC::Clear, "信息清除(&A)", {}}},
        {{RC::DeleteEmpty, "删除空信息(&L)", Ctrl | Qt::Key_L}},
        {{RC::Find, "查找(&F)", Ctrl | Qt::Key_F}},
        {{RC::QueueAll, "全选打印队列(&P)", {}}, {RC::QueueNone, "清空打印队列(&C)", Ctrl | Qt::Key_Q}},
        {{RC::SetCurrentPrint, "设置当前信息打印", {}},
         {RC::CancelCurrentPrint, "取消当前信息打印", {}}},
        {{RC::First, "第一条信息(&H)", Ctrl | Qt::Key_Home},
         {RC::Last, "最后一条信息(&E)", Ctrl | Qt::Key_End},
         {RC::Previous, "前一条信息(&R)", Ctrl | Qt::Key_Up},
         {RC::Next, "下一条信息(&N)", Ctrl | Qt::Key_Down},
         {RC::PreviousGroup, "前一组信息", Ctrl | Qt::Key_PageUp},
         {RC::NextGroup, "下一组信息", Ctrl | Qt::Key_PageDown}},
    };
    bool firstGroup = true;
    for (const auto& group : groups) {
        if (!firstGroup) menu->addSeparator();
        firstGroup = false;
        for (const Item& item : group) {
            const int id = item.id;
            if (id == RC::Find) {
                QAction* find = addCommand(menu, id, QString::fromUtf8(item.text), item.key);
                find->setCheckable(true);
                connect(find, &QAction::triggered, findDialog_, &QWidget::setVisible);
                connect(findDialog_, &RecordFindDialog::visibilityChanged, find,
                        &QAction::setChecked);
                continue;
            }
            connect(addCommand(menu, id, QString::fromUtf8(item.text), item.key),
                    &QAction::triggered, this, [this, id] { runRecordCommand(id); });
        }
    }
    menu->addSeparator();
    auto* import = new RecordImportCommand(doc_, *grid_, this);
    import->saveModified = [this] { return app_.saveModified(); };
    import->templateMode = [this] { return view_->templateMode(); };
    for (const int id : {RC::ImportText, RC::ImportWorkbook, RC::ImportDatabase}) {
        if (id == RC::ImportDatabase) menu->addSeparator();
        connect(addCommand(menu, id, RecordImportCommand::menuText(id)), &QAction::triggered,
                import, [import, id] { import->run(id); });
    }
    auto* priceUpdate = new PriceUpdateCommand(doc_, *grid_, this);
    priceUpdate->documentPath = [this] { return app_.documentPath(); };
    for (const auto& [id, kind] : {std::pair{RC::PriceUpdateText, ImportSettings::Kind::Text},
                                   std::pair{RC::PriceUpdateWorkbook, ImportSettings::Kind::Workbook}}) {
        connect(addCommand(menu, id, PriceUpdateCommand::menuText(kind)), &QAction::triggered, priceUpdate,
                [priceUpdate, kind] { priceUpdate->run(kind); });
    }
    menu->addSeparator();
    auto* exporter = new RecordExportCommand(doc_, this);
    for (const int id : {RC::ExportText, RC::ExportWorkbook}) {
        connect(addCommand(menu, id, RecordExportCommand::menuText(id)), &QAction::triggered,
                exporter, [exporter, id] { exporter->run(id); });
    }
    menu->addSeparator();
    const Item unify[] = {{RC::UnifySize, "统一幅面(&S)", {}},
                          {RC::UnifyBackground, "统一底图(&B)", {}},
                          {RC::UnifyTemplate, "统一模板(&T)", {}}};
    for (const Item& item : unify) {
        const int id = item.id;
        connect(addCommand(menu, id, QString::fromUtf8(item.text)), &QAction::triggered, this,
                [this, id] { runRecordCommand(id); });
    }
    // 信息打印 goes into the 打印 menu once that exists (moveListPrint).
    auto* listPrint = new ListPrintCommand(doc_, this);
    connect(addCommand(menu, RC::PrintList, QString::fromUtf8("信息打印(&I)...")), &QAction::triggered,
            listPrint, &ListPrintCommand::run);
    connect(menu, &QMenu::aboutToShow, this, &CPatMain::updateCommands);
}

void CPatMain::buildTemplateMenu() {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8("模板(&T)"));
    connect(addCommand(menu, kSaveTemplate, QString::fromUtf8("保存模板(&S)")), &QAction::triggered,
            this, [this] { saveTemplate(false); });
    connect(addCommand(menu, kSaveTemplateAs, QString::fromUtf8("另存模板(&A)")),
            &QAction::triggered, this, [this] { saveTemplate(true); });
    QAction* applyDesign = addCommand(menu, RC::ApplyDesign, QString::fromUtf8("应用到所有信息(&L)"));
    applyDesign->setStatusTip(
        QString::fromUtf8("把当前信息的幅面、底图和对象用到所有信息上，各项保留自己的内容"));
    connect(applyDesign, &QAction::triggered, this, [this] { runRecordCommand(RC::ApplyDesign); });
    menu->addSeparator();
    // The menu's items run the panels' commands and follow their state; the panels'
    // own menus name them without the menu's keys.
    const auto addLibraryCommand = [this, menu](QAction* command, const char* text) {
        QAction* item = addCommand(menu, command->data().toInt(), QString::fromUtf8(text));
        item->setEnabled(command->isEnabled());
        connect(item, &QAction::triggered, command, &QAction::trigger);
        connect(command, &QAction::changed, item,
                [item, command] { item->setEnabled(command->isEnabled()); });
    };
    addLibraryCommand(library_->templatePanel()->deleteCommand(), "删除模板(&D)");
    menu->addSeparator();
    for (int index = 0; index < PageSizes::kStandardCount; ++index) {
        // A4幅面(&4) … A0幅面(&0) on Ctrl+4 … Ctrl+0.
        const int digit = 4 - index;
        QAction* size =
            addCommand(menu, ViewCommand::FirstStandardSize + index,
                       QStringLiteral("%1(&%2)").arg(PageSizes::standardName(index)).arg(digit),
                       QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + digit)));
        size->setCheckable(true);
        connect(size, &QAction::triggered, this, [this, index] {
            view_->setStandardPageSize(index);
            updateCommands();
        });
    }
    menu->addSeparator();
    QAction* custom = addCommand(menu, ViewCommand::CustomSize, QString::fromUtf8("自定义幅面(&9)"),
                                 QKeySequence(Qt::CTRL | Qt::Key_9));
    custom->setCheckable(true);
    connect(custom, &QAction::triggered, this, [this] {
        view_->customPageSize();
        updateCommands();
    });
    connect(addCommand(menu, ViewCommand::RotatePage, QString::fromUtf8("横向幅面")),
            &QAction::triggered, this, [this] {
                view_->rotatePage();
                updateCommands();
            });
    menu->addSeparator();
    addLibraryCommand(library_->backgroundPanel()->addCommand(), "增加底图(&B)");
    addLibraryCommand(library_->backgroundPanel()->deleteCommand(), "删除底图(&X)");
    menu->addSeparator();
    addLibraryCommand(library_->picturePanel()->addCommand(), "增加图片(&I)");
    addLibraryCommand(library_->picturePanel()->deleteCommand(), "删除图片(&P)");
    connect(menu, &QMenu::aboutToShow, this, &CPatMain::updateCommands);
}

void CPatMain::buildConfigMenu() {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8("配置(&S)"));
    connect(addCommand(menu, kMallInfoConfig, QString::fromUtf8("商场信息(&S)")),
            &QAction::triggered, this, &CPatMain::configureMallInfo);
    connect(addCommand(menu, kVariableConfig, QString::fromUtf8("变量信息(&V)")),
            &QAction::triggered, this, &CPatMain::configureVariables);
    connect(addCommand(menu, kPhraseConfig, QString::fromUtf8("常用短语(&C)")),
            &QAction::triggered, this, &CPatMain::configurePhrases);
    connect(addCommand(menu, kEditorsConfig, QString::fromUtf8("外部编辑程序(&E)")),
            &QAction::triggered, this, &CPatMain::configureEditors);
}

void CPatMain::refreshPlaceholders() {
    doc_.refreshAllPlaceholders();
    doc_.notify(CPatDoc::Change::Page);
}

void CPatMain::configureMallInfo() {
    MallInfoDialog dialog(mallInfo_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QList<QByteArray> values = dialog.values();
    for (int i = 0; i < values.size(); ++i) mallInfo_.setValue(i, values.at(i));
    if (!mallInfo_.save()) Messages::current().inform(QString::fromUtf8("无法写入 PemStore.dic。"));
    refreshPlaceholders();
}

void CPatMain::configureVariables() {
    VariableDialog dialog(doc_.variableNames, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QList<QByteArray> names = dialog.names();
    for (int i = 0; i < names.size(); ++i) doc_.variableNames.setName(i, names.at(i));
    doc_.setModified();
    if (onVariablesRenamed) onVariablesRenamed();
    refreshPlaceholders();
}

void CPatMain::configurePhrases() {
    PhraseDialog dialog(phrases_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    phrases_.clear();
    for (const QByteArray& phrase : dialog.phrases()) phrases_.add(phrase);
    if (!phrases_.save()) Messages::current().inform(QString::fromUtf8("无法写入 PemText.dic。"));
}

void CPatMain::configureEditors() {
    OutsideEditorsDialog dialog(OutsideEditors::current(), this);
    dialog.exec();
}

void CPatMain::buildViewMenu() {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8("视图(&V)"));
    addBarToggles(menu);
    menu->addSeparator();
    // Each switch turns the view's own state over, so a key press can never act on a stale
    // tick.
    using Get = std::function<bool()>;
    using Set = std::function<void(bool)>;
    const auto toggle = [this, menu](int id, const char* text, const QKeySequence& key,
                                     const Get& get, const Set& set) {
        QAction* action = addCommand(menu, id, QString::fromUtf8(text), key);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, get, set] {
            set(!get());
            updateCommands();
        });
    };
    toggle(ViewCommand::ShowAlignmentLines, "显示对齐线(&A)", QKeySequence(),
           [this] { return view_->showAlignmentLines(); },
           [this](bool on) { view_->setShowAlignmentLines(on); });
    toggle(ViewCommand::ShowFrameLines, "显示边框线(&R)", QKeySequence(Qt::ALT | Qt::Key_B),
           [this] { return view_->showFrameLines(); },
           [this](bool on) { view_->setShowFrameLines(on); });
    toggle(ViewCommand::TemplateMode, "模板方式(&M)", QKeySequence(Qt::Key_F8),
           [this] { return view_->templateMode(); },
           [this](bool on) { view_->setTemplateMode(on); });
    menu->addSeparator();
    connect(addCommand(menu, ViewCommand::ZoomIn, QString::fromUtf8("放大视图"), Qt::Key_F9),
            &QAction::triggered, view_, &CPatView::zoomIn);
    connect(addCommand(menu, ViewCommand::ZoomOut, QString::fromUtf8("缩小视图"), Qt::Key_F10),
            &QAction::triggered, view_, &CPatView::zoomOut);
    connect(addCommand(menu, ViewCommand::ActualSize, QString::fromUtf8("原大显示")),
            &QAction::triggered, view_, &CPatView::showActualSize);
    connect(addCommand(menu, ViewCommand::FitPage, QString::fromUtf8("整版显示")),
            &QAction::triggered, view_, [this] {
                view_->fitPage();
                view_->canvas()->refresh();
            });
    menu->addSeparator();
    QAction* bar = addCommand(menu, CommandId::ViewStatusBar, QString::fromUtf8("状态栏(&S)"));
    bar->setCheckable(true);
    bar->setChecked(true);
    connect(bar, &QAction::toggled, statusBar(), &QWidget::setVisible);
    menu->addSeparator();
    QAction* show = addCommand(menu, kFullScreen, QString::fromUtf8("全屏显示"), Qt::Key_F2);
    show->setIcon(toolIcon("view-fullscreen"));
    connect(show, &QAction::triggered, this, &CPatMain::runFullScreenShow);
    connect(menu, &QMenu::aboutToShow, this, &CPatMain::updateCommands);
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
    designHint_ = new DesignHint(doc_, this);
    designHint_->apply = [this] { runRecordCommand(RC::ApplyDesign); };
    statusBar()->addWidget(designHint_);
}

void CPatMain::updateStatusBar() {
    const QStringList texts = StatusTexts::compute(doc_);
    for (int i = 0; i < StatusTexts::kPaneCount; ++i)
        statusPanes_.at(size_t(i))->setText(texts.at(i));
}

void CPatMain::showRecordGridBar(bool show) {
    if (recordGridBar_ && recordGridBar_->isVisible() != show) recordGridBar_->setVisible(show);
}

void CPatMain::exportPagePicture() {
    const InfoRecord* record = doc_.currentRecord();
    if (!record) return;
    const QString bmp = QString::fromUtf8("BMP图象 (*.bmp)");
    const QString png = QString::fromUtf8("PNG图象 (*.png)");
    QString filter = bmp;
    const QString chosen = QFileDialog::getSaveFileName(this, QString::fromUtf8("转存为"), app_.dialogFolder(),
                                                        bmp + QStringLiteral(";;") + png, &filter);
    const QString path = completeSaveName(chosen, {QStringLiteral("bmp"), QStringLiteral("png")},
                                          filter == png ? QStringLiteral("png") : QStringLiteral("bmp"));
    if (path.isEmpty()) return;
    // The page as the view shows it: placeholder names in template mode.
    const QImage image =
        renderPageImage(*record, doc_.backgrounds, 150, true, view_->templateMode());
    if (!PagePictureFile::write(image, path)) {
        Messages::current().inform(QString::fromUtf8("无法写入文件 %1。").arg(path));
    }
}

void CPatMain::saveTemplate(bool askName) {
    InfoRecord* record = doc_.currentRecord();
    if (!record || record->background.name.isEmpty()) return;
    const QString folder =
        TemplateFile::folderFor(record->background.category, record->background.name);
    const QStringList existing = SaveTemplateDialog::existingTemplates(folder);
    QString name = Gbk::toUnicode(record->background.templateName);
    if (askName || name.isEmpty() || !existing.contains(name)) {
        SaveTemplateDialog dialog(existing, this);
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
        const OutputPlaceholders values(doc_, false);
        const QImage preview = renderPageImage(*record, doc_.backgrounds, previewPpi, true, false);
        path = TemplateFile::saveToLibrary(*record, doc_, name, preview);
    } catch (const FileError& error) {
        Messages::current().inform(error.message());
        return;
    }
    record->background.templateName = Gbk::fromUnicode(name);
    doc_.setModified();
    // The new template shows in the library at once.
    library_->showSavedTemplate(record->background.category, record->background.name, path);
}

void CPatMain::updateRecentFiles() {
    for (QAction* action : std::as_const(recentActions_)) {
        recentMenu_->removeAction(action);
        delete action;
    }
    recentActions_.clear();
    const QStringList files = app_.recentFiles().files();
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i)), this);
        action->setData(CommandId::FirstRecentFile + i);
        const QString path = files.at(i);
        connect(action, &QAction::triggered, this, [this, path] { app_.openDocument(path); });
        recentMenu_->insertAction(recentSeparator_, action);
        recentActions_.append(action);
    }
}

void CPatMain::showInsertPopup() { toolBars_->openPopup(RC::InsertMenu); }

RecordCommandContext CPatMain::recordCommandContext() const {
    RecordCommandContext context;
    context.visibleRowCount = grid_->visibleRowCount();
    context.templateMode = view_->templateMode();
    if (library_) library_->fillContext(context);
    // Rows selected together in the grid take the design alone; otherwise every record.
    const QRect block = grid_->cursor().selection();
    if (block.height() > 1) {
        for (int row = block.top(); row <= block.bottom() && row < doc_.recordCount(); ++row) {
            context.designTargets.push_back(row);
        }
    }
    return context;
}

void CPatMain::runRecordCommand(int id) {
    if (id == RC::InsertMenu) {
        showInsertPopup();
        return;
    }
    RecordCommandContext context = recordCommandContext();
    // Giving every record the template takes a while on a long list: a window counts
    // the records, made at the first count so that it never shows before the question.
    std::unique_ptr<QProgressDialog> progress;
    context.progress = [this, &progress](int done, int total) {
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(QString::fromUtf8("正在设置模板..."),
                                                         QString(), 0, total, this);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(300);
        }
        progress->setValue(done);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    recordCommands_.execute(id, context);
    progress.reset();
    updateCommands();
}

void CPatMain::updateCommands() {
    const InfoRecord* record = doc_.currentRecord();
    const bool hasBackground = record && !record->background.name.isEmpty();
    action(kSaveTemplate)->setEnabled(hasBackground);
    action(kSaveTemplateAs)->setEnabled(hasBackground);
    library_->backgroundPanel()->updateCommands();
    library_->templatePanel()->updateCommands();
    library_->picturePanel()->updateCommands();
    action(ViewCommand::ShowAlignmentLines)->setChecked(view_->showAlignmentLines());
    action(ViewCommand::ShowFrameLines)->setChecked(view_->showFrameLines());
    action(ViewCommand::TemplateMode)->setChecked(view_->templateMode());
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
    const RecordCommandContext context = recordCommandContext();
    for (QAction* action : actions_) {
        const int id = action->data().toInt();
        if (id >= RC::Delete && id <= RC::ApplyDesign) {
            action->setEnabled(recordCommands_.isEnabled(id, context));
        }
    }
}

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
