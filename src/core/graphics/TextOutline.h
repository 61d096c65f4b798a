#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <cstdint>
#include <vector>

class QPainter;

namespace pemo {

class ArchiveReader;
class ArchiveWriter;

// One captured character of a text turned into a graphic: its cell (twips, relative to
// the block's p0 before rotation) and its outline points (relative to the cell).
struct OutlinePiece {
    // Point types of a captured path.
    enum Type : uint8_t { CloseFigure = 3, LineTo = 2, BezierTo = 4, MoveTo = 6 };

    int32_t left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> types;
    std::vector<QPoint> points;

    bool operator==(const OutlinePiece&) const = default;
};

// The glyph outlines a text block holds after it was turned into a graphic, with the
// effect they are painted in.
class TextOutline {
public:
    enum Effect : int32_t {
        Plain = 0,
        ShadowUpLeft = 1,
        ShadowUpRight = 2,
        ShadowDownLeft = 3,
        ShadowDownRight = 4,
        Hollow = 5,
        Bordered = 6,
        DoubleBordered = 7,
        PatternFill = 40,
        PictureFill = 41,
    };

    // The effects an outline draws: plain, the shadows and borders, pattern and picture fill.
    static constexpr bool knowsEffect(int32_t effect) {
        return (effect >= Plain && effect <= DoubleBordered) || effect == PatternFill ||
               effect == PictureFill;
    }

    std::vector<OutlinePiece> pieces;
    int32_t textColour = 0;
    int32_t effect = Plain;
    int32_t reserved = 0;
    int32_t size = 1;  // shadow distance and border width in 1/48 inch
    int32_t effectColour = 0xC0C0C0;
    int32_t pattern = 1;
    QByteArray pictureKey;
    QByteArray localPictureKey;

    void storeSnapshot(ArchiveWriter& out) const;
    void loadSnapshot(ArchiveReader& in);
    void store(ArchiveWriter& out) const;
    void load(ArchiveReader& in);
    void storeTemplate(ArchiveWriter& out) const;
    void loadTemplate(ArchiveReader& in);

    // The pieces as one device path: scaled, placed at the anchor and rotated about it
    // by angle (radians, counterclockwise on screen).
    QPainterPath buildPath(int pixelsPerInch, double scaleX, double scaleY, QPoint anchor,
                           double angle) const;
    // Paints the outline in its effect; penWidth in device pixels. The picture fill
    // stretches texture over the frame, the built-in texture when it is null.
    void draw(QPainter& painter, int pixelsPerInch, double scaleX, double scaleY, QPoint anchor,
              const QRect& frame, double angle, int penWidth,
              const QImage& texture = QImage()) const;
    static const QImage& builtInTexture();

private:
    void writePieces(ArchiveWriter& out) const;
    void readPieces(ArchiveReader& in);
};

// A colour value 0x00BBGGRR as a QColor.
QColor colourOf(int32_t value);

}  // namespace pemo
