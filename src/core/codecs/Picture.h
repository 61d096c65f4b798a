#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;
class QRect;
class QSvgRenderer;

namespace pemo {

// A picture file decoded for drawing. The decoder is chosen by the file's extension:
// BMP, GIF, JPEG, PNG and TIFF through Qt's image readers, PCX and TGA through our
// own decoders, WMF and EMF as vectors (see Metafile) drawn at the output's
// resolution. Callers keep the file's bytes either way, so nothing is lost when a
// picture cannot be decoded.
class Picture {
public:
    Picture() = default;
    // Takes a decoded image, kept in the 32-bit form pictures are drawn from.
    explicit Picture(const QImage& image);

    // A JPEG file is only measured: it is decoded from the file whenever it is drawn (so
    // the file must stay while the picture is in use). extension: as for fromData; by
    // default the file name's.
    static Picture fromFile(const QString& path, const QString& extension = QString());
    // extension: with or without its leading dot, in any case (".jpg", "JPEG", "tif").
    static Picture fromData(const QByteArray& bytes, const QString& extension);
    // Whether the extension names a picture file format this layer knows.
    static bool isKnownExtension(const QString& extension);

    bool isNull() const { return !raster_ && !vector_; }
    bool isVector() const { return vector_ != nullptr; }
    // Size in pixels; an empty size for a null picture. A metafile's is its extent on a
    // 96 dpi screen.
    QSize size() const;
    // The bitmap of a raster picture; null for metafiles and for a JPEG whose data turns
    // out to be damaged. A JPEG is decoded when asked for, its bitmap kept only in the
    // program's PictureCache.
    QImage image() const;
    // The file the picture was read from, if any: a JPEG drawn into a PDF that
    // PdfPictureSession writes is embedded from it unchanged.
    void setSourceFile(const QString& path);

    // Draws the picture stretched over target, in the painter's current coordinates.
    // A negative width mirrors it left to right and a negative height top to bottom,
    // the rectangle then extending left of x or above y. A null picture or an empty
    // target draws nothing. A JPEG drawn smaller than it is gets decoded at the size it
    // takes on the device.
    void draw(QPainter& painter, const QRect& target) const;
    // The same, with pure white pixels left out so that what lies below shows through;
    // an alpha channel is kept as well. A metafile is rendered at the target's size in
    // device pixels, but never into more than kMaxRenderPixels (a huge target is
    // rendered smaller and stretched). Repeated draws of one picture at one size reuse
    // the same bitmap, so a PDF embeds it once.
    void drawWhiteTransparent(QPainter& painter, const QRect& target) const;

    static constexpr qint64 kMaxRenderPixels = qint64(16) * 1024 * 1024;

private:
    struct Vector;
    struct Raster;
    // The bitmap for a target on painter's device, with white made transparent (the
    // bitmap itself when it has no white) when asked.
    QImage bitmapFor(const QPainter& painter, const QRect& target, bool whiteKeyed) const;
    const QImage& renderedVector(QSize size) const;
    // A JPEG drawn into a PDF being written by a PdfPictureSession: its stand-in is
    // drawn instead and true returned.
    bool drawnAsJpegStandIn(QPainter& painter, const QRect& target, bool whiteTransparent) const;

    // Shared by every copy of the picture, so that all of them draw the very same
    // bitmaps (a PDF then embeds a picture once).
    std::shared_ptr<Raster> raster_;
    std::shared_ptr<Vector> vector_;
};

}  // namespace pemo
