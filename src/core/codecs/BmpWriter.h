#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pemo {

// Writes pictures as 24-bit uncompressed Windows BMP files: a 14-byte file header,
// a 40-byte BITMAPINFOHEADER, then the rows bottom-up, each padded to 4 bytes. A
// picture with transparency is laid over white first.
class BmpWriter {
public:
    // The complete file; empty for a null image or one too large for the format.
    static QByteArray encode(const QImage& image);
    // Writes the file through a temporary beside it, so a failed write leaves any
    // earlier file at path intact. False when the image is null or writing fails.
    static bool write(const QImage& image, const QString& path);
};

}  // namespace pemo
