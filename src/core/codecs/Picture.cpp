#include "Picture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPaintEngine>
#include <QPainter>
#include <QRect>
#include <QSvgRenderer>
#include <cmath>
#include <optional>

#include "JpegHeader.h"
#include "Metafile.h"
#include "PcxDecoder.h"
#include "PdfPictureSession.h"
#include "PictureCache.h"
#include "PictureLimits.h"
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

bool hasPureWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == 0xFFFFFFFFu) return true;
        }
    }
    return false;
}

// Pure white (opaque) pixels become fully transparent.
QImage withoutWhite(const QImage& image) {
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if (line[x] == 0xFFFFFFFFu) line[x] = 0;
        }
    }
    return keyed;
}

// Draws a bitmap stretched over target; negative sides mirror it.
void drawStretched(QPainter& painter, const QRect& target, const QImage& image) {
    painter.save();
    // Mirroring is a flip of the painter about the rectangle's origin.
    painter.translate(target.x(), target.y());
    painter.scale(target.width() < 0 ? -1 : 1, target.height() < 0 ? -1 : 1);
    painter.drawImage(QRectF(0, 0, std::abs(target.width()), std::abs(target.height())), image);
    painter.restore();
}

}  // namespace

struct Picture::Vector {
    explicit Vector(const QByteArray& svg, QSize natural) : renderer(svg), naturalSize(natural) {
        if (naturalSize.isEmpty()) naturalSize = renderer.defaultSize();
    }
    QSvgRenderer renderer;
    QSize naturalSize;
    // The last rendering, reused while the size stays.
    QImage rendered;
};

struct Picture::Raster {
    Raster() = default;
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;
    ~Raster() {
        if (header) PictureCache::shared().forget(id);
    }

    // Any other format is decoded at once.
    QImage image;
    QImage keyed;
    bool keyedMade = false;
    // A JPEG is never held decoded here: it is decoded from its file (or, without one,
    // its bytes) at the size asked for, into the PictureCache.
    std::optional<JpegHeader> header;
    QByteArray jpeg;
    QString sourceFile;
    QSize size;
    const quint64 id = PictureCache::newPictureId();

    // The JPEG at size (at most its own), white keyed when asked.
    QImage jpegAt(QSize at, bool whiteKeyed) const {
        return PictureCache::shared().image(id, at, whiteKeyed, [&] {
            QBuffer buffer;
            QFile file(sourceFile);
            QIODevice* device = &file;
            if (sourceFile.isEmpty()) {
                buffer.setData(jpeg);
                device = &buffer;
            }
            if (!device->open(QIODevice::ReadOnly)) return QImage();
            QImageReader reader(device, "jpeg");
            // Never more pixels than Qt agrees to allocate.
            QSize want = at;
            const QSize limit = decodedSize();
            if (limit.isValid() && (want.width() > limit.width() || want.height() > limit.height()))
                want = want.scaled(limit, Qt::KeepAspectRatio);
            if (want != size) reader.setScaledSize(want);
            const QImage decoded = drawable(reader.read());
            if (!whiteKeyed) return decoded;
            return hasPureWhite(decoded) ? withoutWhite(decoded) : decoded;
        });
    }

    // A photograph larger than Qt agrees to allocate (an 8000 × 6000 camera picture is
    // 192 MB as a bitmap) is decoded scaled down to what it allows; a sign is never
    // printed at that many pixels. The JPEG decoder scales by halves for free, and a
    // size in between would be decoded whole first, so the size is halved until it fits.
    // Invalid when it needs no scaling.
    QSize decodedSize() const {
        const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
        // Four bytes a pixel, and a little room for the reader's own rounding.
        const qint64 allowed = limitBytes / 4 * 9 / 10;
        if (limitBytes <= 0 || qint64(size.width()) * size.height() <= allowed) return {};
        int divisor = 2;
        const auto part = [&divisor](int side) { return std::max(1, (side + divisor - 1) / divisor); };
        while (qint64(part(size.width())) * part(size.height()) > allowed && divisor < (1 << 14))
            divisor *= 2;
        return QSize(part(size.width()), part(size.height()));
    }
};

Picture::Picture(const QImage& image) {
    QImage bitmap = drawable(image);
    if (bitmap.isNull()) return;
    raster_ = std::make_shared<Raster>();
    raster_->size = bitmap.size();
    raster_->image = std::move(bitmap);
}

QSize Picture::size() const {
    if (vector_) return vector_->naturalSize;
    return raster_ ? raster_->size : QSize(0, 0);
}

QImage Picture::image() const {
    if (!raster_) return QImage();
    return raster_->header ? raster_->jpegAt(raster_->size, false) : raster_->image;
}

void Picture::setSourceFile(const QString& path) {
    if (raster_) raster_->sourceFile = path;
}

Picture Picture::fromFile(const QString& path, const QString& extension) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Picture picture = fromData(file.readAll(), extension.isEmpty() ? QFileInfo(path).suffix() : extension);
    picture.setSourceFile(path);
    // A JPEG's bytes stay in the file.
    if (picture.raster_ && picture.raster_->header) picture.raster_->jpeg.clear();
    return picture;
}

