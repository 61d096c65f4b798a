#include "MallInfoList.h"

#include "DicFile.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"

namespace pemo {

QList<MallInfoEntry> MallInfoList::defaultEntries() {
    static const char* const kDefaults[kItemCount][2] = {
        {"商场简称", "澜川"},
        {"商场全称", "北京澜川科技发展有限公司"},
        {"监督电话", "010-12345678"},
        {"服务电话", "010-12345679"},
        {"商场网址", "www.lanchuan.com.cn"},
    };
    QList<MallInfoEntry> entries;
    for (const auto& d : kDefaults) {
        entries.append({Gbk::fromUnicode(QString::fromUtf8(d[0])),
                        Gbk::fromUnicode(QString::fromUtf8(d[1]))});
    }
    return entries;
}

MallInfoList MallInfoList::build() {
    MallInfoList list;
    const auto bytes = DicFile::read(QStringLiteral("PemStore.dic"));
    if (!bytes) return list;
    QList<MallInfoEntry> read;
    try {
        ArchiveReader in(*bytes);
        const int32_t count = in.readCount(2);
        for (int32_t i = 0; i < count && read.size() < kItemCount; ++i) {
            MallInfoEntry entry;
            entry.name = in.readText();
            entry.value = in.readText();
            read.append(entry);
        }
    } catch (const FormatError&) {
        // Entries read before the damage are kept; the rest come from the defaults.
    }
    const QList<MallInfoEntry> defaults = defaultEntries();
    while (read.size() < kItemCount) read.append(defaults.at(read.size()));
    list.entries_ = read;
    return list;
}

bool MallInfoList::save() const {
    ArchiveWriter out;
    out.writeInt32(static_cast<int32_t>(entries_.size()));
    for (const MallInfoEntry& e : entries_) {
        out.writeText(e.name);
        out.writeText(e.value);
    }
    return DicFile::write(QStringLiteral("PemStore.dic"), out.data());
}

void MallInfoList::setValue(int index, const QByteArray& value) {
    if (index >= 0 && index < entries_.size()) entries_[index].value = value;
}

}  // namespace pemo
