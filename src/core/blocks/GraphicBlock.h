#pragma once

#include <QPen>
#include <QSize>
#include <vector>

#include "Block.h"

namespace pemo {

// The bitmap a shape's ink is measured in: the canvas's size, zoom and resolution.
struct InkCanvas {
    QSize size;
    double zoom = 1.0;
    int pixelsPerInch = 96;
};

// A drawn shape: line, polyline, curve, ellipse, rectangles, triangle, polygon (also
// every star), closed curve and the twelve arrows. Its points are relative to the
// frame's top-left corner, expressed in the reference size held in the size field.
class GraphicBlock : public Block {
public:
    // Fill codes; 0 to 5 are the hatches, 1003 to 1020 the effect fills.
    enum Fill : int32_t {
        HatchHorizontal = 0,
        HatchDiagonalCross = 5,
        NoFill = 1000,
        FillColour = 1001,
        PenColourFill = 1002,
        FirstEffect = 1003,
        LastEffect = 1020,
    };
    // Pen styles of the platform: solid, dash, dot, dash-dot, dash-dot-dot.
    static constexpr int32_t kLastPenStyle = 4;
    // The widest pen (points) and the farthest shadow (1/24 inch) drawn; larger stored
    // values are drawn at these.
    static constexpr int32_t kMaxPenWidth = 1000;
    static constexpr int32_t kMaxShadowDistance = 480;

    GraphicBlock();
    ~GraphicBlock() override;

    void loadSnapshot(ArchiveReader& in) override;
    void storeSnapshot(ArchiveWriter& out) const override;
    void load(ArchiveReader& in) override;
    void store(ArchiveWriter& out) const override;
    void loadClip(ArchiveReader& in, const PictureStore& local, PictureStore& images,
                  QPoint& origin) override;
    void storeClip(ArchiveWriter& out, int32_t originX, int32_t originY) const override;
    void draw(QPainter& painter, int flags, double zoom, int offsetX, int offsetY) override;
    void drawForOutput(QPainter& painter, double zoom, int offsetX, int offsetY,
                       const OutputDevice& device) override;
    void rebuildHandles(bool clearFirst) override;
    // Open kinds are hit within a pixel of their ink, the others inside their frame.
    bool hitTest(QImage& scratch, double zoom, int x, int y) override;
    // The frame widened by the pen and the shadow.
    TwipsRect inkBounds() const override;

    bool isClosed() const;
    int pointCount() const { return int(points.size()); }
    QPoint pointAt(int index) const { return points.at(size_t(index)); }
    // A point's position on the page (twips), computed in 64 bits.
    QPoint pagePoint(QPoint point) const;
    // The points as device pixels. Wire mode maps in floating point without the
    // resolution, as while a shape is input in device pixels.
    std::vector<QPoint> devicePoints(double zoom, int pixelsPerInch, int offsetX, int offsetY,
                                     bool wire) const;

    // A dragged point grip to page position (x, y); with shift a line's end snaps to
    // 15° steps at its old length and a box becomes a square. The frame is then fitted.
    void movePoint(int index, int32_t x, int32_t y, bool shift, const InkCanvas& canvas);
    // After the frame was resized: the points follow and the size becomes the frame's.
    void rescalePoints();
    // After a point edit: the frame becomes the box of the ink drawn at the canvas's zoom,
    // ending at the first empty row below ink. Without any ink the frame stays.
    void fitFrameToInk(const InkCanvas& canvas);
    // Right after input: the points are canvas pixels; the whole ink of the outline drawn
    // at zoom 1 becomes the frame and the points are converted into twips.
    void fitFrameToInputInk(const InkCanvas& canvas);

    // The device pen: width in points scaled to the device (at least 1), unscaled for a
    // styled pen, 1 in wire mode.
    QPen devicePen(double zoom, int pixelsPerInch, bool wire) const;
    QBrush fillBrush() const;

    int32_t penWidth = 1;
    int32_t penStyle = 0;
    int32_t fillType = FillColour;
    int32_t penColour = 0;
    int32_t fillColour = 0xFFFFFF;
    int32_t shadowColour = 0xC0C0C0;
    int16_t shadowDirection = 0;  // 1 up-left, 2 up-right, 3 down-left, 4 down-right
    int16_t shadowDistance = 2;   // 1/24 inch
    std::vector<QPoint> points;

    static constexpr int kReservedFields = 14;

private:
    void paint(QPainter& painter, double zoom, int offsetX, int offsetY, int ppi, bool wire) const;
    // An effect fill (codes 1003 to 1020) shown where the shape paints, outline included.
    void paintEffectBody(QPainter& painter, const std::vector<QPoint>& device, double zoom,
                         int ppi, int offsetX, int offsetY) const;
    // Draws the body in black with the pen-colour fill into a white bitmap and returns
    // the ink's box in device pixels; empty when nothing was painted.
    QRect inkBox(const InkCanvas& canvas, bool wire, bool stopAtGap) const;
    // The frame from an ink box in device pixels, at least 4 twips wide and high.
    TwipsRect frameFromInk(QRect box, const InkCanvas& canvas) const;
    void writeStyle(ArchiveWriter& out) const;
    void readStyle(ArchiveReader& in);
    void writePoints(ArchiveWriter& out) const;
    void readPoints(ArchiveReader& in);
};

}  // namespace pemo
