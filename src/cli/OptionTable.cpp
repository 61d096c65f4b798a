#include "OptionTable.h"

#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <iterator>

#include "UsageProblem.h"
#include "core/document/InfoRecord.h"
#include "core/labels/LabelCatalogue.h"
#include "core/labels/LabelChoice.h"
#include "core/print/PdfOutput.h"
#include "core/records/ImportSettings.h"

namespace pemo {

namespace {

// A whole number in [low, high]; false (value untouched) otherwise.
bool number(const QString& text, int low, int high, int& value) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) return false;
    value = v;
    return true;
}

// One ASCII character other than a quote or a line end, or "tab" (also written "\t").
std::optional<char> separator(const QString& text) {
    if (text == QLatin1String("tab") || text == QLatin1String("\\t")) return '\t';
    if (text.size() != 1 || text.at(0).unicode() >= 0x80) return std::nullopt;
    const char c = char(text.at(0).unicode());
    if (c == '"' || c == '\r' || c == '\n') return std::nullopt;
    return c;
}

// A4, A3 or WIDTHxHEIGHT in millimetres, each side larger than the PDF's two margins.
bool sheet(const QString& text, QSizeF& paper) {
    const QString t = text.toUpper();
    if (t == QStringLiteral("A4")) {
        paper = QSizeF(210, 297);
        return true;
    }
    if (t == QStringLiteral("A3")) {
        paper = QSizeF(297, 420);
        return true;
    }
    static const QRegularExpression size(QStringLiteral("^(\\d{1,4})X(\\d{1,4})$"));
    const QRegularExpressionMatch m = size.match(t);
    if (!m.hasMatch()) return false;
    const QSizeF parsed(m.captured(1).toInt(), m.captured(2).toInt());
    if (parsed.width() <= 2 * PdfOutput::kMarginMm || parsed.height() <= 2 * PdfOutput::kMarginMm) return false;
    paper = parsed;
    return true;
}

// Thirteen whole numbers in [0, max], separated by commas.
template <size_t N>
bool numberList(const QString& text, int max, std::array<int32_t, N>& numbers) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != qsizetype(N)) return false;
    std::array<int32_t, N> parsed{};
    for (size_t i = 0; i < N; ++i) {
        int value = 0;
        if (!number(parts.at(qsizetype(i)).trimmed(), 0, max, value)) return false;
        parsed[i] = value;
    }
    numbers = parsed;
    return true;
}

// --columns of --import and --update: column numbers for text and workbooks, names (or
// numbers) for database tables.
bool importColumns(OptionValues& v, const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    const bool numbers = std::all_of(parts.begin(), parts.end(), [](const QString& part) {
        bool ok = false;
        part.trimmed().toInt(&ok);
        return ok;
    });
    if (numbers) {
        RecordImport::Columns columns{};
        if (!numberList(text, ImportSettings::kMaxColumn, columns)) return false;
        v.source.columns = columns;
        v.source.fieldNames.reset();
        return true;
    }
    if (parts.size() != ImportSettings::kTargetCount) return false;
    v.source.fieldNames = parts;
    v.source.columns.reset();
    return true;
}

// --label: a product of the label catalogue, "BRAND PART", or a measured sheet,
// custom:PAPER,ROWSxCOLS,WxH,LEFT,TOP,HPITCH,VPITCH.
bool labelSheet(OptionValues& v, const QString& name) {
    const bool custom = name.startsWith(QString::fromLatin1(LabelChoice::kCustomPrefix), Qt::CaseInsensitive);
    static const LabelCatalogue none;
    const LabelCatalogue& catalogue = custom ? none : LabelCatalogue::installed();
    if (const std::optional<LabelTemplate> found = LabelChoice::resolve(name, catalogue)) {
        v.print.labelSheet = std::make_shared<const LabelTemplate>(*found);
        return true;
    }
    if (custom) {
        throw UsageProblem{QStringLiteral("bad --label: ") + name +
                           QStringLiteral(" (custom:PAPER,ROWSxCOLS,WxH,LEFT,TOP,HPITCH,VPITCH in millimetres, "
                                          "labels on the paper)")};
    }
    if (catalogue.isEmpty()) {
        throw UsageProblem{QStringLiteral("unknown label product: ") + name + QStringLiteral(" (") +
                           LabelCatalogue::missingText() + QStringLiteral(")")};
    }
    throw UsageProblem{QStringLiteral("unknown label product: ") + name + QStringLiteral("; closest: ") +
                       catalogue.closest(name).join(QStringLiteral(", "))};
}

constexpr bool kValue = true;
constexpr bool kFlag = false;
constexpr unsigned kPrintJob = kPdfSection | kCheckSection;

