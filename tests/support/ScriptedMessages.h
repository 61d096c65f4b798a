#pragma once

// Answers the program's questions from a script and records what was asked.
#include <QStringList>
#include <deque>

#include "core/platform/Messages.h"

namespace pemo::test {

class ScriptedMessages : public Messages {
public:
    explicit ScriptedMessages(std::initializer_list<Answer> answers = {}) : answers_(answers) {
        Messages::install(this);
    }
    ~ScriptedMessages() override { Messages::install(nullptr); }

    Answer ask(const QString& text, Buttons buttons) override {
        asked.append(text);
        lastButtons = buttons;
        if (answers_.empty()) return Answer::No;
        const Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    void inform(const QString& text) override { informed.append(text); }

    QStringList asked;
    QStringList informed;
    Buttons lastButtons = Buttons::OkCancel;

private:
    std::deque<Answer> answers_;
};

}  // namespace pemo::test
