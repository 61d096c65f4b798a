#pragma once

#include <QString>

namespace pemo {

// How core code asks the user something or tells them something. The program
// installs a message-box implementation; tests install scripted answers.
class Messages {
public:
    enum class Answer { Yes, No, Cancel, Ok };
    // ReplaceAppendCancel shows 替换 (Yes), 追加 (No) and 取消 (Cancel).
    enum class Buttons { YesNo, YesNoCancel, OkCancel, ReplaceAppendCancel };

    virtual ~Messages() = default;
    virtual Answer ask(const QString& text, Buttons buttons) = 0;
    virtual void inform(const QString& text) = 0;

    // The installed implementation; without one, questions are answered No and
    // information goes to standard error.
    static Messages& current();
    static void install(Messages* messages);

    // Whether a file may be written at path: it does not exist, or the user agrees to
    // replace it ("… 已存在。要替换它吗？").
    static bool mayReplace(const QString& path);
};

}  // namespace pemo