// Keeps a value that needs no check.
template <typename Field, typename Value>
bool assign(Field& field, const Value& value) {
    field = value;
    return true;
}

using V = OptionValues;
using T = const QString&;

const OptionEntry kOptions[] = {
    // One record's page as a picture.
    {"--record", kValue, kPictureSection, kPictureGroup,
     [](V& v, T t) { return number(t, 1, INT_MAX, v.picture.record); }},
    {"--dpi", kValue, kPictureSection, kPictureGroup, [](V& v, T t) { return number(t, 1, 1200, v.picture.dpi); }},
    {"--no-background", kFlag, kPictureSection, kPictureGroup,
     [](V& v, T) { return assign(v.picture.withBackground, false); }},
    {"--template-mode", kFlag, kPictureSection, kPictureGroup,
     [](V& v, T) { return assign(v.picture.templateMode, true); }},

    // A print job: the PDF export and the check before printing.
    {"--mode", kValue, kPrintJob, kNoGroup, [](V& v, T t) { return assign(v.modeName, t); }},
    {"--no-background", kFlag, kPrintJob, kNoGroup, [](V& v, T) { return assign(v.withBackground, false); }},
    {"--turn-tiles", kFlag, kPrintJob, kNoGroup, [](V& v, T) { return assign(v.print.turnTiles, true); }},
    {"--sheet", kValue, kPrintJob, kNoGroup, [](V& v, T t) { return sheet(t, v.paper); }},
    {"--overlap", kValue, kPrintJob, kNoGroup, [](V& v, T t) { return number(t, 0, 1000, v.print.tileOverlapMm); }},
    {"--spacing", kValue, kPrintJob, kNoGroup, [](V& v, T t) { return number(t, 0, 1000, v.print.mergeSpacingMm); }},
    {"--label", kValue, kPrintJob, kLabelGroup, labelSheet},
    {"--start", kValue, kPrintJob, kLabelGroup, [](V& v, T t) { return number(t, 1, 10000, v.print.startLabel); }},
    {"--outline", kFlag, kPrintJob, kLabelGroup, [](V& v, T) { return assign(v.print.labelOutlines, true); }},
    {"--dpi", kValue, kPdfSection, kNoGroup, [](V& v, T t) { return number(t, 36, 2400, v.pdfDpi); }},
    {"--all", kFlag, kPdfSection, kListGroup, [](V& v, T) { return assign(v.list.queueOnly, false); }},
    {"--empty-columns", kFlag, kPdfSection, kListGroup, [](V& v, T) { return assign(v.list.emptyColumns, true); }},

    // The records written as text or a workbook: the export order of each target.
    {"--columns", kValue, kRecordsSection, kNoGroup, [](V& v, T t) {
         ExportRequest::Records::Orders orders{};
         return numberList(t, ExportSettings::kTargetCount, orders) && assign(v.records.orders, orders);
     }},
    {"--separator", kValue, kRecordsSection, kNoGroup, [](V& v, T t) {
         v.records.separator = separator(t);
         return v.records.separator.has_value();
     }},

    // The rows --import and --update read, and the page of new records.
    {"--sheet", kValue, kImportSection, kNoGroup, [](V& v, T t) { return assign(v.source.sheet, t); }},
    {"--separator", kValue, kImportSection, kNoGroup, [](V& v, T t) {
         const std::optional<char> c = separator(t);
         return c && assign(v.source.separator, *c);
     }},
    {"--columns", kValue, kImportSection, kNoGroup, importColumns},
    {"--header", kFlag, kImportSection, kNoGroup, [](V& v, T) { return assign(v.source.header, true); }},
    {"--table", kValue, kImportSection, kNoGroup, [](V& v, T t) { return assign(v.source.table, t); }},
    {"--where", kValue, kImportSection, kNoGroup, [](V& v, T t) { return assign(v.source.condition, t); }},
    {"--template", kValue, kImportSection, kNoGroup, [](V& v, T t) { return assign(v.templatePath, t); }},

    // The price list --update applies and the target that holds its key.
    {"--from", kValue, kUpdateSection, kNoGroup, keepData},
    {"--match", kValue, kUpdateSection, kNoGroup, [](V& v, T t) {
         int target = 0;
         return number(t, 1, InfoRecord::kValueCount, target) && assign(v.keyTarget, target - 1);
     }},
};

}  // namespace

bool keepData(OptionValues& values, const QString& word) { return assign(values.source.data, word); }

const OptionEntry* findOption(const QString& name, unsigned sections) {
    const auto found = std::find_if(std::begin(kOptions), std::end(kOptions), [&](const OptionEntry& option) {
        return (option.sections & sections) != 0 && name == QLatin1String(option.name);
    });
    return found == std::end(kOptions) ? nullptr : found;
}

}  // namespace pemo
