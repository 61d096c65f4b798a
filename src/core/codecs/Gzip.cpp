#include "Gzip.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace pemo {

namespace {

constexpr unsigned char kGzipHeader[10] = {0x1F, 0x8B, 0x08, 0x00, 0x00,
                                           0x00, 0x00, 0x00, 0x00, 0x0B};
// zlib's windowBits for a gzip wrapper (15 + 16).
constexpr int kGzipWindowBits = 31;
// zlib's avail_in/avail_out are 32-bit; large buffers are fed in slices.
constexpr qsizetype kSlice = qsizetype(1) << 30;

}  // namespace

QByteArray gzipCompress(const QByteArray& data, bool* ok) {
    if (ok)
        *ok = false;
    z_stream zs{};
    if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindowBits, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    gz_header header{};
    header.os = 11;
    if (deflateSetHeader(&zs, &header) != Z_OK) {
        deflateEnd(&zs);
        return {};
    }

    QByteArray out;
    const auto* in = reinterpret_cast<const Bytef*>(data.constData());
    qsizetype inLeft = data.size();
    char buffer[64 * 1024];
    int rc = Z_OK;
    do {
        if (zs.avail_in == 0 && inLeft > 0) {
            const qsizetype take = std::min(inLeft, kSlice);
            zs.next_in = const_cast<Bytef*>(in);
            zs.avail_in = uInt(take);
            in += take;
            inLeft -= take;
        }
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        rc = deflate(&zs, inLeft == 0 ? Z_FINISH : Z_NO_FLUSH);
        if (rc == Z_STREAM_ERROR)
            break;
        out.append(buffer, qsizetype(sizeof buffer - zs.avail_out));
    } while (rc != Z_STREAM_END);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END || out.size() < 18)
        return {};

    // zlib sets the extra-flags byte from the level (0 at the default level); the
    // stored form wants the fixed header whatever zlib chose.
    std::copy(std::begin(kGzipHeader), std::end(kGzipHeader), out.begin());
    if (ok)
        *ok = true;
    return out;
}

std::optional<QByteArray> gunzipExactly(const QByteArray& packed, qsizetype expectedSize) {
    if (expectedSize < 0 || expectedSize > kMaxGunzipSize)
        return std::nullopt;
    if (packed.size() > qsizetype(UINT_MAX))
        return std::nullopt;

    z_stream zs{};
    if (inflateInit2(&zs, kGzipWindowBits) != Z_OK)
        return std::nullopt;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    zs.avail_in = uInt(packed.size());

    // One spare byte shows whether the member holds more than expected.
    QByteArray out(expectedSize + 1, Qt::Uninitialized);
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());

    int rc = Z_OK;
    while (rc == Z_OK && zs.avail_out > 0 && zs.avail_in > 0)
        rc = inflate(&zs, Z_NO_FLUSH);
    const qsizetype produced = qsizetype(zs.total_out);
    inflateEnd(&zs);

    // Z_STREAM_END means the trailer's CRC-32 and size matched what came out.
    if (rc != Z_STREAM_END || produced != expectedSize)
        return std::nullopt;
    out.truncate(expectedSize);
    return out;
}

}  // namespace pemo
