#include "GzipDevice.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace pemo {

namespace {

constexpr unsigned char kGzipHeader[10] = {0x1F, 0x8B, 0x08, 0x00, 0x00,
                                           0x00, 0x00, 0x00, 0x00, 0x0B};
// Raw deflate data; the gzip header and trailer are written here.
constexpr int kRawWindowBits = -15;
constexpr int kMemLevel = 8;
constexpr qint64 kOutputSlice = 64 * 1024;

}  // namespace

struct GzipDevice::State {
    explicit State(QIODevice& to) : target(to) {}
    QIODevice& target;
    z_stream zs{};
    bool ready = false;
    bool failed = false;
    uLong crc = crc32(0, nullptr, 0);
    qint64 contentSize = 0;
    qint64 packedSize = 0;
    QByteArray output;
};

GzipDevice::GzipDevice(QIODevice& target) : state_(std::make_unique<State>(target)) {
    State& s = *state_;
    s.ready = deflateInit2(&s.zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawWindowBits, kMemLevel,
                           Z_DEFAULT_STRATEGY) == Z_OK;
    s.output.resize(kOutputSlice);
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

GzipDevice::~GzipDevice() {
    if (state_->ready) deflateEnd(&state_->zs);
}

bool GzipDevice::isReady() const { return state_->ready; }
qint64 GzipDevice::contentSize() const { return state_->contentSize; }
qint64 GzipDevice::packedSize() const { return state_->packedSize; }

bool GzipDevice::deflateSome(const char* data, qint64 size, int flush) {
    State& s = *state_;
    if (s.packedSize == 0) {
        const auto* header = reinterpret_cast<const char*>(kGzipHeader);
        if (s.target.write(header, sizeof kGzipHeader) != qint64(sizeof kGzipHeader)) return false;
        s.packedSize = sizeof kGzipHeader;
    }
    // zlib's counts are 32-bit; larger writes go in slices.
    do {
        const qint64 take = std::min<qint64>(size, INT_MAX);
        s.zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        s.zs.avail_in = uInt(take);
        const int sliceFlush = take == size ? flush : Z_NO_FLUSH;
        int rc = Z_OK;
        do {
            s.zs.next_out = reinterpret_cast<Bytef*>(s.output.data());
            s.zs.avail_out = uInt(s.output.size());
            rc = deflate(&s.zs, sliceFlush);
            if (rc == Z_STREAM_ERROR) return false;
            const qint64 made = s.output.size() - s.zs.avail_out;
            if (made > 0 && s.target.write(s.output.constData(), made) != made) return false;
            s.packedSize += made;
        } while (s.zs.avail_out == 0 || (sliceFlush == Z_FINISH && rc != Z_STREAM_END));
        data += take;
        size -= take;
    } while (size > 0);
    return true;
}

qint64 GzipDevice::writeData(const char* data, qint64 size) {
    State& s = *state_;
    if (!s.ready || s.failed) return -1;
    if (!deflateSome(data, size, Z_NO_FLUSH)) {
        s.failed = true;
        return -1;
    }
    for (qint64 done = 0; done < size;) {
        const qint64 take = std::min<qint64>(size - done, INT_MAX);
        s.crc = crc32(s.crc, reinterpret_cast<const Bytef*>(data + done), uInt(take));
        done += take;
    }
    s.contentSize += size;
    return size;
}

bool GzipDevice::finish() {
    State& s = *state_;
    if (!s.ready || s.failed || !deflateSome(nullptr, 0, Z_FINISH)) return false;
    // CRC-32 and the content's size modulo 2^32, little-endian.
    const auto size = quint32(quint64(s.contentSize) & 0xFFFFFFFFu);
    const quint32 crc = quint32(s.crc);
    const char trailer[8] = {char(crc & 0xFF),  char((crc >> 8) & 0xFF),  char((crc >> 16) & 0xFF),
                             char(crc >> 24),   char(size & 0xFF),        char((size >> 8) & 0xFF),
                             char((size >> 16) & 0xFF), char(size >> 24)};
    if (s.target.write(trailer, sizeof trailer) != qint64(sizeof trailer)) return false;
    s.packedSize += sizeof trailer;
    return true;
}

}  // namespace pemo
