#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>
#include <vector>

class QFont;
class QPainter;

namespace pemo {

// The frames of glyphs drawn around a live text block. A kind is a character code of the
// border list: 32 no border, 33 a plain rectangle, the others a symbol repeated around the
// block from the outside, corners included.
namespace GlyphBorder {

constexpr int kNone = 32;
constexpr int kRectangle = 33;

// The thirty kinds in list order.
const std::vector<int>& kinds();

// The symbol a kind draws (empty for 32, 33 and codes outside the list).
QString symbolOf(int kind);

// The font the symbols are drawn in, pixelHeight high.
QFont symbolFont(int pixelHeight);

// Top-left corners of the glyph cells framing (left, top, right, bottom) with glyphs
// glyphWidth × glyphHeight: the top row, the bottom row, then the two columns. When the
// spacing cannot be computed only the four corners are given.
std::vector<QPoint> cellPositions(int left, int top, int right, int bottom, int glyphWidth,
                                  int glyphHeight);

}  // namespace GlyphBorder

// Paints the background unless transparent, then the border of this kind in
// borderColour (0x00BBGGRR); fontHeight is the symbol height in device pixels.
void drawGlyphBorder(QPainter& painter, int left, int top, int right, int bottom, int kind,
                     int fontHeight, uint32_t borderColour, bool transparent,
                     uint32_t backgroundColour);

}  // namespace pemo
