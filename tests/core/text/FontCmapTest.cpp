#include <gtest/gtest.h>

#include <QRawFont>
#include <array>

#include "core/codecs/Gbk.h"
#include "core/text/FontCmap.h"
#include "core/text/FontFaces.h"

using namespace pemo;

namespace {

void put16(QByteArray& b, quint32 v) { b.append(char(v >> 8)).append(char(v)); }
void put32(QByteArray& b, quint32 v) { put16(b, v >> 16); put16(b, v & 0xFFFF); }

struct Segment {
    quint16 start, end, delta;
    std::vector<quint16> glyphs;  // stored glyphs (a range offset), or none (the delta alone)
};

// A format 4 subtable of the given segments, the closing 0xFFFF one added.
QByteArray format4(std::vector<Segment> segments) {
    segments.push_back({0xFFFF, 0xFFFF, 1, {}});
    const quint32 n = quint32(segments.size());
    QByteArray b;
    put16(b, 4);
    put16(b, 0);  // length, unread
    put16(b, 0);
    put16(b, 2 * n);
    put16(b, 0), put16(b, 0), put16(b, 0);
    for (const Segment& s : segments) put16(b, s.end);
    put16(b, 0);
    for (const Segment& s : segments) put16(b, s.start);
    for (const Segment& s : segments) put16(b, s.delta);
    // Stored glyphs follow the range offsets, in segment order.
    quint32 stored = 0;
    for (quint32 i = 0; i < n; ++i) {
        const Segment& s = segments[i];
        put16(b, s.glyphs.empty() ? 0 : 2 * (n - i) + 2 * stored);
        stored += quint32(s.glyphs.size());
    }
    for (const Segment& s : segments)
        for (quint16 g : s.glyphs) put16(b, g);
    return b;
}

QByteArray format12(const std::vector<std::array<quint32, 3>>& groups) {
    QByteArray b;
    put16(b, 12);
    put16(b, 0);
    put32(b, 0), put32(b, 0);
    put32(b, quint32(groups.size()));
    for (const auto& g : groups) put32(b, g[0]), put32(b, g[1]), put32(b, g[2]);
    return b;
}

struct Subtable {
    quint16 platform, encoding;
    QByteArray body;
};

QByteArray cmapOf(const std::vector<Subtable>& subtables) {
    QByteArray b;
    put16(b, 0);
    put16(b, quint16(subtables.size()));
    quint32 offset = 4 + 8 * quint32(subtables.size());
    for (const Subtable& s : subtables) {
        put16(b, s.platform), put16(b, s.encoding), put32(b, offset);
        offset += quint32(s.body.size());
    }
    for (const Subtable& s : subtables) b += s.body;
    return b;
}

QByteArray maxpOf(quint16 glyphCount) {
    QByteArray b;
    put32(b, 0x5000);
    put16(b, glyphCount);
    return b;
}

const QByteArray kLatin = format4({{0x41, 0x43, quint16(-0x40), {}}});              // A B C → 1 2 3
const QByteArray kStored = format4({{0x4E00, 0x4E02, 0, {7, 0, 9}}, {0x61, 0x61, 5, {}}});
const QByteArray kWide = format12({{0x4E00, 0x4E01, 20}, {0x20000, 0x20001, 30}});

}  // namespace

TEST(FontCmap, ReadsTheSubtableTheEngineUses) {
    struct Case {
        const char* what;
        QByteArray cmap;
        quint16 glyphCount;
        std::vector<std::pair<char32_t, quint32>> expected;  // empty: no map read
    };
    const std::vector<Case> cases = {
        {"deltas", cmapOf({{3, 1, kLatin}}), 100, {{0x41, 1}, {0x43, 3}, {0x44, 0}, {0x40, 0}}},
        {"stored glyphs take the delta, a stored 0 stays none", cmapOf({{3, 1, format4({{0x4E00, 0x4E02, 2, {7, 0, 9}}})}}), 100,
         {{0x4E00, 9}, {0x4E01, 0}, {0x4E02, 11}}},
        {"stored glyphs beside a delta segment", cmapOf({{3, 1, kStored}}), 1000, {{0x4E00, 7}, {0x4E02, 9}, {0x61, 0x66}}},
        {"groups, characters past the BMP left out", cmapOf({{3, 1, kLatin}, {3, 10, kWide}}), 100,
         {{0x4E00, 20}, {0x4E01, 21}, {0x41, 0}}},
        {"the last Unicode subtable wins", cmapOf({{3, 10, kWide}, {0, 3, kLatin}, {1, 0, kStored}}), 100,
         {{0x41, 1}, {0x4E00, 0}}},
        {"glyphs the font lacks are none", cmapOf({{3, 1, kLatin}}), 3, {{0x41, 1}, {0x42, 2}, {0x43, 0}}},
        {"a symbol subtable beside it", cmapOf({{3, 0, kLatin}, {3, 1, kLatin}}), 100, {}},
        {"no Unicode subtable", cmapOf({{1, 0, kLatin}}), 100, {}},
        {"another format", cmapOf({{3, 1, QByteArray("\0\6\0\0", 4)}}), 100, {}},
        {"cut short", cmapOf({{3, 1, kStored}}).left(40), 100, {}},
        {"records cut short", cmapOf({{3, 1, kLatin}}).left(9), 100, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<quint32> glyphs = FontCmap::bmpGlyphs(c.cmap, maxpOf(c.glyphCount));
        if (c.expected.empty()) {
            EXPECT_TRUE(glyphs.empty());
            continue;
        }
        ASSERT_EQ(glyphs.size(), 0x10000u);
        for (const auto& [ch, glyph] : c.expected) EXPECT_EQ(glyphs[ch], glyph) << std::hex << uint(ch);
    }
    EXPECT_TRUE(FontCmap::bmpGlyphs(cmapOf({{3, 1, kLatin}}), QByteArray("\0\0", 2)).empty());
}

// The installed faces read through their tables give every character the glyph the
// font engine gives it.
TEST(FontCmap, AgreesWithTheEngineOnTheInstalledFaces) {
    QString every;
    std::vector<char32_t> codes;
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (QChar::isSurrogate(c)) continue;
        every += QChar(char16_t(c));
        codes.push_back(c);
    }
    int read = 0;
    for (const QString& family : FontFaces::installedTargets()) {
        SCOPED_TRACE(family.toStdString());
        const QRawFont raw = QRawFont::fromFont(FontFaces::font(Gbk::fromUnicode(family), 100, false, false));
        if (!raw.isValid()) continue;
        const std::vector<quint32> table = FontCmap::bmpGlyphs(raw.fontTable("cmap"), raw.fontTable("maxp"));
        if (table.empty()) continue;
        ++read;
        const QList<quint32> engine = raw.glyphIndexesForString(every);
        ASSERT_EQ(engine.size(), qsizetype(codes.size()));
        int wrong = 0;
        for (size_t i = 0; i < codes.size(); ++i) {
            if (table[codes[i]] != engine[qsizetype(i)] && ++wrong <= 5)
                ADD_FAILURE() << std::hex << uint(codes[i]) << ": " << table[codes[i]] << " against " << engine[qsizetype(i)];
        }
    }
    EXPECT_GT(read, 0);
}
