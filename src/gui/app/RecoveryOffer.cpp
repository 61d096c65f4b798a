#include "RecoveryOffer.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include "Autosaver.h"
#include "core/platform/Messages.h"
#include "core/platform/ProgramInfo.h"

namespace pemo {

int RecoveryOffer::run(const Ask& ask, const Open& open) {
    int opened = 0;
    for (const RecoveryCopy& copy : store_.claimLeftovers()) {
        Choice choice = ask(copy, opened == 0);
        if (choice == Choice::Open && opened > 0) choice = Choice::Keep;
        if (choice == Choice::Keep) {
            store_.keep(copy);
            continue;
        }
        if (choice == Choice::Discard) {
            store_.discard(copy);
            continue;
        }
        QString reason;
        if (!open(copy, reason)) {
            if (reason.isEmpty()) {
                store_.keep(copy);
            } else {
                const QString aside = store_.setAside(copy);
                Messages::current().inform(
                    QString::fromUtf8("无法恢复“%1”：%2\n恢复副本已另存为 %3。")
                        .arg(copy.title(), reason, aside));
            }
            continue;
        }
        ++opened;
        // The recovered document gets a copy of this run before the old one goes, so it
        // is on the disk at every moment.
        autosaver_.saveNow();
        autosaver_.waitForWrites();
        if (QFileInfo::exists(store_.copyPath())) {
            store_.discard(copy);
        } else {
            store_.keep(copy);
        }
    }
    return opened;
}

RecoveryOffer::Choice RecoveryOffer::askWithMessageBox(QWidget* parent, const RecoveryCopy& copy,
                                                       bool canOpen) {
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QString::fromUtf8(kProgramName));
    box.setText(QString::fromUtf8("恢复未保存的文档？"));
    box.setInformativeText(
        QString::fromUtf8("%1\n自动保存于 %2")
            .arg(copy.title(), QLocale().toString(copy.savedAt, QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    QPushButton* openButton = box.addButton(QString::fromUtf8("打开"), QMessageBox::AcceptRole);
    openButton->setEnabled(canOpen);
    QPushButton* keepButton = box.addButton(QString::fromUtf8("以后再说"), QMessageBox::RejectRole);
    QPushButton* discardButton = box.addButton(QString::fromUtf8("丢弃"), QMessageBox::DestructiveRole);
    box.setDefaultButton(canOpen ? openButton : keepButton);
    box.setEscapeButton(keepButton);
    box.exec();
    if (box.clickedButton() == discardButton) {
        const auto sure = QMessageBox::question(
            parent, QString::fromUtf8(kProgramName),
            QString::fromUtf8("丢弃“%1”的恢复副本？丢弃后无法找回。").arg(copy.title()));
        return sure == QMessageBox::Yes ? Choice::Discard : Choice::Keep;
    }
    if (box.clickedButton() == openButton && canOpen) return Choice::Open;
    return Choice::Keep;
}

}  // namespace pemo
