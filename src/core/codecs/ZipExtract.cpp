#include "ZipExtract.h"

#include "ZipEntryStream.h"

namespace pemo {

std::optional<QByteArray> ZipExtract::firstEntry(const QByteArray& archive, qsizetype maxSize) {
    return extract(archive, nullptr, {maxSize, 0});
}

std::optional<QByteArray> ZipExtract::entry(const QByteArray& archive, const QByteArray& name,
                                            qsizetype maxSize, int maxRatio) {
    return extract(archive, &name, {maxSize, maxRatio});
}

std::optional<QByteArray> ZipExtract::extract(const QByteArray& archive, const QByteArray* name,
                                              const ZipEntryStream::Limits& limits) {
    ZipEntryStream stream(archive, name, limits);
    if (!stream.isOpen())
        return std::nullopt;
    // The buffer grows with what actually comes out, so a small archive that declares
    // a huge entry costs no more memory than its real content.
    QByteArray out;
    char chunk[64 * 1024];
    qint64 n = 0;
    while ((n = stream.read(chunk, sizeof chunk)) > 0)
        out.append(chunk, qsizetype(n));
    if (!stream.complete())
        return std::nullopt;
    return out;
}

}  // namespace pemo
