#pragma once

#include <QByteArray>
#include <QString>

#include "BarcodeFace.h"

namespace pemo {

// What a symbol encodes, made from the text a block shows: the payload for the encoder, or
// the reason no symbol can be drawn. A wrong symbol is never drawn: EAN and UPC texts must
// be digits of the right length, their check digit is computed when it is missing and
// must be right when it is given.
class BarcodeData {
public:
    static BarcodeData prepare(BarcodeFace::Symbology symbology, const QString& text);
    // A symbol of the symbology that stands for whatever a record will hold: drawn marked
    // as a sample where a placeholder shows its name.
    static BarcodeData sample(BarcodeFace::Symbology symbology);

    // The check digit of EAN, UPC and ITF numbers (weights 3 and 1 from the right) for
    // digits that lack it; -1 when digits holds anything but digits.
    static int checkDigit(const QString& digits);

    bool valid() const { return problem.isEmpty(); }

    BarcodeFace::Symbology symbology = BarcodeFace::Symbology::Code128;
    // Digits without their check digit (the encoder adds it) or the text as UTF-8.
    QByteArray payload;
    // The number with its check digit; empty for texts that have none.
    QString fullNumber;
    // The text holds characters beyond ASCII: QR and DataMatrix say so by an ECI (UTF-8).
    bool needsEci = false;
    // Why the text cannot be drawn ("校验位应为 2" …); empty when it can.
    QString problem;
    bool isSample = false;
};

}  // namespace pemo
