#include "CPatMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>

#include "CPatApp.h"
#include "CommandIds.h"
#include "HelpWindow.h"
#include "blocks/Twips.h"
#include "codecs/Archive.h"
#include "codecs/Gbk.h"
#include "document/CPatDoc.h"
#include "document/PageDrawing.h"
#include "document/TemplateFile.h"
#include "config/MallInfoDialog.h"
#include "config/PhraseDialog.h"
#include "config/VariableDialog.h"
#include "library/SaveTemplateDialog.h"
#include "platform/Messages.h"
#include "platform/ProgramInfo.h"
#include "view/CPatView.h"
#include "view/PrintCommands.h"

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
    recordPane_ = new QLabel(this);
    statusBar()->addPermanentWidget(recordPane_);
    buildMenus();
    (new PrintCommands(doc_, this))->buildMenu(menuBar());
    updateRecentFiles();
    doc_.onChange = [this](CPatDoc::Change) { documentChanged(); };
    resize(1024, 720);
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
                    this, QString::fromUtf8("打开"), QString(), QString::fromUtf8("佩墨文件 (*.vxq)"));
                if (!path.isEmpty()) app_.openDocument(path);
            });
    connect(addCommand(file, CommandId::FileSave, QString::fromUtf8("保存(&S)"), QKeySequence::Save),
            &QAction::triggered, this, [this] { app_.saveDocument(); });
    connect(addCommand(file, CommandId::FileSaveAs, QString::fromUtf8("另存为(&A)...")),
            &QAction::triggered, this, [this] { app_.saveDocumentAs(); });
    file->addSeparator();
    recentMenu_ = file;
    recentSeparator_ = file->addSeparator();
    connect(addCommand(file, CommandId::AppExit, QString::fromUtf8("退出(&X)")),
            &QAction::triggered, this, &QWidget::close);

    buildRecordMenu();
    buildTemplateMenu();
    buildConfigMenu();

    QMenu* help = menuBar()->addMenu(QString::fromUtf8("帮助(&H)"));
    connect(addCommand(help, CommandId::Help, QString::fromUtf8("《佩墨》帮助"), Qt::Key_F1),
            &QAction::triggered, this, [this] { HelpWindow::showHelp(this); });
    connect(addCommand(help, CommandId::AppAbout, QString::fromUtf8("关于佩墨(&A)...")),
            &QAction::triggered, this, [this] { app_.showAbout(this); });
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
    // Ctrl+I opens the same list at the mouse pointer.
    auto* insertKey = new QAction(this);
    insertKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(insertKey, &QAction::triggered, this, &CPatMain::showInsertPopup);
    addAction(insertKey);

    struct Item {
        int id;
        const char* text;
        QKeySequence key;
    };
    const auto Ctrl = Qt::CTRL;
    const std::vector<std::vector<Item>> groups = {
        {{RC::Delete, "信息删除(&D)", Ctrl | Qt::Key_D}, {RC::Clear, "信息清除(&A)", {}}},
        {{RC::DeleteEmpty, "删除空信息(&L)", Ctrl | Qt::Key_L}},
        {{RC::QueueAll, "全选打印队列(&P)", {}}, {RC::QueueNone, "清空打印队列(&C)", Ctrl | Qt::Key_Q}},
        {{RC::SetCurrentPrint, "设置当前信息打印", {}},
         {RC::CancelCurrentPrint, "取消当前信息打印", {}}},
        {{RC::First, "第一条信息(&H)", Ctrl | Qt::Key_Home},
         {RC::Last, "最后一条信息(&E)", Ctrl | Qt::Key_End},
         {RC::Previous, "前一条信息(&R)", Ctrl | Qt::Key_Up},
         {RC::Next, "下一条信息(&N)", Ctrl | Qt::Key_Down},
         {RC::PreviousGroup, "前一组信息", Ctrl | Qt::Key_PageUp},
         {RC::NextGroup, "下一组信息", Ctrl | Qt::Key_PageDown}},
        {{RC::UnifySize, "统一幅面(&S)", {}},
         {RC::UnifyBackground, "统一底图(&B)", {}},
         {RC::UnifyTemplate, "统一模板(&T)", {}}},
    };
    for (const auto& group : groups) {
        menu->addSeparator();
        for (const Item& item : group) {
            const int id = item.id;
            connect(addCommand(menu, id, QString::fromUtf8(item.text), item.key),
                    &QAction::triggered, this, [this, id] { runRecordCommand(id); });
        }
    }
    connect(menu, &QMenu::aboutToShow, this, &CPatMain::updateCommands);
}

