#include "Metafile.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

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

QByteArray wmfToSvg(const QByteArray& bytes) {
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
    wmfD_Rect bbox;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(input.data()), input.size()) ==
            wmf_E_None &&
        wmf_scan(api, 0, &bbox) == wmf_E_None) {
        if (isPlaceableWmf(bytes)) {
            // A placeable file names the picture's own extent; without it the picture
            // would be cut to what is drawn. libwmf's device units are points.
            const double scale = 72.0 / std::max<quint16>(1, readLe<quint16>(bytes, 14));
            bbox.TL.x = float(readLe<qint16>(bytes, 6) * scale);
            bbox.TL.y = float(readLe<qint16>(bytes, 8) * scale);
            bbox.BR.x = float(readLe<qint16>(bytes, 10) * scale);
            bbox.BR.y = float(readLe<qint16>(bytes, 12) * scale);
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
        if (played && buffer && width > 0 && height > 0) svg = QByteArray(buffer, length);
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
