#include "Metafile.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <optional>

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace pemo::Metafile {

namespace {

constexpr quint32 kPlaceableWmfKey = 0x9AC6CDD7;
constexpr quint32 kEmfHeaderRecord = 1;
constexpr quint32 kEmfSignature = 0x464D4520;  // " EMF"
constexpr int kPlaceableHeaderSize = 22;
constexpr int kEmfHeaderMinimum = 88;
// A metafile that claims more than this is taken for a damaged one.
constexpr long long kMaxExtentHundredthsMm = 100000 * 100LL;

template <typename T>
T readLe(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

bool isEmf(const QByteArray& bytes) {
    return bytes.size() >= kEmfHeaderMinimum && readLe<quint32>(bytes, 0) == kEmfHeaderRecord &&
           readLe<quint32>(bytes, 40) == kEmfSignature;
}

bool isPlaceableWmf(const QByteArray& bytes) {
    return bytes.size() >= kPlaceableHeaderSize && readLe<quint32>(bytes, 0) == kPlaceableWmfKey;
}

constexpr int kWmfHeaderSize = 18;
constexpr quint16 kMetaSetMapMode = 0x0103;
constexpr quint16 kMetaSetWindowOrg = 0x020B;
constexpr quint16 kMetaSetWindowExt = 0x020C;
constexpr quint16 kMetaSetViewportExt = 0x020E;
constexpr quint16 kAnisotropic = 8;

// The frame a placeable file names, in its own logical units.
struct PlaceableFrame {
    qint16 left = 0;
    qint16 top = 0;
    int width = 0;
    int height = 0;
};

std::optional<PlaceableFrame> placeableFrame(const QByteArray& bytes) {
    if (!isPlaceableWmf(bytes) || bytes.size() < kPlaceableHeaderSize + kWmfHeaderSize)
        return {};
    PlaceableFrame frame;
    frame.left = readLe<qint16>(bytes, 6);
    frame.top = readLe<qint16>(bytes, 8);
    frame.width = readLe<qint16>(bytes, 10) - frame.left;
    frame.height = readLe<qint16>(bytes, 12) - frame.top;
    const auto fits = [](int extent) { return extent != 0 && std::abs(extent) <= 0x7FFF; };
    if (!fits(frame.width) || !fits(frame.height))
        return {};
    return frame;
}

// libwmf copies the whole device context on every SaveDC and keeps the copies until
// they are restored, so a file of a few hundred thousand saves takes minutes. No drawing
// nests its saves deeply or needs this many records.
constexpr int kMaxSavedDepth = 1000;
constexpr int kMaxRecords = 250000;
constexpr quint16 kMetaSaveDc = 0x001E;
constexpr quint16 kMetaRestoreDc = 0x0127;
constexpr quint16 kMetaEof = 0x0000;

// Whether the records after the header stay within the bounds above. Records are
// walked by their own sizes (in 16-bit words); a walk that runs off the end stops
// there and leaves the judging of the rest to libwmf.
bool withinRecordBounds(const QByteArray& bytes) {
    const int headerAt = isPlaceableWmf(bytes) ? kPlaceableHeaderSize : 0;
    if (bytes.size() < headerAt + kWmfHeaderSize) return true;
    qsizetype at = headerAt + qsizetype(readLe<quint16>(bytes, headerAt + 2)) * 2;
    int records = 0;
    int depth = 0;
    while (at + 6 <= bytes.size()) {
        const quint32 words = readLe<quint32>(bytes, int(at));
        const quint16 function = readLe<quint16>(bytes, int(at + 4));
        if (function == kMetaEof || words < 3) break;
        if (++records > kMaxRecords) return false;
        if (function == kMetaSaveDc && ++depth > kMaxSavedDepth) return false;
        if (function == kMetaRestoreDc) {
            // The parameter is a saved state counted back from the latest (-1) or, when
            // positive, an absolute one; either way the stack gets no deeper.
            const qint16 which = at + 8 <= bytes.size() ? readLe<qint16>(bytes, int(at + 6)) : -1;
            depth = which < 0 ? std::max(0, depth + which) : std::min(depth, int(which));
        }
        at += qsizetype(words) * 2;
    }
    return true;
}

// libwmf allocates the size the header gives for the largest record before reading any;
// no record is larger than the file, so a header that says more (in 16-bit words) is
// corrected in the copy libwmf plays.
void withLargestRecordInFile(QByteArray& bytes) {
    const int headerAt = isPlaceableWmf(bytes) ? kPlaceableHeaderSize : 0;
    if (bytes.size() < headerAt + kWmfHeaderSize) return;
    const auto fileWords = quint32(bytes.size() / 2);
    if (readLe<quint32>(bytes, headerAt + 12) > fileWords)
        qToLittleEndian<quint32>(fileWords, bytes.data() + headerAt + 12);
}

void appendRecord(QByteArray& out, quint16 function, std::initializer_list<qint16> params) {
    const auto put16 = [&out](quint16 v) {
        out.append(char(v & 0xFF));
        out.append(char(v >> 8));
    };
    const quint32 words = 3 + quint32(params.size());
    put16(quint16(words & 0xFFFF));
    put16(quint16(words >> 16));
    put16(function);
    for (qint16 p : params)
        put16(quint16(p));
}

// A placeable file is played the way Windows places it: the window starts as the
// frame and the viewport is the frame's own extent, one device unit to each unit
// of the header. Files that switch to a scaled mapping mode and set only their
// window (as most drawing programs write them) then land inside the frame instead
// of wherever libwmf's default viewport would put them.
QByteArray withFrameViewport(const QByteArray& bytes, const PlaceableFrame& frame) {
    QByteArray records;
    appendRecord(records, kMetaSetMapMode, {qint16(kAnisotropic)});
    // Record parameters are stored last one first: y before x.
    appendRecord(records, kMetaSetWindowOrg, {frame.top, frame.left});
    appendRecord(records, kMetaSetWindowExt, {qint16(frame.height), qint16(frame.width)});
    appendRecord(records, kMetaSetViewportExt,
                 {qint16(std::abs(frame.height)), qint16(std::abs(frame.width))});
    const int bodyAt = kPlaceableHeaderSize + kWmfHeaderSize;
    QByteArray out = bytes.left(bodyAt) + records + bytes.mid(bodyAt);
    // The header's file size is counted in 16-bit words.
    const quint32 words =
        readLe<quint32>(bytes, kPlaceableHeaderSize + 6) + quint32(records.size() / 2);
    qToLittleEndian<quint32>(words, out.data() + kPlaceableHeaderSize + 6);
    return out;
}

// libwmf writes every fill as half transparent while the background mode is
// transparent; that mode only concerns the gaps of hatches, dashes and text, so
// solid fills are made whole again.
QByteArray withOpaqueFills(QByteArray svg) {
    return svg.replace("fill-opacity:0.5;", "fill-opacity:1.0;");
}

QByteArray wmfToSvg(const QByteArray& original) {
    if (!withinRecordBounds(original)) return {};
    const std::optional<PlaceableFrame> frame = placeableFrame(original);
    const QByteArray bytes = frame ? withFrameViewport(original, *frame) : original;
    wmfAPI* api = nullptr;
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_svg_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api) wmf_api_destroy(api);
        return {};
    }
    QByteArray svg;
    // libwmf reads from a buffer it does not own and does not change.
    QByteArray input = bytes;
    withLargestRecordInFile(input);
    wmfD_Rect bbox;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(input.data()), input.size()) ==
            wmf_E_None &&
        wmf_scan(api, 0, &bbox) == wmf_E_None) {
        if (frame) {
            // The picture is the whole frame, not just what is drawn in it; the
            // device units are those of the viewport set above.
            bbox.TL.x = 0;
            bbox.TL.y = 0;
            bbox.BR.x = float(std::abs(frame->width));
            bbox.BR.y = float(std::abs(frame->height));
        }
        wmf_svg_t* data = WMF_SVG_GetData(api);
        data->out = wmf_stream_create(api, nullptr);
        data->bbox = bbox;
        unsigned int width = 0;
        unsigned int height = 0;
        wmf_display_size(api, &width, &height, 96, 96);
        data->width = width;
        data->height = height;
        data->flags |= WMF_SVG_INLINE_IMAGES;
        const bool played = wmf_play(api, 0, &bbox) == wmf_E_None;
        char* buffer = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(api, data->out, &buffer, &length);
        if (played && buffer && width > 0 && height > 0)
            svg = withOpaqueFills(QByteArray(buffer, length));
        wmf_mem_close(api);
    }
    wmf_api_destroy(api);
    return svg;
}

