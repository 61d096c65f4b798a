#pragma once

#include <QByteArray>
#include <QImage>

namespace pemo {

// Decodes TGA pictures: colour-mapped (types 1 and 9, 8- or 16-bit indices into a
// 15/16/24/32-bit map), true colour (types 2 and 10, 15/16/24/32 bits) and greyscale
// (types 3 and 11, 8 bits, or 16 bits as grey and alpha). Rows run bottom-up unless
// bit 5 of the descriptor is set, right to left when bit 4 is set. Damaged or absurd
// input gives a null image.
class TgaDecoder {
public:
    static QImage decode(const QByteArray& data);
};

}  // namespace pemo
