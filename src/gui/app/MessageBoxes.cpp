#include "MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "core/platform/ProgramInfo.h"

namespace pemo {

namespace {

Messages::Answer askReplaceAppend(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kProgramName), text, QMessageBox::NoButton, parent);
    QPushButton* replace = box.addButton(QString::fromUtf8("替换"), QMessageBox::AcceptRole);
    QPushButton* append = box.addButton(QString::fromUtf8("追加"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
    // Keeping what is there is the safe choice.
    box.setDefaultButton(append);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == replace) return Messages::Answer::Yes;
    if (box.clickedButton() == append) return Messages::Answer::No;
    return Messages::Answer::Cancel;
}

}  // namespace

Messages::Answer MessageBoxes::ask(const QString& text, Buttons buttons) {
    if (buttons == Buttons::ReplaceAppendCancel) return askReplaceAppend(parent_, text);
    QMessageBox::StandardButtons set;
    switch (buttons) {
        case Buttons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
        case Buttons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        case Buttons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
        case Buttons::ReplaceAppendCancel: break;
    }
    const auto answer = QMessageBox::question(parent_, QString::fromUtf8(kProgramName), text, set);
    switch (answer) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Ok: return Answer::Ok;
        default: return Answer::Cancel;
    }
}

void MessageBoxes::inform(const QString& text) {
    QMessageBox::information(parent_, QString::fromUtf8(kProgramName), text);
}

}  // namespace pemo
