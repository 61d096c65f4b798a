#include "ZipEntryStream.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace pemo {

namespace {

// minizip reads through these callbacks from a byte array instead of a file; the
// opaque pointer is the stream's source.
using MemorySource = ZipEntryStream::Source;

voidpf ZCALLBACK memOpen(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto* stream = static_cast<MemorySource*>(opaque);
    stream->pos = 0;
    return stream;
}

uLong ZCALLBACK memRead(voidpf, voidpf s, void* buf, uLong size) {
    auto* stream = static_cast<MemorySource*>(s);
    const qsizetype left = stream->data->size() - stream->pos;
    const qsizetype n = std::min<qsizetype>(left, qsizetype(size));
    if (n <= 0)
        return 0;
    std::memcpy(buf, stream->data->constData() + stream->pos, size_t(n));
    stream->pos += n;
    return uLong(n);
}

uLong ZCALLBACK memWrite(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK memTell(voidpf, voidpf s) {
    return ZPOS64_T(static_cast<MemorySource*>(s)->pos);
}

long ZCALLBACK memSeek(voidpf, voidpf s, ZPOS64_T offset, int origin) {
    auto* stream = static_cast<MemorySource*>(s);
    const qsizetype size = stream->data->size();
    if (offset > ZPOS64_T(size))
        return -1;
    const auto off = qsizetype(offset);
    qsizetype target = 0;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET:
            target = off;
            break;
        case ZLIB_FILEFUNC_SEEK_CUR:
            target = stream->pos + off;
            break;
        // minizip passes a positive offset meaning "this far before the end".
        case ZLIB_FILEFUNC_SEEK_END:
            target = size + off;
            break;
        default:
            return -1;
    }
    if (target < 0 || target > size)
        return -1;
    stream->pos = target;
    return 0;
}

int ZCALLBACK memClose(voidpf, voidpf) {
    return 0;
}
int ZCALLBACK memError(voidpf, voidpf) {
    return 0;
}

bool withinLimits(const unz_file_info64& info, const ZipEntryStream::Limits& limits) {
    if (limits.maxSize < 0 || info.uncompressed_size > ZPOS64_T(limits.maxSize))
        return false;
    if (limits.maxRatio <= 0 || info.uncompressed_size <= ZPOS64_T(ZipEntryStream::kRatioFloor))
        return true;
    return info.uncompressed_size / ZPOS64_T(limits.maxRatio) <= info.compressed_size;
}

}  // namespace

ZipEntryStream::ZipEntryStream(const QByteArray& archive, const QByteArray* name, Limits limits) {
    source_.data = &archive;
    zlib_filefunc64_def io{};
    io.zopen64_file = memOpen;
    io.zread_file = memRead;
    io.zwrite_file = memWrite;
    io.ztell64_file = memTell;
    io.zseek64_file = memSeek;
    io.zclose_file = memClose;
    io.zerror_file = memError;
    io.opaque = &source_;
    zip_ = unzOpen2_64("", &io);
    if (!zip_)
        return;
    unz_file_info64 info{};
    const int found = name ? unzLocateFile(zip_, name->constData(), 1) : unzGoToFirstFile(zip_);
    if (found != UNZ_OK ||
        unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        (info.flag & 1) != 0 ||
        (info.compression_method != 0 && info.compression_method != Z_DEFLATED) ||
        !withinLimits(info, limits) || unzOpenCurrentFile(zip_) != UNZ_OK) {
        return;
    }
    entryOpen_ = true;
    declared_ = qint64(info.uncompressed_size);
    open(QIODevice::ReadOnly);
}

ZipEntryStream::~ZipEntryStream() {
    if (entryOpen_)
        unzCloseCurrentFile(zip_);
    if (zip_)
        unzClose(zip_);
}

bool ZipEntryStream::atEnd() const {
    return ended_ && QIODevice::atEnd();
}

void ZipEntryStream::finish() {
    ended_ = true;
    if (!entryOpen_)
        return;
    // Closing checks the CRC-32 once the whole entry has been read.
    const int closed = unzCloseCurrentFile(zip_);
    entryOpen_ = false;
    complete_ = closed == UNZ_OK && produced_ == declared_;
}

qint64 ZipEntryStream::readData(char* data, qint64 maxSize) {
    if (ended_)
        return -1;
    // QIODevice asks for nothing at times; minizip's 0 would read as the entry's end.
    if (maxSize <= 0)
        return 0;
    const auto want = unsigned(std::min<qint64>(maxSize, INT_MAX));
    const int n = unzReadCurrentFile(zip_, data, want);
    if (n == 0) {
        finish();
        return -1;
    }
    if (n < 0 || produced_ + n > declared_) {
        // Damaged, or more than it said it holds: what came so far is not trusted.
        ended_ = true;
        complete_ = false;
        return -1;
    }
    produced_ += n;
    return n;
}

}  // namespace pemo
