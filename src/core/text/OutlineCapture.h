#pragma once

#include <QPainterPath>

namespace pemo {

class RichText;
class TextOutline;
struct OutlinePiece;

// 文字图形化: the glyph outlines of a laid-out rich text, one piece per drawable
// character, in twips (fonts at 20 units per point, so one unit is one twip).
namespace OutlineCapture {

// Fills an empty outline with the pieces of the content's characters. Spaces, line
// ends and price fields give no piece. Upright glyphs of vertical text are captured as
// they stand, the turned ones a quarter turn clockwise.
void captureOutlines(const RichText& content, TextOutline& outline);

// The points and point types of a path: 6 starts a figure, 2 a line, three 4s a
// Bézier segment; the last point of a figure carries the closing flag (3 or 5).
void appendPath(const QPainterPath& path, OutlinePiece& piece);

// Merges overlapping contours, so strokes that cross fill without holes under the
// alternate fill rule the outlines are drawn with. Paths without crossing contours
// are returned as they are.
QPainterPath withoutOverlaps(const QPainterPath& glyph);

}  // namespace OutlineCapture

}  // namespace pemo
