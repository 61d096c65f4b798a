#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

namespace pemo {

struct PrintSettings;

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

// The label-sheet options at arguments[i]: --label "BRAND PART" or
// custom:PAPER,ROWSxCOLS,WxH,LEFT,TOP,HPITCH,VPITCH, --start N, --outline (i moves past
// a value). Nothing when arguments[i] is none of them; else kExitOk, or the usage
// status once the problem is told (an unknown product with the closest ones).
std::optional<int> takeLabelOption(const QStringList& arguments, int& i, PrintSettings& settings);
// Once the mode is known: a label job is printed on its sheet's own paper, edge to
// edge; label options with any other mode, or --mode labels without --label, are a
// usage error (its status returned).
std::optional<int> applyLabelSheet(PrintSettings& settings, QSizeF& paper);

}  // namespace pemo
