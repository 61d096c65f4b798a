#pragma once

#include <QByteArray>
#include <optional>

#include "ZipEntryStream.h"

namespace pemo {

// Reads entries of a ZIP archive held in memory: the first one, as older document and
// template files carry it, or one by name (workbooks).
class ZipExtract {
public:
    // The first entry's bytes, or nullopt when the archive is damaged, holds no
    // entry, the entry is encrypted or uses a method other than stored or deflate,
    // its declared uncompressed size is above maxSize, or what comes out does not
    // match its declared size and CRC-32.
    static std::optional<QByteArray> firstEntry(const QByteArray& archive, qsizetype maxSize);
    // The entry called name (exact path inside the archive), on the same terms, and
    // refused when it declares more than maxRatio times its compressed size (0: any;
    // see ZipEntryStream).
    static std::optional<QByteArray> entry(const QByteArray& archive, const QByteArray& name,
                                           qsizetype maxSize, int maxRatio = 0);

private:
    static std::optional<QByteArray> extract(const QByteArray& archive, const QByteArray* name,
                                             const ZipEntryStream::Limits& limits);
};

}  // namespace pemo
