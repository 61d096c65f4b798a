#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QPainter;
class QRect;

namespace pemo {

// A picture file decoded for drawing. The decoder is chosen by the file's extension:
// BMP, GIF, JPEG, PNG and TIFF through Qt's image readers, PCX and TGA through our
// own decoders. WMF and EMF are not decoded yet and give a null picture; callers keep
// the file's bytes either way, so nothing is lost when a picture cannot be decoded.
class Picture {
public:
    Picture() = default;
    // Takes a decoded image, kept in the 32-bit form pictures are drawn from.
    explicit Picture(const QImage& image);

    static Picture fromFile(const QString& path);
    // extension: with or without its leading dot, in any case (".jpg", "JPEG", "tif").
    static Picture fromData(const QByteArray& bytes, const QString& extension);
    // Whether the extension names a picture file format this layer knows, decodable
    // or not (".wmf" and ".emf" are known but not decoded).
    static bool isKnownExtension(const QString& extension);

    bool isNull() const { return image_.isNull(); }
    // Size in pixels; an empty size for a null picture.
    QSize size() const { return image_.size(); }
    const QImage& image() const { return image_; }

    // Draws the picture stretched over target, in the painter's current coordinates.
    // A negative width mirrors it left to right and a negative height top to bottom,
    // the rectangle then extending left of x or above y. A null picture or an empty
    // target draws nothing.
    void draw(QPainter& painter, const QRect& target) const;

private:
    QImage image_;
};

}  // namespace pemo
