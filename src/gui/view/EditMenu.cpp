#include "EditMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "CPatView.h"
#include "core/document/EditCommands.h"
#include "gui/canvas/CPatCanvas.h"

namespace pemo {

namespace EC = EditCommand;

EditMenu::EditMenu(CPatView& view, QObject* parent) : CommandGroup(parent), view_(view) {}

void EditMenu::addTo(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QString::fromUtf8("编辑(&E)"));
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
                    &QAction::triggered, this, [this, id] { run(id); });
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this] {
        if (commandsChanged) commandsChanged();
    });
}

void EditMenu::run(int id) {
    view_.canvas()->runCommand(id);
    if (commandsChanged) commandsChanged();
}

void EditMenu::update() {
    const CPatCanvas* canvas = view_.canvas();
    for (auto it = actions().constBegin(); it != actions().constEnd(); ++it)
        it.value()->setEnabled(canvas->isCommandEnabled(it.key()));
}

}  // namespace pemo
