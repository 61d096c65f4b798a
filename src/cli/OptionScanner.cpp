#include "OptionScanner.h"

#include "OptionTable.h"
#include "UsageProblem.h"

namespace pemo {

ScannedPart scanOptions(const QStringList& arguments, int from, const ScanRules& rules, OptionValues& values) {
    const auto refuse = [&rules](const QString& text) {
        return UsageProblem{rules.quiet ? QString() : text};
    };
    ScannedPart part;
    int i = from;
    for (; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (!rules.end.isEmpty() && word == rules.end) {
            part.ended = true;
            ++i;
            break;
        }
        const OptionEntry* option = findOption(word, rules.sections);
        const bool hasValue = i + 1 < arguments.size();
        if (option && (!option->takesValue || hasValue)) {
            const QString value = option->takesValue ? arguments.at(++i) : QString();
            bool kept = false;
            try {
                kept = option->keep(values, value);
            } catch (const UsageProblem& problem) {
                throw refuse(problem.text);
            }
            if (!kept) throw refuse(QStringLiteral("bad ") + word + QStringLiteral(": ") + value);
            values.groups |= option->group;
        } else if (option || word.startsWith(QLatin1String("--")) || !rules.takesWords) {
            throw refuse(QStringLiteral("unknown option: ") + word);
        } else {
            part.words << word;
        }
    }
    part.next = i;
    return part;
}

}  // namespace pemo
