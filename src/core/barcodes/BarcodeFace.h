#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace pemo {

// The barcode faces: a text set in one of them is drawn as that symbol. They are stored as
// face names in the character styles, so a reader that does not know them shows the text
// in a fallback face and the file stays as it is.
class BarcodeFace {
public:
    enum class Symbology { Ean13, Ean8, UpcA, Code128, Code39, Itf14, Qr, DataMatrix };

    // The symbology a face name (GBK) stands for, or none for a real face.
    static std::optional<Symbology> fromFaceName(const QByteArray& gbkName);
    // "条码 EAN-13" … "二维码 DataMatrix".
    static QString name(Symbology symbology);
    static QByteArray gbkName(Symbology symbology);
    // Every barcode face, in the order the face lists offer them.
    static QList<Symbology> all();
    static QList<QByteArray> gbkNames();

    // QR and DataMatrix: square symbols without human-readable text.
    static bool isMatrix(Symbology symbology);
    // EAN-13, EAN-8, UPC-A and ITF-14: digits only, with a check digit.
    static bool isNumeric(Symbology symbology);
};

}  // namespace pemo
