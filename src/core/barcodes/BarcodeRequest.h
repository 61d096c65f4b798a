#pragma once

#include <QByteArray>
#include <cstdint>

#include "BarcodeFace.h"

namespace pemo {

// What 插入条码 places: a text block of the kind (fixed text carrying fixedText, or a
// placeholder that shows its record's value) set in the symbology's face.
struct BarcodeRequest {
    BarcodeFace::Symbology symbology = BarcodeFace::Symbology::Ean13;
    int32_t kind = 0;
    QByteArray fixedText;  // GBK; for fixed text only
    bool showText = true;
};

}  // namespace pemo
