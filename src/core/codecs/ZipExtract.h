#pragma once

#include <QByteArray>
#include <optional>

namespace pemo {

// Reads the first entry of a ZIP archive held in memory, as older document and
// template files carry it.
class ZipExtract {
public:
    // The first entry's bytes, or nullopt when the archive is damaged, holds no
    // entry, the entry is encrypted or uses a method other than stored or deflate,
    // its declared uncompressed size is above maxSize, or what comes out does not
    // match its declared size and CRC-32.
    static std::optional<QByteArray> firstEntry(const QByteArray& archive, qsizetype maxSize);
};

}  // namespace pemo
