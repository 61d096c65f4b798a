#include "VariableNameList.h"

#include <QFile>

#include "codecs/Archive.h"
#include "codecs/Gbk.h"
#include "platform/Folders.h"

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
    QFile file(programFolder() + QStringLiteral("/PemDefvar.dic"));
    if (!file.open(QIODevice::ReadOnly)) return list;
    try {
        ArchiveReader in(file.readAll());
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
