#pragma once

// Helpers shared by the rich text tests: contents laid out with fixed metrics.
// At size 10 the fixed metrics give: Chinese em 200, ascent 160; Western cell 220,
// ascent 180; a space 110; most ASCII 100, "i", "l", ".", "," 50, "M", "W" 160.
#include <QByteArray>
#include <vector>

#include "Bytes.h"
#include "core/text/RichText.h"
#include "core/text/TextMetrics.h"

namespace pemo::test {

inline const FixedTextMetrics& fixedMetrics() {
    static const FixedTextMetrics metrics;
    return metrics;
}

inline CharStyle styleOfSize(int size) {
    CharStyle s;
    s.size = uint16_t(size);
    return s;
}

// A content of fixed text laid out with fixed metrics, line spacing 0.
inline RichText makeText(const char* utf8, int frameWidth, int frameHeight,
                         int alignment = RichText::Left, int size = 10, int lineSpacing = 0) {
    RichText t;
    t.setMetrics(&fixedMetrics());
    t = RichText(frameWidth, frameHeight, gbk(utf8), styleOfSize(size), TextKind::Fixed, size,
                 lineSpacing, alignment);
    t.setMetrics(&fixedMetrics());
    t.layout();
    return t;
}

inline std::vector<int> column(const RichText& t, int TextItem::*field) {
    std::vector<int> out;
    for (int i = 0; i < t.itemCount(); ++i)
        out.push_back(t.item(i).*field);
    return out;
}

inline std::vector<int> breakMarks(const RichText& t) {
    std::vector<int> out;
    for (int i = 0; i < t.itemCount(); ++i)
        out.push_back(t.item(i).breakMark);
    return out;
}

inline std::vector<int> classes(const RichText& t) {
    std::vector<int> out;
    for (int i = 0; i < t.itemCount(); ++i)
        out.push_back(t.item(i).itemClass());
    return out;
}

}  // namespace pemo::test
