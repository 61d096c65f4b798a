#include "ConfigMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "MallInfoDialog.h"
#include "OutsideEditorsDialog.h"
#include "PhraseDialog.h"
#include "VariableDialog.h"
#include "core/document/CPatDoc.h"
#include "core/pictures/OutsideEditors.h"
#include "core/platform/Messages.h"

namespace pemo {

ConfigMenu::ConfigMenu(CPatDoc& doc, QWidget* window)
    : CommandGroup(window),
      doc_(doc),
      window_(window),
      mallInfo_(MallInfoList::build()),
      phrases_(PhraseList::build()) {}

void ConfigMenu::addTo(QMenuBar* bar) {
    QMenu* menu = bar->addMenu(QString::fromUtf8("配置(&S)"));
    connect(addCommand(menu, kMallInfo, QString::fromUtf8("商场信息(&S)")), &QAction::triggered,
            this, &ConfigMenu::configureMallInfo);
    connect(addCommand(menu, kVariables, QString::fromUtf8("变量信息(&V)")), &QAction::triggered,
            this, &ConfigMenu::configureVariables);
    connect(addCommand(menu, kPhrases, QString::fromUtf8("常用短语(&C)")), &QAction::triggered,
            this, &ConfigMenu::configurePhrases);
    connect(addCommand(menu, kEditors, QString::fromUtf8("外部编辑程序(&E)")), &QAction::triggered,
            this, &ConfigMenu::configureEditors);
}

void ConfigMenu::refreshPlaceholders() {
    doc_.refreshAllPlaceholders();
    doc_.notify(CPatDoc::Change::Page);
}

void ConfigMenu::configureMallInfo() {
    MallInfoDialog dialog(mallInfo_, window_);
    if (dialog.exec() != QDialog::Accepted) return;
    const QList<QByteArray> values = dialog.values();
    for (int i = 0; i < values.size(); ++i) mallInfo_.setValue(i, values.at(i));
    if (!mallInfo_.save()) Messages::current().inform(QString::fromUtf8("无法写入 PemStore.dic。"));
    refreshPlaceholders();
}

void ConfigMenu::configureVariables() {
    VariableDialog dialog(doc_.variableNames, window_);
    if (dialog.exec() != QDialog::Accepted) return;
    const QList<QByteArray> names = dialog.names();
    for (int i = 0; i < names.size(); ++i) doc_.variableNames.setName(i, names.at(i));
    doc_.setModified();
    if (variablesRenamed) variablesRenamed();
    refreshPlaceholders();
}

void ConfigMenu::configurePhrases() {
    PhraseDialog dialog(phrases_, window_);
    if (dialog.exec() != QDialog::Accepted) return;
    phrases_.clear();
    for (const QByteArray& phrase : dialog.phrases()) phrases_.add(phrase);
    if (!phrases_.save()) Messages::current().inform(QString::fromUtf8("无法写入 PemText.dic。"));
}

void ConfigMenu::configureEditors() {
    OutsideEditorsDialog dialog(OutsideEditors::current(), window_);
    dialog.exec();
}

}  // namespace pemo
