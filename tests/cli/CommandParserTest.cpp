// The command-line parser on its own: which request a command line makes, and which
// problem refuses it. What the commands then do is tested through the built program.
#include <gtest/gtest.h>

#include <QDebug>
#include <QStringList>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/CommandParser.h"

using namespace pemo;

namespace {

// " name=value" when the value is not the default.
template <typename Value>
QString field(const char* name, const Value& value, const Value& byDefault) {
    if (value == byDefault) return QString();
    QString text;
    QDebug(&text).nospace().noquote() << " " << name << "=" << value;
    return text;
}

QString size(QSizeF mm) { return QStringLiteral("%1x%2").arg(mm.width()).arg(mm.height()); }

QString printJob(const PrintSettings& s, QSizeF paper) {
    const PrintSettings d;
    return field("mode", s.mode, d.mode) + field("paper", size(paper), QStringLiteral("210x297")) +
           field("sheet", size(s.sheetMm), QStringLiteral("200x287")) +
           field("overlap", s.tileOverlapMm, d.tileOverlapMm) + field("spacing", s.mergeSpacingMm, d.mergeSpacingMm) +
           field("turn", s.turnTiles, d.turnTiles) +
           field("label", s.labelSheet ? s.labelSheet->customText() : QString(), QString()) +
           field("start", s.startLabel, d.startLabel) + field("outline", s.labelOutlines, d.labelOutlines) +
           field("origin", size(QSizeF(s.areaOriginMm.x(), s.areaOriginMm.y())), QStringLiteral("0x0"));
}

QString describe(const ExportRequest& r) {
    QString text = QStringLiteral("export %1 < %2").arg(r.out, r.in);
    if (const auto* p = std::get_if<ExportRequest::Picture>(&r.form)) {
        const ExportRequest::Picture d;
        return text + " picture" + field("record", p->record, d.record) + field("dpi", p->dpi, d.dpi) +
               field("background", p->withBackground, d.withBackground) +
               field("names", p->templateMode, d.templateMode);
    }
    if (const auto* j = std::get_if<ExportRequest::Pdf>(&r.form)) {
        return text + " pdf" + printJob(j->settings, j->paper) + field("dpi", j->dpi, 300);
    }
    if (const auto* l = std::get_if<ExportRequest::List>(&r.form)) {
        return text + " list" + field("queue", l->options.queueOnly, true) +
               field("empty", l->options.emptyColumns, false) +
               field("paper", size(l->paper), QStringLiteral("210x297")) +
               field("dpi", l->dpi, 300);
    }
    if (const auto* c = std::get_if<ExportRequest::Records>(&r.form)) {
        QStringList orders;
        if (c->orders) {
            for (int32_t order : *c->orders) orders << QString::number(order);
        }
        return text + " records" + field("orders", orders.join(','), QString()) +
               field("separator", c->separator ? QString(QChar(*c->separator)) : QString(), QString()) +
               field("workbook", c->workbook, false);
    }
    return text + " document";
}

QString describe(const ImportSource& s) {
    const ImportSource d;
    QStringList columns;
    if (s.columns) {
        for (int32_t column : *s.columns) columns << QString::number(column);
    }
    return field("data", s.data, d.data) + field("sheet", s.sheet, d.sheet) +
           field("separator", QString(QChar(s.separator)), QStringLiteral(",")) + field("header", s.header, d.header) +
           field("columns", columns.join(','), QString()) +
           field("names", s.fieldNames.value_or(QStringList()).join('|'), QString()) +
           field("table", s.table, d.table) + field("where", s.condition, d.condition);
}

QString describe(const CommandRequest& request) {
    if (const auto* r = std::get_if<DumpRequest>(&request)) return "dump " + r->file;
    if (const auto* r = std::get_if<CheckRequest>(&request)) {
        return "check " + r->file + printJob(r->settings, {210, 297});
    }
    if (const auto* r = std::get_if<ImportRequest>(&request)) {
        return "import" + describe(r->source) + field("template", r->templatePath, QString()) + "; " +
               describe(r->output);
    }
    if (const auto* r = std::get_if<UpdateRequest>(&request)) {
        return "update " + r->document + field("key", r->keyTarget, -1) + describe(r->source) +
               field("template", r->templatePath, QString()) + "; " + describe(r->output);
    }
    return describe(std::get<ExportRequest>(request));
}

ParsedCommand parse(const QStringList& words) { return parseHeadlessCommand(QStringList{"pemo"} + words); }

const char* const kLabel = "custom:A4,8x3,70x37,0,0,70,37";

}  // namespace

