#include "PrintMode.h"

namespace pemo {

namespace {

PrintMode make(int code, PrintMode::Kind kind, int printCommand, int previewCommand,
               const char* printText, const char* previewText, bool withBackground = true,
               int columns = 1, int rows = 1) {
    PrintMode m;
    m.code = code;
    m.kind = kind;
    m.printCommand = printCommand;
    m.previewCommand = previewCommand;
    m.printText = QString::fromUtf8(printText);
    m.previewText = QString::fromUtf8(previewText);
    m.withBackground = withBackground;
    m.columns = columns;
    m.rows = rows;
    return m;
}

PrintMode proof(int code, int columns, int rows) {
    const QString grid = QStringLiteral("(%1X%2)...").arg(columns).arg(rows);
    PrintMode m = make(code, PrintMode::Kind::Proof, 34539 + code, 34549 + code, "", "", true,
                       columns, rows);
    m.printText = QString::fromUtf8("校对打印") + grid;
    m.previewText = QString::fromUtf8("校对预览") + grid;
    return m;
}

std::vector<PrintMode> buildTable() {
    using K = PrintMode::Kind;
    return {
        make(1, K::Template, 34402, 34403, "模板打印(&T)...", "模板预览..."),
        proof(2, 1, 2),
        proof(3, 2, 1),
        proof(4, 2, 2),
        proof(5, 2, 4),
        proof(6, 4, 2),
        proof(7, 4, 4),
        proof(8, 4, 8),
        proof(9, 8, 4),
        proof(10, 8, 8),
        make(11, K::ByItem, 34571, 34573, "带底图按项打印(&P)...", "带底图按项预览..."),
        make(12, K::ByItem, 34572, 34574, "无底图按项打印(&N)...", "无底图按项预览...", false),
        make(13, K::ByCopies, 34575, 34577, "带底图按份打印(&C)...", "带底图按份预览..."),
        make(14, K::ByCopies, 34576, 34578, "无底图按份打印(&B)...", "无底图按份预览...", false),
        make(15, K::Tile, 34581, 34582, "拼版打印(&S)...", "拼版预览..."),
        make(16, K::Merge, 34561, 34562, "合并打印(&M)...", "合并预览..."),
        make(17, K::Labels, 34591, 34592, "标签纸打印(&L)...", "标签纸预览..."),
    };
}

}  // namespace

const std::vector<PrintMode>& PrintMode::all() {
    static const std::vector<PrintMode> table = buildTable();
    return table;
}

std::optional<PrintMode> PrintMode::fromCode(int code) {
    if (code < Template || code > Labels) return std::nullopt;
    return all().at(code - 1);
}

std::optional<PrintMode> PrintMode::fromName(const QString& name, bool withBackground) {
    const QString n = name.toLower();
    if (n == QStringLiteral("template")) return fromCode(Template);
    if (n == QStringLiteral("by-item")) {
        return fromCode(withBackground ? ByItemWithBackground : ByItemWithoutBackground);
    }
    if (n == QStringLiteral("by-copies")) {
        return fromCode(withBackground ? ByCopiesWithBackground : ByCopiesWithoutBackground);
    }
    if (n == QStringLiteral("tile")) return fromCode(Tile);
    if (n == QStringLiteral("merge")) return fromCode(Merge);
    if (n == QStringLiteral("labels")) return fromCode(Labels);
    for (const PrintMode& m : all()) {
        if (m.kind == Kind::Proof && n == QStringLiteral("proof-%1x%2").arg(m.columns).arg(m.rows)) {
            return m;
        }
    }
    return std::nullopt;
}

}  // namespace pemo
