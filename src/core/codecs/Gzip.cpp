#include "Gzip.h"

#include <QBuffer>

#include "GunzipDevice.h"
#include "GzipDevice.h"

namespace pemo {

QByteArray gzipCompress(const QByteArray& data, bool* ok) {
    if (ok)
        *ok = false;
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    GzipDevice gzip(buffer);
    if (!gzip.isReady() || gzip.write(data) != data.size() || !gzip.finish())
        return {};
    if (ok)
        *ok = true;
    return out;
}

std::optional<QByteArray> gunzipExactly(const QByteArray& packed, qsizetype expectedSize) {
    if (expectedSize < 0 || expectedSize > kMaxGunzipSize)
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(packed);
    buffer.open(QIODevice::ReadOnly);
    GunzipDevice gunzip(buffer, packed.size());
    QByteArray out(expectedSize, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < expectedSize) {
        const qint64 n = gunzip.read(out.data() + got, expectedSize - got);
        if (n <= 0)
            return std::nullopt;
        got += n;
    }
    // Z_STREAM_END means the trailer's CRC-32 and size matched what came out.
    if (!gunzip.finishExactly(expectedSize))
        return std::nullopt;
    return out;
}

}  // namespace pemo
