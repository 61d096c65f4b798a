#pragma once

#include <QByteArray>
#include <QFont>
#include <QString>

namespace pemo {

// Maps the face names that documents carry (Windows faces, in GBK) onto the faces
// installed with the program. Every face resolves to an installed family, so glyphs
// never come from a fallback face picked by the system.
class FontFaces {
public:
    struct Face {
        QString family;    // installed family to draw with
        bool cjk = false;  // a Chinese face: its cell is one em high, as the Windows faces are
    };

    static Face resolve(const QByteArray& gbkName);

    // A font of the face at a pixel size (the em height), never underlined; the
    // Chinese fallback family follows the face so no glyph is left to the system.
    static QFont font(const QByteArray& gbkName, int pixelSize, bool bold, bool italic);

    // The face names the table knows that a user chooses from (GBK): the Chinese names of
    // the Chinese faces, or the Western faces.
    static QList<QByteArray> names(bool chinese);

    // The families the table maps onto, for tests and diagnostics.
    static QStringList installedTargets();
};

}  // namespace pemo
