#pragma once

#include <QSizeF>
#include <QString>
#include <optional>

namespace pemo {

// Prints the problem (when there is one) and the usage text of every command line the
// program takes to stderr; returns the usage exit status.
int usageError(const QString& problem = QString());

// Prints the same usage text to stdout (`pemo --help`; the manual page is made from it)
// and returns the success status.
int showHelp();
// `pemo --help` or `pemo -h`, alone on the command line.
bool isHelpRequest(int argc, char** argv);

// Whether the first argument names a command that runs without a display.
bool isHeadlessCommand(const char* first);

// A start of the window takes one optional FILE besides Qt's own options (-platform,
// -style …, with one dash or two). Anything else — an unknown option, a second file — is
// a usage error, told before any display is needed: the text of the problem.
std::optional<QString> windowCommandLineProblem(int argc, char** argv);

// The value of --separator: one ASCII character other than a quote or a line end, or
// "tab" (also written "\\t"); nothing when it cannot separate fields.
std::optional<char> parseSeparatorOption(const QString& text);

// --sheet: A4, A3 or WIDTHxHEIGHT in millimetres (each side larger than the PDF's two
// margins); false for anything else.
bool parseSheetOption(const QString& text, QSizeF& sheet);
// A whole number in [low, high]; false (value untouched) otherwise.
bool parseNumberOption(const QString& text, int low, int high, int& value);

}  // namespace pemo
