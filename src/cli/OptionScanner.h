#pragma once

#include <QString>
#include <QStringList>

namespace pemo {

struct OptionValues;

// How one part of a command line is read: the sections whose options it takes, whether
// it takes words of its own (else a stray word is an unknown option), whether its
// problems are answered by the usage text alone, and the word that ends it.
struct ScanRules {
    unsigned sections = 0;
    bool takesWords = true;
    bool quiet = false;
    QString end = QString();
};

struct ScannedPart {
    QStringList words;  // the words that are no option or option value, in order
    int next = 0;       // the index after the part (after its end word when one ended it)
    bool ended = false;
};

// Reads arguments from index `from` against the option table into values. Options may
// stand anywhere; an option that takes a value takes the next argument, whatever it is.
// Throws UsageProblem for an unknown option ("unknown option: --x", also for an option
// whose value is missing) and for a value refused ("bad --x: VALUE").
ScannedPart scanOptions(const QStringList& arguments, int from, const ScanRules& rules, OptionValues& values);

}  // namespace pemo
