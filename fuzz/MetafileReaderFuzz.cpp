// Feeds arbitrary bytes to the metafile conversion: the first byte chooses WMF (even) or
// EMF (odd), the rest is the file.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "core/codecs/Metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const auto type = data[0] % 2 == 0 ? pemo::Metafile::Type::Wmf : pemo::Metafile::Type::Emf;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    pemo::Metafile::naturalSize(bytes, type);
    const QByteArray svg = pemo::Metafile::toSvg(bytes, type);
    if (!svg.isEmpty() && !svg.contains("<svg")) __builtin_trap();
    return 0;
}
