#pragma once

#include <QByteArray>
#include <QImage>

namespace pemo {

// Decodes PCX pictures: 8-bit paletted (palette after the 0x0C marker at the end, or
// grey when a file has none), 24-bit as three 8-bit planes, 1-bit monochrome and
// 1-bit 2- to 4-plane EGA pictures coloured by the header palette. Both the RLE and
// the plain encoding are read. Damaged or absurd input gives a null image.
class PcxDecoder {
public:
    static QImage decode(const QByteArray& data);
};

}  // namespace pemo
