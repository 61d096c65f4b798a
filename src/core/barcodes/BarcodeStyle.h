#pragma once

#include <QByteArray>
#include <QColor>
#include <optional>

#include "BarcodeFace.h"

namespace pemo {

class RichText;

// How a text content says it is a barcode, in fields every reader already knows: its first
// character's Western face is a barcode face (the Chinese face is set to it too, so Chinese
// text stays part of the symbol), and an italic style hides the human-readable text.
class BarcodeStyle {
public:
    struct Look {
        BarcodeFace::Symbology symbology = BarcodeFace::Symbology::Code128;
        bool showText = true;
        QColor ink;
        std::optional<QColor> paper;  // none for a transparent block
    };

    static std::optional<BarcodeFace::Symbology> symbologyOf(const RichText& content);
    static std::optional<Look> lookOf(const RichText& content);

    // Sets every character (and what is typed next) in the barcode face, both faces.
    static void apply(RichText& content, BarcodeFace::Symbology symbology, bool showText, bool autoFit);
    // Sets every character in a real face again: the face given in the field of faceCode
    // (RichText::ChineseFace or WesternFace), the other face back to its default where it
    // was a barcode face, and upright.
    static void clear(RichText& content, int faceCode, const QByteArray& face, bool autoFit);

    // A stored colour (0x00BBGGRR).
    static QColor colour(int32_t stored);
};

}  // namespace pemo
