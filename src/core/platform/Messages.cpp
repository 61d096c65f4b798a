#include "Messages.h"

#include <QFileInfo>
#include <cstdio>

namespace pemo {

namespace {

class ConsoleMessages : public Messages {
public:
    Answer ask(const QString&, Buttons) override { return Answer::No; }
    void inform(const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
};

ConsoleMessages consoleMessages;
Messages* installed = nullptr;

}  // namespace

Messages& Messages::current() { return installed ? *installed : consoleMessages; }

void Messages::install(Messages* messages) { installed = messages; }

bool Messages::mayReplace(const QString& path) {
    if (!QFileInfo::exists(path)) return true;
    const QString question = QString::fromUtf8("%1 已存在。\n要替换它吗？").arg(QFileInfo(path).fileName());
    return current().ask(question, Buttons::YesNo) == Answer::Yes;
}

}  // namespace pemo
