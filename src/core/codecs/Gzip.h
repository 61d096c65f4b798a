#pragma once

#include <QByteArray>
#include <optional>

namespace pemo {

// The largest body gunzipExactly agrees to inflate.
inline constexpr qsizetype kMaxGunzipSize = qsizetype(1) << 30;

// Compresses data into one gzip member at the default level, with the fixed header
// 1F 8B 08 00 00 00 00 00 00 0B (no name, no time, operating system byte 11) that
// document files carry, followed by raw deflate data, CRC-32 and the size, both
// little-endian. On failure returns an empty array and sets *ok to false.
QByteArray gzipCompress(const QByteArray& data, bool* ok = nullptr);

// Inflates the first gzip member of packed and returns its content only when it is
// exactly expectedSize bytes long and the member's CRC-32 and size check out. Never
// holds more than expectedSize + 1 bytes of output; refuses a negative expectedSize
// or one above kMaxGunzipSize before allocating anything.
std::optional<QByteArray> gunzipExactly(const QByteArray& packed, qsizetype expectedSize);

}  // namespace pemo
