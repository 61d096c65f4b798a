#include "PcxDecoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "PictureLimits.h"

namespace pemo {

namespace {

constexpr qsizetype kHeaderSize = 128;
constexpr qsizetype kPaletteSize = 768;
constexpr uint8_t kPaletteMarker = 0x0C;
// The most bytes one RLE pair (two input bytes) can stand for.
constexpr qsizetype kMaxRunLength = 63;

uint16_t u16At(const uchar* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

// Produces the decoded byte stream one scan line at a time. A run may cross the
// end of a line and carries over into the next one.
class PcxStream {
public:
    PcxStream(const uchar* begin, const uchar* end, bool rle) : p_(begin), end_(end), rle_(rle) {}

    // Fills out with count bytes; false when the data ends first.
    bool read(uchar* out, qsizetype count) {
        while (count > 0) {
            if (runLeft_ > 0) {
                const qsizetype n = std::min(count, runLeft_);
                std::memset(out, runValue_, size_t(n));
                out += n;
                count -= n;
                runLeft_ -= n;
                continue;
            }
            if (p_ >= end_)
                return false;
            const uchar c = *p_++;
            if (rle_ && (c & 0xC0) == 0xC0) {
                if (p_ >= end_)
                    return false;
                runLeft_ = c & 0x3F;
                runValue_ = *p_++;
            } else {
                *out++ = c;
                --count;
            }
        }
        return true;
    }

private:
    const uchar* p_;
    const uchar* end_;
    bool rle_;
    qsizetype runLeft_ = 0;
    uchar runValue_ = 0;
};

}  // namespace

QImage PcxDecoder::decode(const QByteArray& data) {
    if (data.size() < kHeaderSize)
        return {};
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const uchar* header = bytes;
    if (header[0] != 0x0A || header[2] > 1)
        return {};
    const int bitsPerPixel = header[3];
    const int xMin = u16At(header + 4), yMin = u16At(header + 6);
    const int xMax = u16At(header + 8), yMax = u16At(header + 10);
    const int planes = header[65];
    const qsizetype bytesPerLine = u16At(header + 66);
    if (xMax < xMin || yMax < yMin)
        return {};
    const int width = xMax - xMin + 1;
    const int height = yMax - yMin + 1;
    if (!pictureSizeAcceptable(width, height))
        return {};

    enum class Kind { Paletted8, Rgb24, Planar1 } kind;
    if (bitsPerPixel == 8 && planes == 1)
        kind = Kind::Paletted8;
    else if (bitsPerPixel == 8 && planes == 3)
        kind = Kind::Rgb24;
    else if (bitsPerPixel == 1 && planes >= 1 && planes <= 4)
        kind = Kind::Planar1;
    else
        return {};
    if (bytesPerLine * 8 < qsizetype(width) * bitsPerPixel)
        return {};

    const uchar* pixels = bytes + kHeaderSize;
    const uchar* end = bytes + data.size();

    std::array<QRgb, 256> palette{};
    if (kind == Kind::Paletted8) {
        // The palette sits after the image data, so it also marks where the data ends.
        const qsizetype paletteAt = data.size() - kPaletteSize;
        if (paletteAt - 1 >= kHeaderSize && bytes[paletteAt - 1] == kPaletteMarker) {
            const uchar* pal = bytes + paletteAt;
            for (int i = 0; i < 256; ++i)
                palette[i] = qRgb(pal[3 * i], pal[3 * i + 1], pal[3 * i + 2]);
            end = pal - 1;
        } else {
            for (int i = 0; i < 256; ++i)
                palette[i] = qRgb(i, i, i);
        }
    } else if (kind == Kind::Planar1) {
        if (planes == 1) {
            palette[0] = qRgb(0, 0, 0);
            palette[1] = qRgb(255, 255, 255);
        } else {
            const uchar* pal = header + 16;
            for (int i = 0; i < 16; ++i)
                palette[i] = qRgb(pal[3 * i], pal[3 * i + 1], pal[3 * i + 2]);
        }
    }

    const bool rle = header[2] == 1;
    const qsizetype lineBytes = bytesPerLine * planes;
    const qsizetype available = end - pixels;
    // Refuse before allocating when even the best packing could not fill the picture.
    const qsizetype needed = lineBytes * height;
    if (needed > available * (rle ? kMaxRunLength : 1))
        return {};

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    std::vector<uchar> line(static_cast<size_t>(lineBytes));
    PcxStream stream(pixels, end, rle);
    for (int y = 0; y < height; ++y) {
        if (!stream.read(line.data(), lineBytes))
            return {};
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* plane0 = line.data();
        switch (kind) {
            case Kind::Paletted8:
                for (int x = 0; x < width; ++x)
                    out[x] = palette[plane0[x]];
                break;
            case Kind::Rgb24: {
                const uchar* g = plane0 + bytesPerLine;
                const uchar* b = g + bytesPerLine;
                for (int x = 0; x < width; ++x)
                    out[x] = qRgb(plane0[x], g[x], b[x]);
                break;
            }
            case Kind::Planar1:
                for (int x = 0; x < width; ++x) {
                    int index = 0;
                    for (int p = 0; p < planes; ++p) {
                        const uchar bit = (plane0[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1;
                        index |= bit << p;
                    }
                    out[x] = palette[index];
                }
                break;
        }
    }
    return image;
}

}  // namespace pemo
