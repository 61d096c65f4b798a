#include "JpegHeader.h"

namespace pemo {

std::optional<JpegHeader> JpegHeader::read(const QByteArray& bytes) {
    const auto byteAt = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const qsizetype n = bytes.size();
    if (n < 4 || byteAt(0) != 0xFF || byteAt(1) != 0xD8) return std::nullopt;
    qsizetype i = 2;
    while (i + 4 <= n) {
        if (byteAt(i) != 0xFF) return std::nullopt;
        const unsigned char marker = byteAt(i + 1);
        if (marker == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // no frame before the scan
        const int length = (byteAt(i + 2) << 8) | byteAt(i + 3);
        if (length < 2 || i + 2 + length > n) return std::nullopt;
        // Start of frame: baseline, extended, progressive, lossless (not 0xC4, 0xC8, 0xCC).
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                           marker != 0xCC;
        if (frame) {
            if (length < 8) return std::nullopt;
            JpegHeader h;
            h.height = (byteAt(i + 5) << 8) | byteAt(i + 6);
            h.width = (byteAt(i + 7) << 8) | byteAt(i + 8);
            h.components = byteAt(i + 9);
            if (h.width <= 0 || h.height <= 0 || h.components <= 0) return std::nullopt;
            return h;
        }
        i += 2 + length;
    }
    return std::nullopt;
}

}  // namespace pemo
