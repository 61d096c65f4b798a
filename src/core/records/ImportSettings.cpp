#include "ImportSettings.h"

#include <QSettings>

#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/config/DicFile.h"
#include "core/config/VariableNameList.h"

namespace pemo {

QString ImportSettings::fileName(Kind kind) {
    return kind == Kind::Text ? QStringLiteral("PemImTxt.dic") : QStringLiteral("PemImXls.dic");
}

char ImportSettings::separatorAt(int index) {
    static constexpr char kSeparators[kSeparatorCount] = {',', ';', ':', '?', '.'};
    return index >= 0 && index < kSeparatorCount ? kSeparators[index] : '.';
}

QByteArray ImportSettings::encode() const {
    ArchiveWriter out;
    for (int32_t column : columns) out.writeInt32(column);
    if (kind == Kind::Text) {
        out.writeInt32(separatorIndex);
    } else {
        out.writeText(sheetName);
    }
    return out.take();
}

ImportSettings ImportSettings::decode(Kind kind, const QByteArray& bytes) {
    ImportSettings settings(kind);
    try {
        ArchiveReader in(bytes);
        for (int32_t& column : settings.columns) {
            column = in.readInt32();
            if (column < 0 || column > kMaxColumn) column = 0;
        }
        if (kind == Kind::Text) {
            settings.separatorIndex = in.readInt32();
            if (settings.separatorIndex < 0 || settings.separatorIndex >= kSeparatorCount) {
                settings.separatorIndex = 0;
            }
        } else {
            settings.sheetName = in.readText();
        }
    } catch (const FormatError&) {
        return ImportSettings(kind);
    }
    return settings;
}

namespace {

const char* const kOrganisation = "佩墨";

}  // namespace

QString ImportSettings::headerKey(Kind kind) {
    return kind == Kind::Text ? QStringLiteral("Import/TextFirstRowHeader")
                              : QStringLiteral("Import/WorkbookFirstRowHeader");
}

ImportSettings ImportSettings::load(Kind kind) {
    const std::optional<QByteArray> bytes = DicFile::read(fileName(kind));
    ImportSettings settings = bytes ? decode(kind, *bytes) : ImportSettings(kind);
    const QVariant header =
        QSettings(QString::fromUtf8(kOrganisation), QStringLiteral("Pemo")).value(headerKey(kind));
    if (header.isValid()) settings.header = header.toBool() ? Header::Yes : Header::No;
    return settings;
}

bool ImportSettings::save() const {
    if (header != Header::Unknown) {
        QSettings(QString::fromUtf8(kOrganisation), QStringLiteral("Pemo"))
            .setValue(headerKey(kind), header == Header::Yes);
    }
    return DicFile::write(fileName(kind), encode());
}

QString ImportSettings::targetName(int target, const VariableNameList& names) {
    switch (target) {
        case 10: return QString::fromUtf8("{原价}");
        case 11: return QString::fromUtf8("{现价}");
        case 12: return QString::fromUtf8("{折扣}");
        default: return QLatin1Char('{') + Gbk::toUnicode(names.name(target)) + QLatin1Char('}');
    }
}

QString ImportSettings::check(const QString& fileName, const VariableNameList& names) const {
    if (fileName.isEmpty()) return QString::fromUtf8("空文件名。");
    if (kind == Kind::Workbook && sheetName.isEmpty()) {
        return QString::fromUtf8("在配置中，工作表名不能为空。");
    }
    bool any = false;
    for (int32_t column : columns) any = any || column != 0;
    if (!any) return QString::fromUtf8("在配置中，所有项为空，文件无法导入。");
    for (int i = 0; i < kTargetCount; ++i) {
        if (columns[size_t(i)] == 0) continue;
        for (int j = i + 1; j < kTargetCount; ++j) {
            if (columns[size_t(j)] == columns[size_t(i)]) {
                return QString::fromUtf8("在配置中，%1和%2的值相同，文件无法导入。")
                    .arg(targetName(i, names), targetName(j, names));
            }
        }
    }
    return QString();
}

}  // namespace pemo
