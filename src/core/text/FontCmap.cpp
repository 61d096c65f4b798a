#include "FontCmap.h"

#include <optional>

namespace pemo::FontCmap {

namespace {

constexpr quint32 kBmp = 0x10000;

// Big-endian reads that refuse to run past the end of the table.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    std::optional<quint32> u16(qint64 at) const {
        if (at < 0 || at + 2 > bytes_.size()) return std::nullopt;
        return quint32(byte(at)) << 8 | byte(at + 1);
    }
    std::optional<quint32> u32(qint64 at) const {
        if (at < 0 || at + 4 > bytes_.size()) return std::nullopt;
        return quint32(byte(at)) << 24 | quint32(byte(at + 1)) << 16 | quint32(byte(at + 2)) << 8 | byte(at + 3);
    }

private:
    quint8 byte(qint64 at) const { return quint8(bytes_[qsizetype(at)]); }
    const QByteArray& bytes_;
};

enum class Kind { Other, Unicode, Symbol };

// How the engine files an encoding record: every Unicode platform record, and the
// Windows platform's Unicode (BMP and full repertoire) ones, map Unicode.
Kind kindOf(quint32 platform, quint32 encoding) {
    if (platform == 0) return Kind::Unicode;
    if (platform == 3 && (encoding == 1 || encoding == 10)) return Kind::Unicode;
    if (platform == 3 && encoding == 0) return Kind::Symbol;
    return Kind::Other;
}

// Segments of start, end, delta and range offset; a range offset counts from where it
// is stored.
bool readFormat4(const Reader& r, qint64 at, std::vector<quint32>& glyphs) {
    const auto segX2 = r.u16(at + 6);
    if (!segX2 || *segX2 == 0 || *segX2 % 2) return false;
    const qint64 ends = at + 14;
    const qint64 starts = ends + *segX2 + 2;
    const qint64 deltas = starts + *segX2;
    const qint64 offsets = deltas + *segX2;
    for (quint32 s = 0; s < *segX2; s += 2) {
        const auto end = r.u16(ends + s);
        const auto start = r.u16(starts + s);
        const auto delta = r.u16(deltas + s);
        const auto offset = r.u16(offsets + s);
        if (!end || !start || !delta || !offset) return false;
        if (*start > *end || *offset == 0xFFFF) continue;
        for (quint32 c = *start; c <= *end; ++c) {
            if (glyphs[c] != 0) continue;  // an earlier segment holds it
            quint32 glyph = 0;
            if (*offset == 0) {
                glyph = (c + *delta) & 0xFFFF;
            } else {
                const auto stored = r.u16(offsets + s + *offset + 2 * qint64(c - *start));
                if (!stored) return false;
                glyph = *stored ? (*stored + *delta) & 0xFFFF : 0;
            }
            glyphs[c] = glyph;
        }
    }
    return true;
}

// Groups of consecutive characters with consecutive glyphs.
bool readFormat12(const Reader& r, qint64 at, std::vector<quint32>& glyphs) {
    const auto groups = r.u32(at + 12);
    if (!groups) return false;
    for (quint32 g = 0; g < *groups; ++g) {
        const qint64 group = at + 16 + 12 * qint64(g);
        const auto first = r.u32(group);
        const auto last = r.u32(group + 4);
        const auto glyph = r.u32(group + 8);
        if (!first || !last || !glyph) return false;
        for (quint32 c = *first; c <= *last && c < kBmp; ++c) {
            if (glyphs[c] == 0) glyphs[c] = *glyph + (c - *first);
        }
    }
    return true;
}

}  // namespace

std::vector<quint32> bmpGlyphs(const QByteArray& cmap, const QByteArray& maxp) {
    const Reader r(cmap);
    const auto glyphCount = Reader(maxp).u16(4);
    const auto records = r.u16(2);
    if (!glyphCount || !records) return {};
    std::optional<quint32> chosen;
    for (quint32 i = 0; i < *records; ++i) {
        const auto platform = r.u16(4 + 8 * qint64(i));
        const auto encoding = r.u16(6 + 8 * qint64(i));
        const auto offset = r.u32(8 + 8 * qint64(i));
        if (!platform || !encoding || !offset) return {};
        const Kind kind = kindOf(*platform, *encoding);
        if (kind == Kind::Symbol) return {};
        if (kind == Kind::Unicode) chosen = *offset;
    }
    if (!chosen) return {};
    std::vector<quint32> glyphs(kBmp, 0);
    const auto format = r.u16(*chosen);
    bool read = false;
    if (format == 4u) read = readFormat4(r, *chosen, glyphs);
    if (format == 12u) read = readFormat12(r, *chosen, glyphs);
    if (!read) return {};
    for (quint32& glyph : glyphs) {
        if (glyph >= *glyphCount) glyph = 0;
    }
    return glyphs;
}

}  // namespace pemo::FontCmap
