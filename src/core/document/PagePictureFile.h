#pragma once

#include <QImage>
#include <QString>

namespace pemo {

// Writes a rendered page as a picture file: PNG when the name ends in ".png" (any
// case), otherwise a 24-bit BMP. The file is written beside its name and renamed over
// it, so a failed write leaves an earlier file intact.
class PagePictureFile {
public:
    static bool isPngName(const QString& path);
    // False when the image is null or the file cannot be written.
    static bool write(const QImage& image, const QString& path);
};

}  // namespace pemo
