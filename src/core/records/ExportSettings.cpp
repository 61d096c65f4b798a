#include "ExportSettings.h"

#include <QRegularExpression>

#include "ImportSettings.h"
#include "core/codecs/Gbk.h"
#include "core/config/DicFile.h"
#include "core/config/VariableNameList.h"

namespace pemo {

namespace {

ImportSettings::Kind importKind(ExportSettings::Kind kind) {
    return kind == ExportSettings::Kind::Text ? ImportSettings::Kind::Text
                                              : ImportSettings::Kind::Workbook;
}

}  // namespace

ExportSettings::ExportSettings(Kind kind) : kind(kind) {
    if (kind == Kind::Workbook) sheetName = QByteArrayLiteral("Sheet1");
}

QString ExportSettings::fileName(Kind kind) {
    return kind == Kind::Text ? QStringLiteral("PemExTxt.dic") : QStringLiteral("PemExXls.dic");
}

char ExportSettings::separator() const { return ImportSettings::separatorAt(separatorIndex); }

// The import settings share the layout; they write and read the bytes for both.
QByteArray ExportSettings::encode() const {
    ImportSettings bytes(importKind(kind));
    bytes.columns = orders;
    bytes.separatorIndex = separatorIndex;
    bytes.sheetName = sheetName;
    return bytes.encode();
}

ExportSettings ExportSettings::decode(Kind kind, const QByteArray& bytes) {
    const ImportSettings read = ImportSettings::decode(importKind(kind), bytes);
    ExportSettings settings(kind);
    bool any = false;
    for (int32_t column : read.columns) any = any || column != 0;
    if (!any && read.sheetName.isEmpty()) return settings;  // too short: the defaults
    for (int i = 0; i < kTargetCount; ++i) {
        const int32_t number = read.columns[size_t(i)];
        settings.orders[size_t(i)] = number <= kTargetCount ? number : 0;
    }
    settings.separatorIndex = read.separatorIndex;
    if (kind == Kind::Workbook) settings.sheetName = read.sheetName;
    return settings;
}

ExportSettings ExportSettings::load(Kind kind) {
    const std::optional<QByteArray> bytes = DicFile::read(fileName(kind));
    return bytes ? decode(kind, *bytes) : ExportSettings(kind);
}

bool ExportSettings::save() const { return DicFile::write(fileName(kind), encode()); }

void ExportSettings::selectAll() {
    for (int i = 0; i < kTargetCount; ++i) orders[size_t(i)] = i + 1;
}

QString ExportSettings::sheetNameProblem(const QString& name) {
    if (name.size() > kMaxSheetName ||
        name.contains(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]"))) ||
        name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\''))) {
        return QString::fromUtf8(
            "工作表名最多31个字符，不能含有 [ ] : * ? / \\，也不能以单引号开头或结尾。");
    }
    return QString();
}

QString ExportSettings::check(const QString& fileName, const VariableNameList& names) const {
    if (fileName.isEmpty()) return QString::fromUtf8("空文件名。");
    if (kind == Kind::Workbook) {
        if (sheetName.isEmpty()) return QString::fromUtf8("在配置中，工作表名不能为空。");
        const QString problem = sheetNameProblem(Gbk::toUnicode(sheetName));
        if (!problem.isEmpty()) return problem;
    }
    int n = 0;
    for (int32_t number : orders) n += number != 0 ? 1 : 0;
    if (n == 0) return QString::fromUtf8("在配置中，所有项为空，文件无法导出。");
    for (int j = 0; j < kTargetCount; ++j) {
        const int32_t c = orders[size_t(j)];
        if (c == 0) continue;
        if (c > n) {
            return QString::fromUtf8("共导出%1项，%2的导出序号错误。")
                .arg(n)
                .arg(ImportSettings::targetName(j, names));
        }
        for (int k = j + 1; k < kTargetCount; ++k) {
            if (orders[size_t(k)] == c) {
                return QString::fromUtf8("在配置中，%1和%2的值相同，文件无法导出。")
                    .arg(ImportSettings::targetName(j, names), ImportSettings::targetName(k, names));
            }
        }
    }
    return QString();
}

std::vector<int> ExportSettings::order() const {
    std::vector<int> targets;
    int32_t last = 0;
    for (;;) {
        int best = -1;
        for (int i = 0; i < kTargetCount; ++i) {
            const int32_t c = orders[size_t(i)];
            if (c > last && (best < 0 || c < orders[size_t(best)])) best = i;
        }
        if (best < 0) return targets;
        targets.push_back(best);
        last = orders[size_t(best)];
    }
}

QByteArray ExportSettings::caption(int target, const VariableNameList& names) {
    switch (target) {
        case 10: return Gbk::fromUnicode(QString::fromUtf8("原价"));
        case 11: return Gbk::fromUnicode(QString::fromUtf8("现价"));
        case 12: return Gbk::fromUnicode(QString::fromUtf8("折扣"));
        default: return names.name(target);
    }
}

}  // namespace pemo
