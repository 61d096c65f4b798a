#include "TextMetrics.h"

#include <QFontMetrics>
#include <QHash>

#include "CharStyle.h"
#include "FontFaces.h"

namespace pemo {

namespace {

// Measures at a pixel size of 20 per point, so one pixel is one twip.
class QtTextMetrics : public TextMetrics {
public:
    StyleMetrics measure(const CharStyle& style, int size) const override {
        QByteArray key = style.chineseFace;
        key.append('\0').append(style.westernFace).append('\0');
        key.append(QByteArray::number(size)).append(style.bold ? 'B' : 'b');
        key.append(style.italic ? 'I' : 'i');
        auto it = cache_.constFind(key);
        if (it != cache_.constEnd())
            return *it;

        const int em = 20 * std::max(0, size);
        StyleMetrics m;
        chineseMetrics(style, em, &m.chineseHeight, &m.chineseAscent);
        const QFont western = FontFaces::font(style.westernFace, em, style.bold, style.italic);
        const QFontMetrics wm(western);
        if (FontFaces::resolve(style.westernFace).cjk) {
            m.westernHeight = em;
            m.westernAscent = em * 7 / 8;
        } else {
            m.westernHeight = wm.ascent() + wm.descent();
            m.westernAscent = wm.ascent();
        }
        for (int c = 33; c <= 126; ++c)
            m.widths[c - 33] = wm.horizontalAdvance(QChar(c));
        if (em == 0)
            m = StyleMetrics{};
        cache_.insert(key, m);
        return m;
    }

private:
    static void chineseMetrics(const CharStyle& style, int em, int* height, int* ascent) {
        if (FontFaces::resolve(style.chineseFace).cjk) {
            // The Chinese faces documents are made with have a cell of exactly one em,
            // seven eighths of it above the baseline.
            *height = em;
            *ascent = em * 7 / 8;
            return;
        }
        const QFontMetrics fm(FontFaces::font(style.chineseFace, em, style.bold, style.italic));
        *height = fm.ascent() + fm.descent();
        *ascent = fm.ascent();
    }

    mutable QHash<QByteArray, StyleMetrics> cache_;
};

}  // namespace

const TextMetrics& TextMetrics::platform() {
    static const QtTextMetrics metrics;
    return metrics;
}

StyleMetrics FixedTextMetrics::measure(const CharStyle& style, int size) const {
    StyleMetrics m;
    m.chineseHeight = 20 * size;
    m.chineseAscent = 16 * size;
    m.westernHeight = 22 * size;
    m.westernAscent = 18 * size;
    for (int c = 33; c <= 126; ++c) {
        int w = 10;
        if (c == 'i' || c == 'l' || c == '.' || c == ',')
            w = 5;
        if (c == 'M' || c == 'W')
            w = 16;
        m.widths[c - 33] = (w + (style.bold ? 1 : 0)) * size;
    }
    return m;
}

}  // namespace pemo
