#include "VariableNameList.h"

#include "DicFile.h"

#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Folders.h"

namespace pemo {

QList<QByteArray> VariableNameList::defaultNames() {
    static const char* const kNames[kVariableCount] = {
        "商品名称", "商品说明", "商品规格", "商品单位", "商品等级",
        "商品产地", "生产日期", "促销信息", "商品属性", "其他信息"};
    QList<QByteArray> names;
    for (const char* n : kNames) names.append(Gbk::fromUnicode(QString::fromUtf8(n)));
    return names;
}

VariableNameList VariableNameList::build() {
    VariableNameList list;
    const auto bytes = DicFile::read(QStringLiteral("PemDefvar.dic"));
    if (!bytes) return list;
    try {
        ArchiveReader in(*bytes);
        VariableNameList read;
        read.load(in);
        while (read.names_.size() < kVariableCount) {
            read.names_.append(defaultNames().at(read.names_.size()));
        }
        return read;
    } catch (const FormatError&) {
        return list;
    }
}

bool VariableNameList::saveAsDefault(const QList<QByteArray>& tenNames) {
    ArchiveWriter out;
    out.writeInt32(kVariableCount);
    for (int i = 0; i < kVariableCount; ++i) out.writeText(tenNames.value(i));
    return DicFile::write(QStringLiteral("PemDefvar.dic"), out.data());
}

QList<QList<QByteArray>> VariableNameList::loadSets() {
    QList<QList<QByteArray>> sets;
    const auto bytes = DicFile::read(QStringLiteral("PemVar.dic"));
    if (!bytes) return sets;
    try {
        ArchiveReader in(*bytes);
        const int32_t count = in.readCount(kVariableCount);
        for (int32_t i = 0; i < count; ++i) {
            QList<QByteArray> set;
            for (int k = 0; k < kVariableCount; ++k) set.append(in.readText());
            sets.append(set);
        }
    } catch (const FormatError&) {
        // A damaged file keeps the sets read before the damage.
    }
    return sets;
}

bool VariableNameList::saveSets(const QList<QList<QByteArray>>& sets) {
    ArchiveWriter out;
    out.writeInt32(static_cast<int32_t>(sets.size()));
    for (const auto& set : sets) {
        for (int k = 0; k < kVariableCount; ++k) out.writeText(set.value(k));
    }
    return DicFile::write(QStringLiteral("PemVar.dic"), out.data());
}

QByteArray VariableNameList::name(int index) const {
    if (index >= 0 && index < names_.size()) return names_.at(index);
    if (index >= 0 && index < kVariableCount) return defaultNames().at(index);
    return QByteArray();
}

void VariableNameList::setName(int index, const QByteArray& name) {
    if (index < 0) return;
    while (names_.size() <= index) names_.append(defaultNames().value(names_.size()));
    names_[index] = name;
}

void VariableNameList::store(ArchiveWriter& out) const {
    out.writeInt32(static_cast<int32_t>(names_.size()));
    for (const QByteArray& n : names_) out.writeText(n);
}

void VariableNameList::load(ArchiveReader& in) {
    const int32_t n = in.readCount(1);
    QList<QByteArray> names;
    names.reserve(n);
    for (int32_t i = 0; i < n; ++i) names.append(in.readText());
    names_ = names;
}

}  // namespace pemo
