#include "ZipExtract.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>

namespace pemo {

namespace {

// minizip reads through these callbacks from a byte array instead of a file.
struct MemoryStream {
    const QByteArray* data = nullptr;
    qsizetype pos = 0;
};

voidpf ZCALLBACK memOpen(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto* stream = static_cast<MemoryStream*>(opaque);
    stream->pos = 0;
    return stream;
}

uLong ZCALLBACK memRead(voidpf, voidpf s, void* buf, uLong size) {
    auto* stream = static_cast<MemoryStream*>(s);
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
    return ZPOS64_T(static_cast<MemoryStream*>(s)->pos);
}

long ZCALLBACK memSeek(voidpf, voidpf s, ZPOS64_T offset, int origin) {
    auto* stream = static_cast<MemoryStream*>(s);
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

}  // namespace

std::optional<QByteArray> ZipExtract::firstEntry(const QByteArray& archive, qsizetype maxSize) {
    return extract(archive, nullptr, maxSize);
}

std::optional<QByteArray> ZipExtract::entry(const QByteArray& archive, const QByteArray& name,
                                            qsizetype maxSize) {
    return extract(archive, &name, maxSize);
}

std::optional<QByteArray> ZipExtract::extract(const QByteArray& archive, const QByteArray* name,
                                              qsizetype maxSize) {
    if (maxSize < 0)
        return std::nullopt;
    MemoryStream stream{&archive, 0};
    zlib_filefunc64_def io{};
    io.zopen64_file = memOpen;
    io.zread_file = memRead;
    io.zwrite_file = memWrite;
    io.ztell64_file = memTell;
    io.zseek64_file = memSeek;
    io.zclose_file = memClose;
    io.zerror_file = memError;
    io.opaque = &stream;

    unzFile zip = unzOpen2_64("", &io);
    if (!zip)
        return std::nullopt;

    std::optional<QByteArray> result;
    unz_file_info64 info{};
    const int found = name ? unzLocateFile(zip, name->constData(), 1) : unzGoToFirstFile(zip);
    if (found == UNZ_OK &&
        unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK &&
        (info.flag & 1) == 0 &&
        (info.compression_method == 0 || info.compression_method == Z_DEFLATED) &&
        info.uncompressed_size <= ZPOS64_T(maxSize) && unzOpenCurrentFile(zip) == UNZ_OK) {
        // The buffer grows with what actually comes out, so a small archive that
        // declares a huge entry costs no more memory than its real content.
        const auto declared = qsizetype(info.uncompressed_size);
        QByteArray out;
        char chunk[64 * 1024];
        int n = 0;
        while ((n = unzReadCurrentFile(zip, chunk, sizeof chunk)) > 0) {
            if (out.size() + n > declared)
                break;
            out.append(chunk, n);
        }
        // Closing checks the CRC-32 once the whole entry has been read.
        const int closed = unzCloseCurrentFile(zip);
        if (n == 0 && closed == UNZ_OK && out.size() == declared)
            result = std::move(out);
    }
    unzClose(zip);
    return result;
}

}  // namespace pemo
