#pragma once

#include <QtGlobal>

namespace pemo {

// The largest picture our own decoders agree to build; anything bigger is taken
// for a damaged file rather than allocated.
inline constexpr int kMaxPictureSide = 32768;
inline constexpr qint64 kMaxPicturePixels = qint64(256) * 1024 * 1024;

inline bool pictureSizeAcceptable(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           qint64(width) * height <= kMaxPicturePixels;
}

}  // namespace pemo
