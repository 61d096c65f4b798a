#include "MallInfoList.h"

#include "codecs/Gbk.h"

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

void MallInfoList::setValue(int index, const QByteArray& value) {
    if (index >= 0 && index < entries_.size()) entries_[index].value = value;
}

}  // namespace pemo
