#include <gtest/gtest.h>

#include "Bytes.h"
#include "DecoderTestSupport.h"
#include "core/codecs/TgaDecoder.h"

using namespace pemo;
using pemo::test::Bytes;
using pemo::test::pixelsOf;

namespace {

struct TgaHeader {
    QByteArray id;
    uint8_t mapType = 0;
    uint8_t imageType = 2;
    uint16_t mapFirst = 0, mapLength = 0;
    uint8_t mapDepth = 0;
    uint16_t width = 0, height = 0;
    uint8_t depth = 24;
    uint8_t descriptor = 0;
};

QByteArray tgaHeader(const TgaHeader& h) {
    Bytes b;
    b.u8(uint8_t(h.id.size())).u8(h.mapType).u8(h.imageType);
    b.u16(h.mapFirst).u16(h.mapLength).u8(h.mapDepth);
    b.u16(0).u16(0).u16(h.width).u16(h.height).u8(h.depth).u8(h.descriptor);
    return b.raw(h.id);
}

TgaHeader header(uint8_t type, uint16_t width, uint16_t height, uint8_t depth,
                 uint8_t descriptor = 0) {
    TgaHeader h;
    h.imageType = type, h.width = width, h.height = height, h.depth = depth;
    h.descriptor = descriptor;
    return h;
}

// Pixels as stored: blue, green, red (and alpha).
Bytes& bgr(Bytes& b, QRgb c) {
    return b.u8(uint8_t(qBlue(c))).u8(uint8_t(qGreen(c))).u8(uint8_t(qRed(c)));
}
Bytes& bgra(Bytes& b, QRgb c) {
    return bgr(b, c).u8(uint8_t(qAlpha(c)));
}

const QRgb A = qRgb(10, 20, 30), B = qRgb(40, 50, 60), C = qRgb(70, 80, 90), D = qRgb(1, 2, 3);
const QRgb E = qRgb(200, 100, 0), F = qRgb(0, 100, 200);

struct TgaCase {
    const char* name;
    QByteArray file;
    int width, height;
    std::vector<QRgb> pixels;  // top row first
    bool alpha = false;
};

std::vector<TgaCase> validCases() {
    std::vector<TgaCase> cases;
    {
        // Stored rows A B, C D; bottom-up by default, so C D is the top row.
        TgaHeader h = header(2, 2, 2, 24);
        h.id = "ident";
        Bytes b;
        for (QRgb c : {A, B, C, D})
            bgr(b, c);
        cases.push_back(
            {"true colour 24, bottom-up, ID skipped", tgaHeader(h) + b.data(), 2, 2, {C, D, A, B}});
    }
    {
        Bytes b;
        for (QRgb c : {A, B, C, D})
            bgr(b, c);
        cases.push_back({"true colour 24, top-down",
                         tgaHeader(header(2, 2, 2, 24, 0x20)) + b.data(),
                         2,
                         2,
                         {A, B, C, D}});
    }
    {
        // Eight alpha bits, right to left and bottom-up: stored A B / C D lands as D C / B A.
        const QRgb a = qRgba(10, 20, 30, 0), b2 = qRgba(40, 50, 60, 128);
        const QRgb c = qRgba(70, 80, 90, 255), d = qRgba(1, 2, 3, 7);
        Bytes b;
        for (QRgb p : {a, b2, c, d})
            bgra(b, p);
        cases.push_back({"true colour 32 with alpha, right to left",
                         tgaHeader(header(2, 2, 2, 32, 0x18)) + b.data(),
                         2,
                         2,
                         {d, c, b2, a},
                         true});
    }
    {
        // 5 bits per channel, top bit unused when no alpha bit is declared.
        Bytes b;
        b.u16(0x7C00).u16(0x03E0).u16(0x001F).u16(0xFFFF).u16(0x4210);
        cases.push_back({"true colour 16",
                         tgaHeader(header(2, 5, 1, 16, 0x20)) + b.data(),
                         5,
                         1,
                         {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255),
                          qRgb(132, 132, 132)}});
    }
    {
        // One declared alpha bit: the top bit of each pixel is its opacity.
        Bytes b;
        b.u16(0x7C00).u16(0x8000 | 0x001F);
        cases.push_back({"true colour 16 with alpha bit",
                         tgaHeader(header(2, 2, 1, 16, 0x21)) + b.data(),
                         2,
                         1,
                         {qRgba(255, 0, 0, 0), qRgba(0, 0, 255, 255)},
                         true});
    }
    {
        // The map starts at index 3: stored index 3 is the first entry.
        TgaHeader h = header(1, 3, 1, 8, 0x20);
        h.mapType = 1, h.mapFirst = 3, h.mapLength = 3, h.mapDepth = 24;
        Bytes b;
        for (QRgb c : {A, B, C})
            bgr(b, c);
        b.u8(5).u8(3).u8(4);
        cases.push_back({"colour-mapped, 24-bit map", tgaHeader(h) + b.data(), 3, 1, {C, A, B}});
    }
    {
        // An index outside the map is black rather than a failed picture.
        TgaHeader h = header(1, 2, 1, 8, 0x20);
        h.mapType = 1, h.mapLength = 1, h.mapDepth = 32;
        Bytes b;
        bgra(b, qRgba(1, 2, 3, 255)).u8(0).u8(9);
        cases.push_back({"colour-mapped, 32-bit map, stray index",
                         tgaHeader(h) + b.data(),
                         2,
                         1,
                         {qRgb(1, 2, 3), qRgb(0, 0, 0)},
                         true});
    }
    {
        Bytes b;
        b.u8(0).u8(128).u8(255).u8(7);
        cases.push_back({"greyscale 8",
                         tgaHeader(header(3, 2, 2, 8)) + b.data(),
                         2,
                         2,
                         {qRgb(255, 255, 255), qRgb(7, 7, 7), qRgb(0, 0, 0), qRgb(128, 128, 128)}});
    }
    {
        Bytes b;
        b.u8(100).u8(50).u8(200).u8(255);
        cases.push_back({"greyscale 16 is grey and alpha",
                         tgaHeader(header(3, 2, 1, 16, 0x28)) + b.data(),
                         2,
                         1,
                         {qRgba(100, 100, 100, 50), qRgba(200, 200, 200, 255)},
                         true});
    }
    {
        // 3 × 2 bottom-up. A run of four As crosses from stored row 0 into row 1,
        // then a raw packet of E F.
        Bytes b;
        bgr(b.u8(0x83), A);
        bgr(bgr(b.u8(0x01), E), F);
        cases.push_back({"RLE true colour, run across rows",
                         tgaHeader(header(10, 3, 2, 24)) + b.data(),
                         3,
                         2,
                         {A, E, F, A, A, A}});
    }
    {
        TgaHeader h = header(9, 4, 1, 8, 0x20);
        h.mapType = 1, h.mapLength = 2, h.mapDepth = 24;
        Bytes b;
        bgr(bgr(b, A), B);
        b.u8(0x81).u8(1).u8(0x01).u8(0).u8(1);
        cases.push_back({"RLE colour-mapped", tgaHeader(h) + b.data(), 4, 1, {B, B, A, B}});
    }
    {
        // The last run asks for 8 pixels where 3 are left; it is cut.
        Bytes b;
        b.u8(0x00).u8(9).u8(0x87).u8(200);
        cases.push_back(
            {"RLE greyscale, run past the end cut",
             tgaHeader(header(11, 2, 2, 8, 0x20)) + b.data(),
             2,
             2,
             {qRgb(9, 9, 9), qRgb(200, 200, 200), qRgb(200, 200, 200), qRgb(200, 200, 200)}});
    }
    {
        // 32-bit pixels whose alpha bytes are all zero and no alpha bits are declared
        // come from writers that never filled alpha: shown opaque.
        Bytes b;
        for (QRgb c : {A, B})
            bgra(b, qRgba(qRed(c), qGreen(c), qBlue(c), 0));
        cases.push_back({"32-bit with undeclared empty alpha",
                         tgaHeader(header(2, 2, 1, 32, 0x20)) + b.data(),
                         2,
                         1,
                         {A, B}});
    }
    return cases;
}

}  // namespace

