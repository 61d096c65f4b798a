#pragma once

namespace pemo {

// The device blocks are drawn onto for output. The painter's units are its pixels at
// pixelsPerInch (the zoom aside). A device whose dots are known — a picture at its
// resolution, a printer — has dotsPerInch: a barcode's modules then cover whole dots, so
// no bar is a dot wider than its neighbour. A device that takes exact vectors (a PDF
// file) has 0.
struct OutputDevice {
    // Implicit: a resolution alone is a device of exact vectors.
    OutputDevice(int pixels, int dots = 0) : pixelsPerInch(pixels), dotsPerInch(dots) {}

    int pixelsPerInch = 96;
    int dotsPerInch = 0;
};

}  // namespace pemo
