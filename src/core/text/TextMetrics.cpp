#include "TextMetrics.h"

#include <QFontMetrics>
#include <QHash>
#include <QRawFont>
#include <memory>

#include "CharStyle.h"
#include "FontFaces.h"

namespace pemo {

namespace {

// One face in one weight and slant, measured at any pixel size by copies of one
// font engine made at that size: what a font of the size measures with, without asking
// the font database again (and the system's font matching with it) for every size a
// fit tries.
class FaceSizes {
public:
    FaceSizes(const QByteArray& face, bool bold, bool italic)
        : raw_(QRawFont::fromFont(FontFaces::font(face, kPrototypeEm, bold, italic))) {
        if (!raw_.isValid()) return;
        QString printable;
        for (int c = 33; c <= 126; ++c) printable += QChar(c);
        glyphs_ = raw_.glyphIndexesForString(printable);
        // A character the face lacks comes from a fallback face, which only a whole
        // font measures.
        complete_ = glyphs_.size() == 94 && !glyphs_.contains(0u);
    }

    // False when the sizes are measured through whole fonts instead.
    bool complete() const { return complete_; }

    // Ascent, descent and the advances of the characters 33 to 126, rounded as a
    // font's metrics round them.
    void measure(int em, int* ascent, int* descent, std::array<int, 94>* widths) const {
        QRawFont sized = raw_;
        sized.setPixelSize(em);
        *ascent = qRound(sized.ascent());
        *descent = qRound(sized.descent());
        if (!widths) return;
        const QList<QPointF> advances = sized.advancesForGlyphIndexes(glyphs_);
        for (qsizetype i = 0; i < advances.size() && i < 94; ++i) (*widths)[size_t(i)] = qRound(advances[i].x());
    }

private:
    static constexpr int kPrototypeEm = 480;
    QRawFont raw_;
    QList<quint32> glyphs_;
    bool complete_ = false;
};

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
        if (em != 0) {
            chineseMetrics(style, em, &m.chineseHeight, &m.chineseAscent);
            const bool cjk = FontFaces::resolve(style.westernFace).cjk;
            int ascent = 0;
            int descent = 0;
            metricsOf(style.westernFace, style.bold, style.italic, em, &ascent, &descent, &m.widths);
            if (cjk) {
                m.westernHeight = em;
                m.westernAscent = em * 7 / 8;
            } else {
                m.westernHeight = ascent + descent;
                m.westernAscent = ascent;
            }
        }
        cache_.insert(key, m);
        return m;
    }

private:
    void chineseMetrics(const CharStyle& style, int em, int* height, int* ascent) const {
        if (FontFaces::resolve(style.chineseFace).cjk) {
            // The Chinese faces documents are made with have a cell of exactly one em,
            // seven eighths of it above the baseline.
            *height = em;
            *ascent = em * 7 / 8;
            return;
        }
        int descent = 0;
        metricsOf(style.chineseFace, style.bold, style.italic, em, ascent, &descent, nullptr);
        *height = *ascent + descent;
    }

    void metricsOf(const QByteArray& face, bool bold, bool italic, int em, int* ascent, int* descent,
                   std::array<int, 94>* widths) const {
        QByteArray key = face;
        key.append(bold ? 'B' : 'b').append(italic ? 'I' : 'i');
        auto it = faces_.find(key);
        if (it == faces_.end())
            it = faces_.emplace(key, std::make_shared<FaceSizes>(face, bold, italic));
        if ((*it)->complete()) {
            (*it)->measure(em, ascent, descent, widths);
            return;
        }
        const QFontMetrics fm(FontFaces::font(face, em, bold, italic));
        *ascent = fm.ascent();
        *descent = fm.descent();
        if (!widths) return;
        for (int c = 33; c <= 126; ++c)
            (*widths)[size_t(c - 33)] = fm.horizontalAdvance(QChar(c));
    }

    mutable QHash<QByteArray, StyleMetrics> cache_;
    mutable QHash<QByteArray, std::shared_ptr<FaceSizes>> faces_;
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
