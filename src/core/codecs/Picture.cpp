#include "Picture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QRect>

#include "PcxDecoder.h"
#include "TgaDecoder.h"

namespace pemo {

namespace {

enum class Decoder { Qt, Pcx, Tga, Vector, Unknown };

QString normalisedExtension(const QString& extension) {
    QString ext = extension.trimmed().toLower();
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    return ext;
}

// The extension decides the decoder; for Qt's readers it also gives the format hint.
Decoder decoderFor(const QString& ext, QByteArray* qtFormat) {
    struct Entry {
        const char* ext;
        Decoder decoder;
        const char* format;
    };
    static constexpr Entry kTable[] = {
        {"bmp", Decoder::Qt, "bmp"},   {"gif", Decoder::Qt, "gif"},  {"jpg", Decoder::Qt, "jpeg"},
        {"jpeg", Decoder::Qt, "jpeg"}, {"png", Decoder::Qt, "png"},  {"tif", Decoder::Qt, "tiff"},
        {"tiff", Decoder::Qt, "tiff"}, {"pcx", Decoder::Pcx, ""},    {"tga", Decoder::Tga, ""},
        {"wmf", Decoder::Vector, ""},  {"emf", Decoder::Vector, ""},
    };
    for (const auto& e : kTable) {
        if (ext == QLatin1String(e.ext)) {
            if (qtFormat)
                *qtFormat = e.format;
            return e.decoder;
        }
    }
    return Decoder::Unknown;
}

QImage readWithQt(const QByteArray& bytes, const QByteArray& format) {
    // The extension's format is tried first; a file whose content is another format
    // than its name says (renamed pictures are common in libraries) is then read by
    // whichever reader recognises the content.
    QImage image;
    for (const QByteArray& hint : {format, QByteArray()}) {
        QBuffer buffer;
        buffer.setData(bytes);
        if (!buffer.open(QIODevice::ReadOnly))
            return {};
        QImageReader reader(&buffer, hint);
        image = reader.read();
        if (!image.isNull())
            break;
    }
    return image;
}

// Everything is drawn from one 32-bit form, whatever depth the file had.
QImage drawable(const QImage& image) {
    if (image.isNull())
        return {};
    const auto target =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return image.format() == target ? image : image.convertToFormat(target);
}

}  // namespace

Picture::Picture(const QImage& image) : image_(drawable(image)) {}

Picture Picture::fromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromData(file.readAll(), QFileInfo(path).suffix());
}

Picture Picture::fromData(const QByteArray& bytes, const QString& extension) {
    QByteArray format;
    switch (decoderFor(normalisedExtension(extension), &format)) {
        case Decoder::Qt:
            return Picture(readWithQt(bytes, format));
        case Decoder::Pcx:
            return Picture(PcxDecoder::decode(bytes));
        case Decoder::Tga:
            return Picture(TgaDecoder::decode(bytes));
        case Decoder::Vector:
        case Decoder::Unknown:
            break;
    }
    return {};
}

bool Picture::isKnownExtension(const QString& extension) {
    return decoderFor(normalisedExtension(extension), nullptr) != Decoder::Unknown;
}

void Picture::draw(QPainter& painter, const QRect& target) const {
    if (image_.isNull() || target.width() == 0 || target.height() == 0)
        return;
    painter.save();
    // Mirroring is a flip of the painter about the rectangle's origin.
    painter.translate(target.x(), target.y());
    painter.scale(target.width() < 0 ? -1 : 1, target.height() < 0 ? -1 : 1);
    painter.drawImage(QRectF(0, 0, std::abs(target.width()), std::abs(target.height())), image_);
    painter.restore();
}

}  // namespace pemo
