#include "LibraryListPanel.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QVBoxLayout>

#include "ThumbnailList.h"

namespace pemo {

LibraryListPanel::LibraryListPanel(ThumbnailCache& cache, const QString& hint, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    combo_ = new QComboBox(this);
    combo_->setMaxVisibleItems(10);
    layout->addWidget(combo_);
    list_ = new ThumbnailList(cache, this);
    list_->setStatusTip(hint);
    list_->viewport()->setStatusTip(hint);
    list_->viewport()->setMouseTracking(true);
    layout->addWidget(list_, 1);
    setMinimumWidth(120);
}

QAction* LibraryListPanel::makeCommand(int id, const char* text) {
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setData(id);
    return action;
}

void LibraryListPanel::addFrameCommand(QMenu& menu, int id) {
    if (!frameAction)
        return;
    if (QAction* action = frameAction(id))
        menu.addAction(action);
}

void LibraryListPanel::showContextMenu(QMenu& menu, QPoint at, const QString& file) {
    emit extendContextMenu(&menu, file);
    menu.exec(at);
}

}  // namespace pemo
