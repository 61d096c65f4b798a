#include "CommandParser.h"

#include <algorithm>
#include <iterator>

#include "ExportParser.h"
#include "OptionScanner.h"
#include "OptionTable.h"

namespace pemo {

namespace {

// The word after the command, which no option may take the place of.
QString leadingWord(const QStringList& arguments, const char* missing) {
    if (arguments.size() < 3 || arguments.at(2).startsWith(QLatin1String("--"))) {
        throw UsageProblem{QString::fromLatin1(missing)};
    }
    return arguments.at(2);
}

// The options of --import and --update up to --export, and the export after it, whose
// FILE is the command's own DATA or FILE.
template <typename Request>
Request readImportPart(const QStringList& arguments, unsigned sections, OptionValues& values, const QString& in) {
    const ScanRules rules{.sections = sections, .takesWords = false, .end = QStringLiteral("--export")};
    const ScannedPart part = scanOptions(arguments, 3, rules, values);
    if (sections & kUpdateSection) {
        if (values.source.data.isEmpty() || values.source.data.startsWith(QLatin1String("--"))) {
            throw UsageProblem{QStringLiteral("need --from DATA")};
        }
        if (values.keyTarget < 0) throw UsageProblem{QStringLiteral("need --match T")};
    }
    if (!part.ended) throw UsageProblem{QStringLiteral("need --export OUT")};
    if (!values.source.condition.isEmpty() && values.source.table.isEmpty()) {
        throw UsageProblem{QStringLiteral("--where needs --table")};
    }
    Request request;
    request.source = values.source;
    request.templatePath = values.templatePath;
    QStringList exportWords = arguments.mid(part.next);
    exportWords << in;
    request.output = parseExportWords(exportWords);
    return request;
}

CommandRequest dump(const QStringList& arguments) {
    if (arguments.size() != 3) throw UsageProblem{};
    return DumpRequest{arguments.at(2)};
}

CommandRequest exportCommand(const QStringList& arguments) { return parseExportWords(arguments.mid(2)); }

CommandRequest import(const QStringList& arguments) {
    OptionValues values;
    keepData(values, leadingWord(arguments, "need DATA after --import"));
    return readImportPart<ImportRequest>(arguments, kImportSection, values, values.source.data);
}

CommandRequest update(const QStringList& arguments) {
    const QString document = leadingWord(arguments, "need FILE after --update");
    OptionValues values;
    UpdateRequest request =
        readImportPart<UpdateRequest>(arguments, kImportSection | kUpdateSection, values, document);
    request.document = document;
    request.keyTarget = values.keyTarget;
    return request;
}

CommandRequest check(const QStringList& arguments) {
    OptionValues values;
    const ScannedPart part = scanOptions(arguments, 2, {.sections = kCheckSection}, values);
    if (part.words.size() != 1) throw UsageProblem{QStringLiteral("need one FILE")};
    return CheckRequest{part.words.at(0), printJobOf(values).settings};
}

struct CommandEntry {
    const char* name;
    CommandRequest (*parse)(const QStringList& arguments);
};

const CommandEntry kCommands[] = {
    {"--dump", dump}, {"--export", exportCommand}, {"--import", import}, {"--update", update}, {"--check", check},
};

const CommandEntry* findCommand(const QString& word) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const CommandEntry& command) { return word == QLatin1String(command.name); });
    return found == std::end(kCommands) ? nullptr : found;
}

}  // namespace

bool isHeadlessCommand(const QString& word) { return findCommand(word) != nullptr; }

ParsedCommand parseHeadlessCommand(const QStringList& arguments) {
    const CommandEntry* command = findCommand(arguments.value(1));
    if (!command) return UsageProblem{};
    try {
        return command->parse(arguments);
    } catch (const UsageProblem& problem) {
        return problem;
    }
}

}  // namespace pemo