TEST(CommandParser, GoodFormsGiveTheirRequests) {
    const struct {
        QStringList words;
        const char* request;
    } cases[] = {
        {{"--dump", "--x"}, "dump --x"},
        {{"--export", "o.vxq", "f.vxt"}, "export o.vxq < f.vxt document"},
        {{"--export", "--record", "2", "o.PNG", "f.vxq", "--dpi", "1200", "--no-background", "--template-mode"},
         "export o.PNG < f.vxq picture record=2 dpi=1200 background=false names=true"},
        {{"--export", "o.pdf", "f.vxq"}, "export o.pdf < f.vxq pdf"},
        // The mode is looked up once every option is read: --no-background picks its form.
        {{"--export", "o.PDF", "f.vxq", "--mode", "BY-COPIES", "--sheet", "a3", "--dpi", "36", "--no-background",
          "--turn-tiles", "--overlap", "0", "--spacing", "1000"},
         "export o.PDF < f.vxq pdf mode=14 paper=297x420 sheet=287x410 overlap=0 spacing=1000 turn=true dpi=36"},
        {{"--export", "o.pdf", "f.vxq", "--mode", "proof-4x8", "--sheet", "11x2000"},
         "export o.pdf < f.vxq pdf mode=8 paper=11x2000 sheet=1x1990"},
        // A label job prints on the sheet's own paper, edge to edge.
        {{"--export", "o.pdf", "f.vxq", "--label", kLabel, "--mode", "labels", "--start", "24", "--outline",
          "--sheet", "A3"},
         "export o.pdf < f.vxq pdf mode=17 sheet=210x297 label=A4,8x3,70x37,0,0,70,37 start=24 outline=true"},
        {{"--export", "o.pdf", "f.vxq", "--mode", "list", "--all", "--empty-columns", "--sheet", "300x200",
          "--dpi", "2400"},
         "export o.pdf < f.vxq list queue=false empty=true paper=300x200 dpi=2400"},
        {{"--export", "o.txt", "f.vxq", "--columns", "2, 0,0,0,0,0,0,0,0,0,0,13,0", "--separator", "\\t"},
         "export o.txt < f.vxq records orders=2,0,0,0,0,0,0,0,0,0,0,13,0 separator=\t"},
        {{"--export", "o.XLSX", "f.vxq"}, "export o.XLSX < f.vxq records workbook=true"},
        {{"--check", "--mode", "proof-2x2", "f.vxq", "--sheet", "30x30", "--turn-tiles"},
         "check f.vxq mode=4 sheet=20x20 turn=true"},
        {{"--check", "f.vxq", "--mode", "labels", "--label", kLabel},
         "check f.vxq mode=17 sheet=210x297 label=A4,8x3,70x37,0,0,70,37"},
        // DATA stands as the export's FILE.
        {{"--import", "d.csv", "--sheet", "S", "--separator", ";", "--columns", "1,0,0,0,0,0,0,0,0,0,0,200,0",
          "--header", "--template", "t.vxt", "--export", "o.pdf", "--mode", "proof-1x2"},
         "import data=d.csv sheet=S separator=; header=true columns=1,0,0,0,0,0,0,0,0,0,0,200,0 template=t.vxt; "
         "export o.pdf < d.csv pdf mode=2"},
        {{"--import", "shop.db", "--table", "T", "--where", "Price > 50", "--columns", "名称,,,,,,,,,,,Price,",
          "--export", "o.vxq"},
         "import data=shop.db names=名称|||||||||||Price| table=T where=Price > 50; export o.vxq < shop.db document"},
        // The last --columns counts; an option's value is the next word, whatever it is.
        {{"--import", "d.csv", "--columns", "a,b,c,d,e,f,g,h,i,j,k,l,m", "--columns", "1,2,3,4,5,6,7,8,9,10,11,12,13",
          "--sheet", "--header", "--export", "o.png"},
         "import data=d.csv sheet=--header columns=1,2,3,4,5,6,7,8,9,10,11,12,13; export o.png < d.csv picture"},
        {{"--update", "f.vxq", "--header", "--from", "d.xls", "--match", "13", "--table", "T", "--where", "x",
          "--export", "o.csv", "--separator", "tab"},
         "update f.vxq key=12 data=d.xls header=true table=T where=x; export o.csv < f.vxq records separator=\t"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        const ParsedCommand parsed = parse(c.words);
        ASSERT_TRUE(std::holds_alternative<CommandRequest>(parsed))
            << std::get<UsageProblem>(parsed).text.toStdString();
        EXPECT_EQ(describe(std::get<CommandRequest>(parsed)).toStdString(), c.request);
    }
}

TEST(CommandParser, BadFormsAreRefusedWithTheirProblem) {
    const struct {
        QStringList words;
        const char* problem;
        bool withUsage = true;
    } cases[] = {
        {{"--dump", "a", "b"}, ""},
        // Options belong to the form OUT chooses, which the word after --export names.
        {{"--export", "o.pdf", "f.vxq", "--record", "2"}, "unknown option: --record"},
        {{"--export", "o.csv", "f.vxq", "--dpi", "300"}, "unknown option: --dpi"},
        {{"--export", "--mode", "list", "o.pdf", "f.vxq"}, ""},
        {{"--export", "--dpi", "72", "o.pdf", "f.vxq"}, "不支持的输出格式：o.pdf", false},
        {{"--export", "o.png", "f.vxq", "--dpi", "1201"}, ""},
        {{"--export", "o.png", "f.vxq", "--mode", "tile"}, ""},
        {{"--export", "o.pdf", "f.vxq", "--dpi", "35"}, "bad --dpi: 35"},
        {{"--export", "o.pdf", "f.vxq", "--mode"}, "unknown option: --mode"},
        {{"--export", "o.pdf", "f.vxq", "--sheet", "10x10"}, "bad --sheet: 10x10"},
        {{"--export", "o.pdf", "f.vxq", "--overlap", "1001"}, "bad --overlap: 1001"},
        {{"--export", "o.pdf", "f.vxq", "--mode", "LIST"}, "unknown --mode: LIST"},
        {{"--export", "o.pdf", "f.vxq", "--empty-columns"}, "--all and --empty-columns go with --mode list"},
        {{"--export", "o.pdf", "f.vxq", "--start", "1"}, "--label, --start and --outline go with --mode labels"},
        {{"--export", "o.pdf", "f.vxq", "--mode", "list", "--outline"},
         "--label, --start and --outline go with --mode labels"},
        {{"--export", "o.pdf", "f.vxq", "--mode", "labels", "--label", "custom:A4,1x1"},
         "bad --label: custom:A4,1x1 (custom:PAPER,ROWSxCOLS,WxH,LEFT,TOP,HPITCH,VPITCH in millimetres, "
         "labels on the paper)"},
        {{"--export", "o.pdf"}, "need OUT.pdf and FILE"},
        {{"--export", "o.csv", "f.vxq", "--columns", "0,0,0,0,0,0,0,0,0,0,0,0,14"},
         "bad --columns: 0,0,0,0,0,0,0,0,0,0,0,0,14"},
        {{"--export", "o.csv", "f.vxq", "g.vxq"}, "need OUT and FILE"},
        {{"--check", "f.vxq", "--dpi", "300"}, "unknown option: --dpi"},
        {{"--check", "f.vxq", "--all"}, "unknown option: --all"},
        {{"--check", "f.vxq", "--mode", "labels"}, "--mode labels needs --label"},
        {{"--check", "f.vxq", "--outline"}, "--label, --start and --outline go with --mode labels"},
        {{"--import", "d.csv", "--where", "A > 1", "--export", "o.vxq"}, "--where needs --table"},
        {{"--import", "d.csv", "extra", "--export", "o.vxq"}, "unknown option: extra"},
        {{"--import", "d.csv", "--separator", "ab", "--export", "o.vxq"}, "bad --separator: ab"},
        {{"--import", "d.csv", "--columns", "a,b", "--export", "o.vxq"}, "bad --columns: a,b"},
        {{"--import", "d.csv", "--columns", "a,b,c,d,e,f,g,h,i,j,k,l,m", "--columns", "1,2", "--export", "o.vxq"},
         "bad --columns: 1,2"},
        {{"--import", "d.csv", "--mode", "tile", "--export", "o.vxq"}, "unknown option: --mode"},
        {{"--import", "d.csv", "--export", "o.pdf", "--sheet", "S"}, "bad --sheet: S"},
        {{"--import", "d.csv", "--export", "o.vxq", "--header"}, ""},
        {{"--update", "--from", "d.csv"}, "need FILE after --update"},
        {{"--update", "f.vxq", "--match", "2", "--export", "o.vxq"}, "need --from DATA"},
        {{"--update", "f.vxq", "--from", "d.csv", "--export", "o.vxq"}, "need --match T"},
        {{"--update", "f.vxq", "--from", "d.csv", "--match", "0", "--export", "o.vxq"}, "bad --match: 0"},
        {{"--update", "f.vxq", "--from", "d.csv", "--match", "2"}, "need --export OUT"},
        {{"--update", "f.vxq", "--from", "d.csv", "--match", "2", "--template"}, "unknown option: --template"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.join(' ').toStdString());
        const ParsedCommand parsed = parse(c.words);
        ASSERT_TRUE(std::holds_alternative<UsageProblem>(parsed))
            << describe(std::get<CommandRequest>(parsed)).toStdString();
        EXPECT_EQ(std::get<UsageProblem>(parsed).text.toStdString(), c.problem);
        EXPECT_EQ(std::get<UsageProblem>(parsed).withUsage, c.withUsage);
    }
}

TEST(CommandParser, TheStartIsToldBeforeAnyDisplay) {
    using Kind = ProgramStart::Kind;
    const struct {
        std::vector<const char*> words;
        Kind kind;
        const char* problem;
    } cases[] = {
        {{}, Kind::Window, ""},
        {{"a.vxq", "-style", "fusion", "--platform=xcb", "-reverse"}, Kind::Window, ""},
        {{"--dump", "a.vxq", "--version"}, Kind::Version, ""},
        {{"-h"}, Kind::Help, ""},
        {{"--help", "a.vxq"}, Kind::Refused, "unknown option: --help"},
        {{"--check"}, Kind::Command, ""},
        {{"--style=fusion", "a.vxq", "b.vxq"}, Kind::Refused, "more than one file: b.vxq"},
        {{"a.vxq", "-"}, Kind::Refused, "more than one file: -"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.empty() ? "no words" : c.words.front());
        std::vector<char*> argv{const_cast<char*>("pemo")};
        for (const char* word : c.words) argv.push_back(const_cast<char*>(word));
        const ProgramStart start = ProgramStart::read(int(argv.size()), argv.data());
        EXPECT_EQ(start.kind, c.kind);
        EXPECT_EQ(start.problem.text.toStdString(), c.problem);
    }
}