QByteArray emfToSvg(const QByteArray& bytes) {
    if (!isEmf(bytes)) return {};
    generatorOptions options;
    std::memset(&options, 0, sizeof options);
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.svgDelimiter = true;
    options.emfplus = true;
    const QSize size = naturalSize(bytes, Type::Emf);
    options.imgWidth = size.width();
    options.imgHeight = size.height();
    char* out = nullptr;
    size_t length = 0;
    QByteArray input = bytes;
    const int ok = emf2svg(input.data(), static_cast<size_t>(input.size()), &out, &length, &options);
    QByteArray svg;
    if (ok && out) svg = QByteArray(out, static_cast<qsizetype>(length));
    std::free(out);
    return svg;
}

}  // namespace

QByteArray toSvg(const QByteArray& bytes, Type type) {
    if (bytes.isEmpty()) return {};
    return type == Type::Wmf ? wmfToSvg(bytes) : emfToSvg(bytes);
}

QSize naturalSize(const QByteArray& bytes, Type type) {
    long long w = 0;
    long long h = 0;
    if (type == Type::Emf) {
        if (!isEmf(bytes)) return {};
        // rclFrame: the picture's frame in 0.01 mm.
        w = static_cast<long long>(readLe<qint32>(bytes, 32)) - readLe<qint32>(bytes, 24);
        h = static_cast<long long>(readLe<qint32>(bytes, 36)) - readLe<qint32>(bytes, 28);
    } else if (isPlaceableWmf(bytes)) {
        const int unitsPerInch = readLe<quint16>(bytes, 14);
        if (unitsPerInch == 0) return {};
        const long long bw = std::abs(readLe<qint16>(bytes, 10) - readLe<qint16>(bytes, 6));
        const long long bh = std::abs(readLe<qint16>(bytes, 12) - readLe<qint16>(bytes, 8));
        w = bw * 2540 / unitsPerInch;
        h = bh * 2540 / unitsPerInch;
    } else {
        return {};
    }
    if (w <= 0 || h <= 0 || w > kMaxExtentHundredthsMm || h > kMaxExtentHundredthsMm) return {};
    return QSize(hundredthsMmToPixels(w), hundredthsMmToPixels(h));
}

}  // namespace pemo::Metafile
