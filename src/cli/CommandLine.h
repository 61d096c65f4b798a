#pragma once

#include <QString>

#include "UsageProblem.h"

namespace pemo {

// What a start of the program is asked for, read from the command line before anything
// needs a display.
struct ProgramStart {
    enum class Kind {
        Version,  // --version anywhere: the name and version
        Help,     // --help or -h, alone: the usage text on stdout
        Command,  // a headless command (CommandParser.h reads it once Qt has taken its options)
        Window,   // the window, with at most one FILE besides Qt's own options
        Refused,  // a start of the window with anything else
    };
    Kind kind = Kind::Window;
    UsageProblem problem;  // Refused

    static ProgramStart read(int argc, char** argv);
};

// Prints the problem (when there is one) and the usage text of every command line the
// program takes to stderr; returns the usage exit status.
int usageError(const QString& problem = QString());
// Prints a problem the parser found, with the usage text when it asks for it; returns
// the usage exit status.
int reportUsageProblem(const UsageProblem& problem);

// Prints the same usage text to stdout (`pemo --help`; the manual page is made from it)
// and returns the success status.
int showHelp();

}  // namespace pemo
