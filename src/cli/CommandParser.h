#pragma once

#include <QString>
#include <QStringList>
#include <variant>

#include "CommandRequests.h"
#include "UsageProblem.h"

namespace pemo {

using ParsedCommand = std::variant<CommandRequest, UsageProblem>;

// The one reader of a headless command line: the program, the command (--dump,
// --export, --import, --update, --check) and its words, once Qt has taken its own
// options. Gives the command's request, or why the line is refused.
ParsedCommand parseHeadlessCommand(const QStringList& arguments);

// Whether a word names a command that runs without a display.
bool isHeadlessCommand(const QString& word);

}  // namespace pemo
