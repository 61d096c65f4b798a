#pragma once

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QString>

namespace pemo {

// Maps the face names that documents carry (Windows faces, in GBK) onto the closest
// installed face in style, weight and width. Every face resolves to an installed family,
// so glyphs never come from a fallback face picked by the system.
class FontFaces {
public:
    struct Face {
        QString family;           // installed family to draw with
        bool cjk = false;         // a Chinese face: its cell is one em high, as the Windows faces are
        int weight = QFont::Normal;  // of the regular style (100 … 900)
            // The family has one weight installed: bold (and the heavier faces) are the
        // regular glyphs emboldened.
        bool syntheticBold = false;
    };

    static Face resolve(const QByteArray& gbkName);

    // The weight a style of the face is drawn with: the face's own, or, bold, the next
    // heavier of Regular, Bold and Black.
    static int weightOf(const Face& face, bool bold);

    // A font of the face at a pixel size (the em height), never underlined; the
    // Chinese fallback family follows the face so no glyph is left to the system.
    static QFont font(const QByteArray& gbkName, int pixelSize, bool bold, bool italic);

    // The faces a shop designer chooses from, in the order they are offered: Chinese
    // faces (by their Chinese names) or Western faces, each with what it resolves to.
    struct Listed {
        QByteArray name;  // GBK
        Face face;
    };
    static QList<Listed> designerFaces(bool chinese);
    // Their names only (GBK).
    static QList<QByteArray> names(bool chinese);

    // The families the table maps onto, for tests and diagnostics.
    static QStringList installedTargets();
};

}  // namespace pemo