Picture Picture::fromData(const QByteArray& bytes, const QString& extension) {
    QByteArray format;
    switch (decoderFor(normalisedExtension(extension), &format)) {
        case Decoder::Qt: {
            // A JPEG is only measured now and decoded when first drawn on a bitmap; into
            // a PDF it goes as it is.
            std::optional<JpegHeader> header = format == "jpeg" ? JpegHeader::read(bytes) : std::nullopt;
            if (header && pictureSizeAcceptable(header->width, header->height)) {
                Picture picture;
                picture.raster_ = std::make_shared<Raster>();
                picture.raster_->jpeg = bytes;
                picture.raster_->header = header;
                picture.raster_->size = QSize(header->width, header->height);
                return picture;
            }
            return Picture(readWithQt(bytes, format));
        }
        case Decoder::Pcx:
            return Picture(PcxDecoder::decode(bytes));
        case Decoder::Tga:
            return Picture(TgaDecoder::decode(bytes));
        case Decoder::Vector: {
            const auto type =
                normalisedExtension(extension) == u"wmf" ? Metafile::Type::Wmf : Metafile::Type::Emf;
            const QByteArray svg = Metafile::toSvg(bytes, type);
            if (svg.isEmpty()) break;
            Picture picture;
            picture.vector_ = std::make_shared<Vector>(svg, Metafile::naturalSize(bytes, type));
            if (!picture.vector_->renderer.isValid() || picture.vector_->naturalSize.isEmpty()) break;
            return picture;
        }
        case Decoder::Unknown:
            break;
    }
    return {};
}

bool Picture::isKnownExtension(const QString& extension) {
    return decoderFor(normalisedExtension(extension), nullptr) != Decoder::Unknown;
}

void Picture::draw(QPainter& painter, const QRect& target) const {
    if (isNull() || target.width() == 0 || target.height() == 0)
        return;
    if (vector_) {
        painter.save();
        painter.translate(target.x(), target.y());
        painter.scale(target.width() < 0 ? -1 : 1, target.height() < 0 ? -1 : 1);
        vector_->renderer.render(&painter, QRectF(0, 0, std::abs(target.width()), std::abs(target.height())));
        painter.restore();
        return;
    }
    if (drawnAsJpegStandIn(painter, target, false)) return;
    drawStretched(painter, target, bitmapFor(painter, target, false));
}

bool Picture::drawnAsJpegStandIn(QPainter& painter, const QRect& target, bool whiteTransparent) const {
    PdfPictureSession* session = PdfPictureSession::active();
    if (!session || !raster_ || !raster_->header || raster_->sourceFile.isEmpty()) return false;
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Pdf) return false;
    const QImage* standIn = session->standIn(raster_->sourceFile, *raster_->header, whiteTransparent);
    if (!standIn) return false;
    drawStretched(painter, target, *standIn);
    return true;
}

QImage Picture::bitmapFor(const QPainter& painter, const QRect& target, bool whiteKeyed) const {
    if (raster_->header) {
        // The target's sides in device pixels, whatever turn or mirror the painter has.
        const QTransform t = painter.combinedTransform();
        const double across = std::abs(target.width()) * std::hypot(t.m11(), t.m12());
        const double down = std::abs(target.height()) * std::hypot(t.m21(), t.m22());
        QSize at = raster_->size;
        if (across < at.width() && down < at.height()) {
            at = QSize(std::max(1, int(std::ceil(across))), std::max(1, int(std::ceil(down))));
        }
        return raster_->jpegAt(at, whiteKeyed);
    }
    if (!whiteKeyed) return raster_->image;
    if (!raster_->keyedMade) {
        const QImage& bitmap = raster_->image;
        raster_->keyed = hasPureWhite(bitmap) ? withoutWhite(bitmap) : bitmap;
        raster_->keyedMade = true;
    }
    return raster_->keyed;
}

const QImage& Picture::renderedVector(QSize size) const {
    QImage& rendered = vector_->rendered;
    if (rendered.size() != size) {
        QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        {
            QPainter p(&canvas);
            p.setRenderHint(QPainter::Antialiasing);
            vector_->renderer.render(&p, QRectF(0, 0, size.width(), size.height()));
        }
        rendered = withoutWhite(canvas);
    }
    return rendered;
}

void Picture::drawWhiteTransparent(QPainter& painter, const QRect& target) const {
    if (isNull() || target.width() == 0 || target.height() == 0)
        return;
    if (!vector_) {
        if (!drawnAsJpegStandIn(painter, target, true)) drawStretched(painter, target, bitmapFor(painter, target, true));
        return;
    }
    QSize size(std::abs(target.width()), std::abs(target.height()));
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > kMaxRenderPixels) {
        const double shrink = std::sqrt(double(kMaxRenderPixels) / double(pixels));
        size = QSize(std::max(1, int(size.width() * shrink)), std::max(1, int(size.height() * shrink)));
    }
    drawStretched(painter, target, renderedVector(size));
}

}  // namespace pemo
