#pragma once

#include <QSize>
#include <QString>

namespace pemo {

// The page sizes of the template menu, in millimetres. They are page areas, not paper
// sizes: A4幅面 is 190 × 280.
class PageSizes {
public:
    // A4 to A0, index 0 to 4.
    static constexpr int kStandardCount = 5;
    // The custom-size dialog accepts whole millimetres in this range, both ends included.
    static constexpr int kMinCustomMm = 20;
    static constexpr int kMaxCustomMm = 2000;

    // The standard size upright (width < height).
    static QSize standard(int index);
    // "A4幅面" … "A0幅面".
    static QString standardName(int index);
    // The standard size a page has in either orientation, or -1.
    static int standardIndexOf(int widthMm, int heightMm);
    // The standard size in the page's present orientation: a page at least as wide as
    // it is high (a square one too) stays landscape.
    static QSize keepingOrientation(int index, int widthMm, int heightMm);

    static bool isCustomSizeAccepted(int widthMm, int heightMm);

    // "(A4幅面)" … "(A0幅面)" for a standard size in either orientation, else "(%dx%d)".
    static QString statusName(int widthMm, int heightMm);
    // The text of the rotate command: "横向幅面" turns an upright page, "竖向幅面" a
    // landscape one.
    static QString rotateCommandText(int widthMm, int heightMm);
};

}  // namespace pemo