void CPatMain::buildTemplateMenu() {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8("模板(&T)"));
    connect(addCommand(menu, kSaveTemplate, QString::fromUtf8("保存模板(&S)")), &QAction::triggered,
            this, [this] { saveTemplate(false); });
    connect(addCommand(menu, kSaveTemplateAs, QString::fromUtf8("另存模板(&A)")),
            &QAction::triggered, this, [this] { saveTemplate(true); });
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
}

void CPatMain::refreshCurrentPlaceholders() {
    if (InfoRecord* record = doc_.currentRecord()) {
        record->refreshPlaceholders(view_->templateMode(), doc_.placeholderSources());
    }
    doc_.notify(CPatDoc::Change::Page);
}

void CPatMain::configureMallInfo() {
    MallInfoDialog dialog(mallInfo_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QList<QByteArray> values = dialog.values();
    for (int i = 0; i < values.size(); ++i) mallInfo_.setValue(i, values.at(i));
    if (!mallInfo_.save()) Messages::current().inform(QString::fromUtf8("无法写入 PemStore.dic。"));
    refreshCurrentPlaceholders();
}

void CPatMain::configureVariables() {
    VariableDialog dialog(doc_.variableNames, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QList<QByteArray> names = dialog.names();
    for (int i = 0; i < names.size(); ++i) doc_.variableNames.setName(i, names.at(i));
    doc_.modified = true;
    if (onVariablesRenamed) onVariablesRenamed();
    refreshCurrentPlaceholders();
}

void CPatMain::configurePhrases() {
    PhraseDialog dialog(phrases_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    phrases_.clear();
    for (const QByteArray& phrase : dialog.phrases()) phrases_.add(phrase);
    if (!phrases_.save()) Messages::current().inform(QString::fromUtf8("无法写入 PemText.dic。"));
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
    }
    // The preview the library shows beside the template, 150 pixels wide.
    const int previewPpi = std::max(1, 150 * kTwipsPerInch / std::max(1, record->widthTw));
    const QImage preview = renderPageImage(*record, doc_.backgrounds, previewPpi, true, false);
    try {
        TemplateFile::saveToLibrary(*record, doc_, name, preview);
    } catch (const FormatError& error) {
        Messages::current().inform(error.message());
        return;
    }
    record->background.templateName = Gbk::fromUnicode(name);
    doc_.setModified();
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

void CPatMain::showInsertPopup() { insertMenu_->popup(QCursor::pos()); }

RecordCommandContext CPatMain::recordCommandContext() const {
    RecordCommandContext context;
    context.visibleRowCount = 1;
    context.templateMode = view_->templateMode();
    return context;
}

void CPatMain::runRecordCommand(int id) {
    if (id == RC::InsertMenu) {
        showInsertPopup();
        return;
    }
    recordCommands_.execute(id, recordCommandContext());
    updateCommands();
}

void CPatMain::updateCommands() {
    const InfoRecord* record = doc_.currentRecord();
    const bool hasBackground = record && !record->background.name.isEmpty();
    action(kSaveTemplate)->setEnabled(hasBackground);
    action(kSaveTemplateAs)->setEnabled(hasBackground);
    const RecordCommandContext context = recordCommandContext();
    for (QAction* action : actions_) {
        const int id = action->data().toInt();
        if (id >= RC::Delete && id <= RC::UnifyBackground) {
            action->setEnabled(recordCommands_.isEnabled(id, context));
        }
    }
}

void CPatMain::updateTitle(const QString& documentTitle) {
    setWindowTitle(QString::fromUtf8(kProgramName) + QStringLiteral(" - ") + documentTitle);
}

void CPatMain::updateStatus() {
    const int index = doc_.currentIndex();
    recordPane_->setText(
        QString::fromUtf8("信息 %1/%2").arg(index + 1).arg(doc_.recordCount()));
}

void CPatMain::documentChanged() {
    updateStatus();
    updateCommands();
    view_->showCurrentRecord();
}

void CPatMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CPatMain::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    activateWindow();
    app_.openDocument(urls.first().toLocalFile());
}

void CPatMain::closeEvent(QCloseEvent* event) {
    if (app_.saveModified()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace pemo
