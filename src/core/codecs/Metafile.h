#pragma once

#include <QByteArray>
#include <QSize>

namespace pemo {

// Windows metafiles (WMF through libwmf, EMF through libemf2svg) turned into SVG, so
// that they are drawn as vectors at whatever resolution the output has.
namespace Metafile {

enum class Type { Wmf, Emf };

// The SVG document of a metafile; empty when the bytes are not a metafile of that type
// or cannot be converted.
QByteArray toSvg(const QByteArray& bytes, Type type);

// The metafile's size in pixels on a 96 dpi screen: its extent in 0.01 mm converted as
// (size × 96 + 1270) / 2540 on each axis. An empty size when the header gives none.
QSize naturalSize(const QByteArray& bytes, Type type);

// The conversion used for the size above, exposed for the placeable WMF header whose
// extent is in its own units per inch.
inline int hundredthsMmToPixels(long long size) {
    return static_cast<int>((size * 96 + 1270) / 2540);
}

}  // namespace Metafile

}  // namespace pemo
