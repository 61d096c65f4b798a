#pragma once

#include <QImage>
#include <QRect>
#include <functional>

class QPainter;

namespace pemo {

class InfoRecord;
class PictureStore;

struct PageDrawOptions {
    // Screen mode renders the page in one screen bitmap stretched onto the device
    // (the full-screen show); band mode renders bands of at most kBandRows device rows
    // at the device's resolution (printing, preview, picture export).
    bool screenMode = false;
    // Direct mode draws the background and the blocks straight onto the painter, with no
    // bitmap between: for vector devices (PDF), where text then stays text.
    bool directMode = false;
    // Direct mode: the resolution of the device's dots when they are known (a printer),
    // 0 for a device that takes exact vectors (a PDF file). Band mode draws onto pictures
    // whose pixels are the device's dots.
    int dotsPerInch = 0;
    double zoom = 1.0;      // device pixels = twips × pixels per inch × zoom / 1440
    QRect target;           // device rectangle the page fills
    // Band and direct modes: the part of target to draw (device coordinates); empty
    // means all of it. Rows and columns outside it are never rendered.
    QRect clip;
    // Direct mode: the painter is clipped to that part already (a label's shape with it),
    // so the page sets no clip of its own; a PDF then writes the clip once per sign.
    bool clippedByCaller = false;
    // Canvas mode: the design view's page, drawn straight onto the painter the way blocks
    // show themselves on screen (with blockFlags: frame lines, selection tool, in-place
    // editing), no block left out, and underlay drawn between the background and the
    // blocks (the alignment grid). Grips and bands go on top afterwards.
    bool canvasMode = false;
    int blockFlags = 0;
    std::function<void(QPainter&)> underlay;
    bool withBackground = true;
    bool templateMode = false;
    int screenPixelsPerInch = 96;
};

inline constexpr int kBandRows = 1000;

// Renders a record's page: white, the background stretched over the whole page when
// it is present, then every block by layer. Outside template mode, variable and price
// blocks whose value is empty are left out of band output.
void drawPage(const InfoRecord& record, const PictureStore& backgrounds, QPainter& painter,
              const PageDrawOptions& options);

// The page rendered in bands into a picture at the given resolution and zoom.
QImage renderPageImage(const InfoRecord& record, const PictureStore& backgrounds,
                       int pixelsPerInch, bool withBackground, bool templateMode,
                       double zoom = 1.0);

// Whether band output leaves a block out: a variable or price whose value is empty,
// outside template mode.
bool isSkippedInOutput(const InfoRecord& record, int kind, bool templateMode);

}  // namespace pemo
