#include "PhraseList.h"

#include "DicFile.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"

namespace pemo {

QByteArray PhraseList::fixedFirst() { return Gbk::fromUnicode(QString::fromUtf8("文字")); }

void PhraseList::clear() { phrases_ = {fixedFirst()}; }

bool PhraseList::add(const QByteArray& phrase) {
    if (size() > kMaxStored) return false;
    phrases_.append(phrase);
    return true;
}

PhraseList PhraseList::build() {
    PhraseList list;
    const auto bytes = DicFile::read(QStringLiteral("PemText.dic"));
    if (!bytes) return list;
    try {
        ArchiveReader in(*bytes);
        const int32_t count = in.readCount(1);
        for (int32_t i = 0; i < count; ++i) {
            if (!list.add(in.readText())) break;
        }
    } catch (const FormatError&) {
        // Phrases read before the damage are kept.
    }
    return list;
}

bool PhraseList::save() const {
    ArchiveWriter out;
    out.writeInt32(static_cast<int32_t>(phrases_.size() - 1));
    for (int i = 1; i < phrases_.size(); ++i) out.writeText(phrases_.at(i));
    return DicFile::write(QStringLiteral("PemText.dic"), out.data());
}

}  // namespace pemo
