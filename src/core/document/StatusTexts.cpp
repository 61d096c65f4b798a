#include "StatusTexts.h"

#include <algorithm>

#include "CPatDoc.h"
#include "PageSizes.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename Same>
bool allRecords(const CPatDoc& doc, Same same) {
    return std::all_of(doc.records.begin(), doc.records.end(),
                       [&](const auto& record) { return same(*record); });
}

QString withMark(const QString& text, bool everyRecord) {
    return everyRecord ? text + QStringLiteral("(*)") : text;
}

// The configured name behind a variable or mall-information kind.
QByteArray placeholderName(int32_t kind, const PlaceholderSources& sources) {
    if (kind >= BlockKind::FirstVariable && kind <= BlockKind::LastVariable) {
        const int index = kind - BlockKind::FirstVariable;
        return sources.variableNames ? sources.variableNames->name(index)
                                     : VariableNameList().name(index);
    }
    if (kind >= BlockKind::FirstMallInfo && kind <= BlockKind::LastMallInfo) {
        const int index = kind - BlockKind::FirstMallInfo;
        return sources.mallInfo ? sources.mallInfo->entry(index).name
                                : MallInfoList().entry(index).name;
    }
    return QByteArray();
}

}  // namespace

QStringList StatusTexts::samples() {
    return {u("共9999项"),      u("第1000项"),      u("打印:1000项"), u("份数:1000份"),
            u("空白底图     "), u("空白底图     "), u("空白底图"),    u("(1000x1000)"),
            u("共100块"),       u("{商品名称}    ")};
}

QString StatusTexts::selection(const InfoRecord& record, const PlaceholderSources& sources) {
    const int count = static_cast<int>(record.selection.size());
    if (count == 1) {
        const int32_t kind = record.selection.front()->kind;
        const QByteArray name = BlockKind::displayName(kind, placeholderName(kind, sources));
        if (!name.isEmpty()) return Gbk::toUnicode(name);
    }
    return u("选择%1块").arg(count);
}

QStringList StatusTexts::compute(const CPatDoc& doc) {
    QStringList texts;
    texts << u("共%1项").arg(doc.recordCount()) << u("第%1项").arg(doc.currentIndex() + 1)
          << u("打印:%1项").arg(doc.queuedCount()) << u("份数:%1份").arg(doc.totalCopies());
    const InfoRecord* current = doc.currentRecord();
    if (!current) {
        while (texts.size() < kPaneCount)
            texts << QString();
        return texts;
    }
    const BackgroundRef& bg = current->background;
    const bool sameCategory =
        allRecords(doc, [&](const InfoRecord& r) { return r.background.category == bg.category; });
    const bool sameName = sameCategory && allRecords(doc, [&](const InfoRecord& r) {
                              return r.background.name == bg.name;
                          });
    const bool sameTemplate = sameName && allRecords(doc, [&](const InfoRecord& r) {
                                  return r.background.templateName == bg.templateName;
                              });
    const bool sameSize = allRecords(doc, [&](const InfoRecord& r) {
        return r.widthMm == current->widthMm && r.heightMm == current->heightMm;
    });
    texts << withMark(Gbk::toUnicode(bg.category), sameCategory)
          << withMark(Gbk::toUnicode(bg.name), sameName)
          << withMark(Gbk::toUnicode(bg.templateName), sameTemplate)
          << withMark(PageSizes::statusName(current->widthMm, current->heightMm), sameSize)
          << u("共%1块").arg(current->blocks.size())
          << selection(*current, doc.placeholderSources());
    return texts;
}

}  // namespace pemo
