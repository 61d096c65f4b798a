#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <vector>

namespace pemo {

// Reads a font's Unicode character map straight from its tables, for callers that want
// the glyph of every character at once (tens of thousands of engine look-ups take a
// while). The subtable read is the one the font engine uses: the last Unicode one; a
// glyph number the font does not have is no glyph.
namespace FontCmap {

// The glyph of each code point below 0x10000 (0 for none), indexed by code point, from
// the bytes of the 'cmap' and 'maxp' tables. Empty when the subtable the engine would
// use is not of format 4 or 12, the font also has a symbol subtable (the engine then
// looks there too) or the tables are cut short: the caller asks the engine instead.
std::vector<quint32> bmpGlyphs(const QByteArray& cmap, const QByteArray& maxp);

}  // namespace FontCmap

}  // namespace pemo
