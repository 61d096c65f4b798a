#include "Messages.h"

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

}  // namespace pemo
