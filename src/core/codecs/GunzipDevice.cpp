#include "GunzipDevice.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace pemo {

namespace {

// zlib's windowBits for a gzip wrapper (15 + 16).
constexpr int kGzipWindowBits = 31;
constexpr qint64 kInputSlice = 64 * 1024;

}  // namespace

struct GunzipDevice::State {
    State(QIODevice& from, qint64 packed) : source(from), packedLeft(packed) {}
    QIODevice& source;
    qint64 packedLeft = 0;
    z_stream zs{};
    bool initialised = false;
    bool ended = false;
    bool failed = false;
    QByteArray input;
};

GunzipDevice::GunzipDevice(QIODevice& source, qint64 packedSize)
    : state_(std::make_unique<State>(source, std::max<qint64>(packedSize, 0))) {
    state_->initialised = inflateInit2(&state_->zs, kGzipWindowBits) == Z_OK;
    state_->failed = !state_->initialised;
    state_->input.resize(kInputSlice);
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

GunzipDevice::~GunzipDevice() {
    if (state_->initialised) inflateEnd(&state_->zs);
}

qint64 GunzipDevice::readData(char* data, qint64 maxSize) {
    State& s = *state_;
    if (s.failed) return -1;
    qint64 produced = 0;
    while (produced < maxSize && !s.ended) {
        if (s.zs.avail_in == 0) {
            if (s.packedLeft == 0) break;
            const qint64 got = s.source.read(s.input.data(), std::min(s.packedLeft, kInputSlice));
            if (got <= 0) {
                s.failed = true;
                break;
            }
            s.packedLeft -= got;
            s.zs.next_in = reinterpret_cast<Bytef*>(s.input.data());
            s.zs.avail_in = uInt(got);
        }
        const uInt room = uInt(std::min<qint64>(maxSize - produced, UINT_MAX));
        s.zs.next_out = reinterpret_cast<Bytef*>(data + produced);
        s.zs.avail_out = room;
        const int rc = inflate(&s.zs, Z_NO_FLUSH);
        produced += room - s.zs.avail_out;
        if (rc == Z_STREAM_END) {
            s.ended = true;
        } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
            s.failed = true;
            break;
        }
    }
    return produced > 0 || !s.failed ? produced : -1;
}

bool GunzipDevice::finishExactly(qint64 expectedSize) {
    char scratch[16 * 1024];
    while (!state_->ended && !state_->failed) {
        const qint64 got = readData(scratch, sizeof scratch);
        if (got <= 0) break;
    }
    return state_->ended && !state_->failed && qint64(state_->zs.total_out) == expectedSize;
}

}  // namespace pemo
