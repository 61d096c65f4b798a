#include "MessageBoxes.h"

#include <QMessageBox>

#include "core/platform/ProgramInfo.h"

namespace pemo {

Messages::Answer MessageBoxes::ask(const QString& text, Buttons buttons) {
    QMessageBox::StandardButtons set;
    switch (buttons) {
        case Buttons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
        case Buttons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
        case Buttons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
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