TEST(TgaDecoder, DecodesEachType) {
    for (const auto& c : validCases()) {
        SCOPED_TRACE(c.name);
        const QImage image = TgaDecoder::decode(c.file);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(c.width, c.height));
        EXPECT_EQ(image.hasAlphaChannel(), c.alpha);
        EXPECT_EQ(pixelsOf(image), c.pixels);
    }
}

TEST(TgaDecoder, RefusesDamagedInput) {
    const QByteArray fourGrey = QByteArray::fromHex("01020304");
    TgaHeader longId = header(3, 2, 2, 8);
    longId.id = "x";
    QByteArray idPastEnd = tgaHeader(longId);
    idPastEnd[0] = char(200);
    TgaHeader mapped = header(1, 2, 2, 8);
    mapped.mapType = 1, mapped.mapLength = 200, mapped.mapDepth = 24;
    TgaHeader noMap = header(1, 2, 2, 8);
    TgaHeader mapDepth = mapped;
    mapDepth.mapLength = 1, mapDepth.mapDepth = 12;
    struct Case {
        const char* name;
        QByteArray file;
    };
    const Case cases[] = {
        {"header cut short", tgaHeader(header(2, 1, 1, 24)).left(17)},
        {"unknown image type", tgaHeader(header(4, 2, 2, 8)) + fourGrey},
        {"no image data type", tgaHeader(header(0, 2, 2, 8)) + fourGrey},
        {"zero width", tgaHeader(header(3, 0, 2, 8)) + fourGrey},
        {"wider than 32768", tgaHeader(header(3, 40000, 1, 8)) + QByteArray(40000, '\0')},
        {"more than 256 M pixels", tgaHeader(header(11, 20000, 20000, 8)) + fourGrey},
        {"huge picture from a few bytes", tgaHeader(header(11, 10000, 10000, 8)) + fourGrey},
        {"odd true-colour depth", tgaHeader(header(2, 2, 2, 12)) + fourGrey},
        {"ID past the end", idPastEnd + fourGrey},
        {"colour map past the end", tgaHeader(mapped) + fourGrey},
        {"colour-mapped without a map", tgaHeader(noMap) + fourGrey},
        {"colour map of 12 bits", tgaHeader(mapDepth) + QByteArray::fromHex("0102") + fourGrey},
        {"raw pixels cut short", tgaHeader(header(3, 2, 2, 8)) + fourGrey.left(3)},
        {"RLE raw packet cut short",
         tgaHeader(header(11, 2, 2, 8)) + QByteArray::fromHex("03010203")},
        {"RLE run without its pixel",
         tgaHeader(header(10, 2, 2, 24)) + QByteArray::fromHex("830102")},
        {"RLE data ends early", tgaHeader(header(11, 2, 2, 8)) + QByteArray::fromHex("8201")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(TgaDecoder::decode(c.file).isNull());
    }
}

TEST(TgaDecoder, SurvivesTruncationAndCorruption) {
    for (const auto& c : validCases()) {
        SCOPED_TRACE(c.name);
        pemo::test::expectSurvivesDamage(c.file, c.file.size(), TgaDecoder::decode);
    }
}
