#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

class QFont;
class QPainter;

namespace pemo {

class PictureStore;
struct CharStyle;

// The art effects of single characters: shadows, hollow and bordered letters, soft
// shadows, 28 warps of the letter shapes, pattern and texture fills. Whatever is
// painted pixel by pixel is first composed in an image of the character's cell and
// drawn in one go, so printers and PDF files receive one picture per character.
namespace ArtText {

inline constexpr int kLastEffect = 41;
inline constexpr int kFirstWarp = 12;
inline constexpr int kLastWarp = 39;
inline constexpr int kPatternFill = 40;
inline constexpr int kTextureFill = 41;
// Effect sizes in device pixels beyond this are treated as this; it keeps the halo and
// blur loops bounded for absurd zooms and resolutions.
inline constexpr int kMaxEffectPixels = 256;

// Paints one character (its text in Unicode) in the style's effect with its baseline's
// left end at `at`; s is the effect size in device pixels (at least 1). Unknown effects
// paint plain. The painter's state is as before afterwards. A texture fill uses
// `texture` when it is given (a picture not yet in the document), else the style's.
void paintCharacter(QPainter& painter, QPoint at, const QString& text, const QFont& font,
                    const CharStyle& style, int s, const QImage& texture = QImage());

// Where the warp moves pixel (column j, row i) of a w × h glyph; false for an effect
// that is not a warp or a glyph too small to warp (two pixels or less either way).
bool warpPoint(int effect, int j, int i, int w, int h, QPoint* to);

// One pass of the soft-shadow blur: every inner pixel becomes the 1 2 1 / 2 4 2 / 1 2 1
// weighted mean of its neighbourhood (each byte, sum shifted right by 4); the outer
// border becomes transparent. The image is premultiplied ARGB32.
void blurOnce(QImage& image);
// The same pass repeated.
void blur(QImage& image, int passes);

// The texture of a texture fill: the picture under the key in the open document's
// pictures, or the built-in texture when the key is empty or names none.
QImage texture(const QByteArray& key);
// The open document's pictures (the blocks' document pictures tell it); null for none.
void setDocumentPictures(const PictureStore* pictures);

}  // namespace ArtText

}  // namespace pemo
