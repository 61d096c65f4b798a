#include "TgaDecoder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "PictureLimits.h"

namespace pemo {

namespace {

constexpr qsizetype kHeaderSize = 18;
// The most pixels one RLE packet can stand for.
constexpr qsizetype kMaxPacketPixels = 128;

uint16_t u16At(const uchar* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

int expand5(int v) {
    return (v << 3) | (v >> 2);
}

// Turns one stored pixel or map entry of the given depth into a colour. The
// attribute bit of a 16-bit value is only alpha when the file declares one alpha bit.
QRgb colourOf(const uchar* p, int depth, bool alpha16) {
    switch (depth) {
        case 15:
        case 16: {
            const int v = u16At(p);
            const int a = (!alpha16 || (v & 0x8000)) ? 255 : 0;
            return qRgba(expand5((v >> 10) & 31), expand5((v >> 5) & 31), expand5(v & 31), a);
        }
        case 24:
            return qRgb(p[2], p[1], p[0]);
        case 32:
            return qRgba(p[2], p[1], p[0], p[3]);
        default:
            return qRgb(0, 0, 0);
    }
}

int bytesFor(int depth) {
    return (depth + 7) / 8;
}

}  // namespace

QImage TgaDecoder::decode(const QByteArray& data) {
    if (data.size() < kHeaderSize)
        return {};
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const uchar* end = bytes + data.size();
    const int idLength = bytes[0];
    const int mapType = bytes[1];
    const int imageType = bytes[2];
    const int mapFirst = u16At(bytes + 3);
    const int mapLength = u16At(bytes + 5);
    const int mapDepth = bytes[7];
    const int width = u16At(bytes + 12);
    const int height = u16At(bytes + 14);
    const int depth = bytes[16];
    const int descriptor = bytes[17];
    const int alphaBits = descriptor & 0x0F;
    const bool rightToLeft = descriptor & 0x10;
    const bool topDown = descriptor & 0x20;

    const bool rle = imageType >= 9;
    const int baseType = rle ? imageType - 8 : imageType;
    if (imageType != 1 && imageType != 2 && imageType != 3 && imageType != 9 && imageType != 10 &&
        imageType != 11)
        return {};
    if (mapType > 1)
        return {};
    if (!pictureSizeAcceptable(width, height))
        return {};

    bool hasAlpha = false;
    switch (baseType) {
        case 1:
            if (mapType != 1 || (depth != 8 && depth != 16))
                return {};
            if (mapDepth != 15 && mapDepth != 16 && mapDepth != 24 && mapDepth != 32)
                return {};
            hasAlpha = mapDepth == 32 || (mapDepth == 16 && alphaBits == 1);
            break;
        case 2:
            if (depth != 15 && depth != 16 && depth != 24 && depth != 32)
                return {};
            hasAlpha = depth == 32 || (depth == 16 && alphaBits == 1);
            break;
        case 3:
            if (depth != 8 && depth != 16)
                return {};
            hasAlpha = depth == 16;
            break;
    }

    const uchar* p = bytes + kHeaderSize;
    if (end - p < idLength)
        return {};
    p += idLength;

    // A colour map may come with any image type; only colour-mapped pictures use it.
    std::vector<QRgb> map;
    if (mapType == 1) {
        const qsizetype mapBytes = qsizetype(mapLength) * bytesFor(mapDepth);
        if (end - p < mapBytes)
            return {};
        if (baseType == 1) {
            map.reserve(size_t(mapLength));
            for (int i = 0; i < mapLength; ++i)
                map.push_back(colourOf(p + i * bytesFor(mapDepth), mapDepth, alphaBits == 1));
        }
        p += mapBytes;
    }

    const int pixelBytes = bytesFor(depth);
    const qsizetype pixelCount = qsizetype(width) * height;
    const qsizetype available = end - p;
    if (rle ? pixelCount > available * kMaxPacketPixels : pixelCount * pixelBytes > available)
        return {};

    const bool alpha16 = alphaBits == 1;
    auto convert = [&](const uchar* px) -> QRgb {
        switch (baseType) {
            case 1: {
                const int index = (depth == 8 ? px[0] : u16At(px)) - mapFirst;
                // An index outside the map is drawn black rather than failing the picture.
                return index >= 0 && index < int(map.size()) ? map[size_t(index)] : qRgb(0, 0, 0);
            }
            case 2:
                return colourOf(px, depth, alpha16);
            default:
                return depth == 8 ? qRgb(px[0], px[0], px[0]) : qRgba(px[0], px[0], px[0], px[1]);
        }
    };

    QImage image(width, height, hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    // Places the i-th stored pixel; rows are stored bottom-up unless marked top-down.
    auto put = [&](qsizetype i, QRgb c) {
        const auto row = int(i / width), col = int(i % width);
        const int y = topDown ? row : height - 1 - row;
        const int x = rightToLeft ? width - 1 - col : col;
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = hasAlpha ? c : (c | 0xFF000000u);
    };

    if (!rle) {
        for (qsizetype i = 0; i < pixelCount; ++i)
            put(i, convert(p + i * pixelBytes));
    } else {
        // A packet may cross the end of a row; one past the end of the picture is cut.
        qsizetype i = 0;
        while (i < pixelCount) {
            if (p >= end)
                return {};
            const uchar packet = *p++;
            const qsizetype storedCount = (packet & 0x7F) + 1;
            const qsizetype count = std::min(storedCount, pixelCount - i);
            if (packet & 0x80) {
                if (end - p < pixelBytes)
                    return {};
                const QRgb c = convert(p);
                p += pixelBytes;
                for (qsizetype k = 0; k < count; ++k)
                    put(i + k, c);
            } else {
                if (end - p < storedCount * pixelBytes)
                    return {};
                for (qsizetype k = 0; k < count; ++k)
                    put(i + k, convert(p + k * pixelBytes));
                p += storedCount * pixelBytes;
            }
            i += count;
        }
    }

    // Many writers leave the alpha bytes at zero without declaring any alpha bits;
    // such a picture is meant opaque, not invisible.
    if (hasAlpha && alphaBits == 0) {
        bool allClear = true;
        for (int y = 0; y < height && allClear; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            allClear = std::all_of(line, line + width, [](QRgb c) { return qAlpha(c) == 0; });
        }
        if (allClear) {
            for (int y = 0; y < height; ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < width; ++x)
                    line[x] |= 0xFF000000u;
            }
            image = std::move(image).convertToFormat(QImage::Format_RGB32);
        }
    }
    return image;
}

}  // namespace pemo
