#include "RecordMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <memory>
#include <vector>

#include "PriceUpdateCommand.h"
#include "RecordExportCommand.h"
#include "RecordFindDialog.h"
#include "RecordGrid.h"
#include "RecordImportCommand.h"
#include "core/document/CPatDoc.h"

namespace pemo {

namespace RC = RecordCommand;

namespace {

struct Item {
    int id;
    const char* text;
    QKeySequence key;
};

}  // namespace

RecordMenu::RecordMenu(CPatDoc& doc, RecordGrid& grid, RecordFindDialog& find, QWidget* window)
    : CommandGroup(window), doc_(doc), grid_(grid), find_(find), window_(window), commands_(doc) {}

void RecordMenu::addTo(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QString::fromUtf8("信息(&I)"));
    addInsertMenu(menu);
    addListCommands(menu);
    menu->addSeparator();
    addFileCommands(menu);
    menu->addSeparator();
    const Item unify[] = {{RC::UnifySize, "统一幅面(&S)", {}},
                          {RC::UnifyBackground, "统一底图(&B)", {}},
                          {RC::UnifyTemplate, "统一模板(&T)", {}}};
    for (const Item& item : unify) {
        const int id = item.id;
        connect(addCommand(menu, id, QString::fromUtf8(item.text)), &QAction::triggered, this,
                [this, id] { run(id); });
    }
    connect(menu, &QMenu::aboutToShow, this, &RecordMenu::changed);
    addElsewhere();
}

void RecordMenu::addInsertMenu(QMenu* menu) {
    insertMenu_ = new QMenu(QString::fromUtf8("信息插入(&I)"), window_);
    for (int id = RC::InsertFirst; id <= RC::InsertLast; ++id) {
        connect(addCommand(insertMenu_, id, RecordCommands::insertMenuText(id)), &QAction::triggered,
                this, [this, id] { run(id); });
    }
    QAction* insert = menu->addMenu(insertMenu_);
    insert->setData(RC::InsertMenu);
    keep(RC::InsertMenu, insert);
    // Ctrl+I opens the same list under its toolbar button (at the mouse pointer while
    // the toolbar is hidden).
    auto* insertKey = new QAction(this);
    insertKey->setData(RC::InsertMenu);
    insertKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(insertKey, &QAction::triggered, this, [this] { run(RC::InsertMenu); });
    window_->addAction(insertKey);
}

void RecordMenu::addListCommands(QMenu* menu) {
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
            QAction* command = addCommand(menu, id, QString::fromUtf8(item.text), item.key);
            if (id == RC::Find) {
                command->setCheckable(true);
                connect(command, &QAction::triggered, &find_, &QWidget::setVisible);
                connect(&find_, &RecordFindDialog::visibilityChanged, command, &QAction::setChecked);
                continue;
            }
            connect(command, &QAction::triggered, this, [this, id] { run(id); });
        }
    }
}

void RecordMenu::addFileCommands(QMenu* menu) {
    auto* import = new RecordImportCommand(doc_, grid_, window_);
    import->saveModified = [this] { return saveModified(); };
    import->templateMode = [this] { return templateMode(); };
    for (const int id : {RC::ImportText, RC::ImportWorkbook, RC::ImportDatabase}) {
        if (id == RC::ImportDatabase) menu->addSeparator();
        connect(addCommand(menu, id, RecordImportCommand::menuText(id)), &QAction::triggered, import,
                [import, id] { import->run(id); });
    }
    auto* priceUpdate = new PriceUpdateCommand(doc_, grid_, window_);
    priceUpdate->documentPath = [this] { return documentPath(); };
    for (const auto& [id, kind] : {std::pair{RC::PriceUpdateText, ImportSettings::Kind::Text},
                                   std::pair{RC::PriceUpdateWorkbook, ImportSettings::Kind::Workbook}}) {
        connect(addCommand(menu, id, PriceUpdateCommand::menuText(kind)), &QAction::triggered,
                priceUpdate, [priceUpdate, kind = kind] { priceUpdate->run(kind); });
    }
    menu->addSeparator();
    auto* exporter = new RecordExportCommand(doc_, window_);
    for (const int id : {RC::ExportText, RC::ExportWorkbook}) {
        connect(addCommand(menu, id, RecordExportCommand::menuText(id)), &QAction::triggered,
                exporter, [exporter, id] { exporter->run(id); });
    }
}

void RecordMenu::addElsewhere() {
    QAction* applyDesign = new QAction(QString::fromUtf8("应用到所有信息(&L)"), this);
    applyDesign->setData(RC::ApplyDesign);
    applyDesign->setStatusTip(
        QString::fromUtf8("把当前信息的幅面、底图和对象用到所有信息上，各项保留自己的内容"));
    connect(applyDesign, &QAction::triggered, this, [this] { run(RC::ApplyDesign); });
    keep(RC::ApplyDesign, applyDesign);
    QAction* listPrint = new QAction(QString::fromUtf8("信息打印(&I)..."), this);
    listPrint->setData(RC::PrintList);
    keep(RC::PrintList, listPrint);
}

RecordCommandContext RecordMenu::context() const {
    RecordCommandContext context;
    context.visibleRowCount = grid_.visibleRowCount();
    context.templateMode = templateMode && templateMode();
    if (fillLibraryChoice) fillLibraryChoice(context);
    return context;
}

void RecordMenu::run(int id) {
    if (id == RC::InsertMenu) {
        if (openInsertPopup) openInsertPopup();
        return;
    }
    RecordCommandContext context = this->context();
    // Giving every record the template takes a while on a long list: a window counts
    // the records, made at the first count so that it never shows before the question.
    std::unique_ptr<QProgressDialog> progress;
    context.progress = [this, &progress](int done, int total) {
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(QString::fromUtf8("正在设置模板..."),
                                                         QString(), 0, total, window_);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(300);
        }
        progress->setValue(done);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    commands_.execute(id, context);
    progress.reset();
    changed();
}

void RecordMenu::update() {
    const RecordCommandContext context = this->context();
    for (auto it = actions().constBegin(); it != actions().constEnd(); ++it) {
        const int id = it.key();
        if (id >= RC::Delete && id <= RC::ApplyDesign)
            it.value()->setEnabled(commands_.isEnabled(id, context));
    }
}

void RecordMenu::changed() {
    if (commandsChanged) commandsChanged();
}

}  // namespace pemo
