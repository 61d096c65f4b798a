#pragma once

#include <array>
#include <cstdint>

namespace pemo {

struct CharStyle;

// The metrics of a style's two fonts, in twips: the Chinese font gives the em (its
// cell height) and its ascent, the Western font its cell height, ascent and the
// widths of the characters 33 to 126.
struct StyleMetrics {
    int chineseHeight = 0;
    int chineseAscent = 0;
    int westernHeight = 0;
    int westernAscent = 0;
    std::array<int, 94> widths{};

    int widthOf(uint8_t byte) const { return byte >= 33 && byte <= 126 ? widths[byte - 33] : 0; }
};

// Where text layout reads its font metrics. The platform source measures the
// installed faces; tests use fixed widths so that positions are exact anywhere.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    // Metrics of the style's faces, weight and slant at the given size in points.
    virtual StyleMetrics measure(const CharStyle& style, int size) const = 0;

    // The installed fonts, through FontFaces.
    static const TextMetrics& platform();
};

// Fixed metrics for tests and benchmarks, per point of size: Chinese em 20 and
// ascent 16; Western cell 22 and ascent 18; character widths 10, except "i", "l",
// "." and "," 5 and "M", "W" 16. Bold adds 1 to every Western width.
class FixedTextMetrics : public TextMetrics {
public:
    StyleMetrics measure(const CharStyle& style, int size) const override;
};

}  // namespace pemo
