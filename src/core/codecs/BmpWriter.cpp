#include "BmpWriter.h"

#include <QPainter>

#include <cstdint>
#include <cstring>
#include <limits>

#include "core/platform/FileError.h"
#include "core/platform/SafeFile.h"

namespace pemo {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr qsizetype kInfoHeaderSize = 40;

void putU16(uchar* p, uint16_t v) {
    p[0] = uchar(v);
    p[1] = uchar(v >> 8);
}

void putU32(uchar* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uchar(v >> (8 * i));
}

QImage opaqueRgb32(const QImage& image) {
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.setDotsPerMeterX(image.dotsPerMeterX());
    flat.setDotsPerMeterY(image.dotsPerMeterY());
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

}  // namespace

QByteArray BmpWriter::encode(const QImage& source) {
    if (source.isNull())
        return {};
    const QImage image = opaqueRgb32(source);
    const qsizetype width = image.width(), height = image.height();
    const qsizetype rowBytes = (width * 3 + 3) & ~qsizetype(3);
    const qsizetype offset = kFileHeaderSize + kInfoHeaderSize;
    const qsizetype fileSize = offset + rowBytes * height;
    if (fileSize > qsizetype(std::numeric_limits<uint32_t>::max()))
        return {};

    QByteArray out(fileSize, '\0');
    auto* p = reinterpret_cast<uchar*>(out.data());
    p[0] = 'B';
    p[1] = 'M';
    putU32(p + 2, uint32_t(fileSize));
    // Two reserved words stay 0.
    putU32(p + 10, uint32_t(offset));

    uchar* info = p + kFileHeaderSize;
    putU32(info + 0, uint32_t(kInfoHeaderSize));
    putU32(info + 4, uint32_t(width));
    putU32(info + 8, uint32_t(height));  // positive: rows stored bottom-up
    putU16(info + 12, 1);                // planes
    putU16(info + 14, 24);               // bits per pixel
    putU32(info + 16, 0);                // BI_RGB, no compression
    putU32(info + 20, uint32_t(rowBytes * height));
    putU32(info + 24, uint32_t(image.dotsPerMeterX()));
    putU32(info + 28, uint32_t(image.dotsPerMeterY()));
    // Colours used and important stay 0: no colour table.

    for (qsizetype y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(int(y)));
        uchar* row = p + offset + (height - 1 - y) * rowBytes;
        for (qsizetype x = 0; x < width; ++x) {
            row[3 * x] = uchar(qBlue(in[x]));
            row[3 * x + 1] = uchar(qGreen(in[x]));
            row[3 * x + 2] = uchar(qRed(in[x]));
        }
    }
    return out;
}

bool BmpWriter::write(const QImage& image, const QString& path) {
    const QByteArray bytes = encode(image);
    if (bytes.isEmpty())
        return false;
    try {
        SafeFile::write(path, bytes);
        return true;
    } catch (const IoError&) {
        return false;
    }
}

}  // namespace pemo
