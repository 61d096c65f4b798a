#include <gtest/gtest.h>

#include "Bytes.h"
#include "DecoderTestSupport.h"
#include "core/codecs/PcxDecoder.h"

using namespace pemo;
using pemo::test::Bytes;
using pemo::test::pixelsOf;

namespace {

struct PcxHeader {
    uint8_t encoding = 1;
    uint8_t bitsPerPixel = 8;
    uint16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    uint8_t planes = 1;
    uint16_t bytesPerLine = 0;
    QByteArray egaPalette;  // up to 48 bytes
};

QByteArray pcxHeader(const PcxHeader& h) {
    Bytes b;
    b.u8(0x0A).u8(5).u8(h.encoding).u8(h.bitsPerPixel);
    b.u16(h.xMin).u16(h.yMin).u16(h.xMax).u16(h.yMax).u16(72).u16(72);
    QByteArray palette = h.egaPalette;
    palette.resize(48, '\0');
    b.raw(palette).u8(0).u8(h.planes).u16(h.bytesPerLine).u16(1).u16(0).u16(0);
    b.raw(QByteArray(54, '\0'));
    return b;
}

// A 256-colour palette block: the marker, then index i as (i, 255 - i, i / 2).
QByteArray trailingPalette() {
    Bytes b;
    b.u8(0x0C);
    for (int i = 0; i < 256; ++i)
        b.u8(uint8_t(i)).u8(uint8_t(255 - i)).u8(uint8_t(i / 2));
    return b;
}

QRgb paletteColour(int i) {
    return qRgb(i, 255 - i, i / 2);
}

// EGA header palette: index i as (16 i, 0, 255 - 16 i).
QByteArray egaPalette() {
    Bytes b;
    for (int i = 0; i < 16; ++i)
        b.u8(uint8_t(16 * i)).u8(0).u8(uint8_t(255 - 16 * i));
    return b;
}

QRgb egaColour(int i) {
    return qRgb(16 * i, 0, 255 - 16 * i);
}

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);

struct PcxCase {
    const char* name;
    QByteArray file;
    int width, height;
    std::vector<QRgb> pixels;
};

std::vector<PcxCase> validCases() {
    std::vector<PcxCase> cases;
    {
        // 3 × 2 in a window starting at (2, 5); lines padded to 4 bytes. Rows hold
        // 1 C8 2 | pad, 2 2 3 | pad: the run of three 2s crosses from the padding of
        // row 0 into row 1, and C8 needs a run of one because it looks like a count.
        PcxHeader h;
        h.xMin = 2, h.yMin = 5, h.xMax = 4, h.yMax = 6, h.bytesPerLine = 4;
        QByteArray f = pcxHeader(h);
        f += Bytes().u8(0x01).u8(0xC1).u8(0xC8).u8(0x02).u8(0xC3).u8(0x02).u8(0x03).u8(0x00).data();
        f += trailingPalette();
        cases.push_back({"8-bit paletted, RLE across rows",
                         f,
                         3,
                         2,
                         {paletteColour(1), paletteColour(0xC8), paletteColour(2), paletteColour(2),
                          paletteColour(2), paletteColour(3)}});
    }
    {
        PcxHeader h;
        h.encoding = 0, h.xMax = 1, h.yMax = 1, h.bytesPerLine = 2;
        QByteArray f = pcxHeader(h) + Bytes().u8(0).u8(0xFF).u8(0x80).u8(0x10).data();
        cases.push_back(
            {"8-bit plain without palette is grey",
             f,
             2,
             2,
             {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(128, 128, 128), qRgb(16, 16, 16)}});
    }
    {
        // Each line is the red plane, then green, then blue, each 2 bytes long.
        PcxHeader h;
        h.xMax = 1, h.yMax = 1, h.planes = 3, h.bytesPerLine = 2;
        QByteArray f = pcxHeader(h);
        f += Bytes().u8(0xC2).u8(0xFF).u8(0xC2).u8(0x00).u8(0x10).u8(0x20).data();  // row 0
        f += Bytes().u8(0x01).u8(0x02).u8(0x03).u8(0x04).u8(0xC2).u8(0xEE).data();  // row 1
        cases.push_back(
            {"24-bit planes",
             f,
             2,
             2,
             {qRgb(255, 0, 0x10), qRgb(255, 0, 0x20), qRgb(1, 3, 0xEE), qRgb(2, 4, 0xEE)}});
    }
    {
        // 10 pixels in 2 bytes: 1011 0010 01.. ; set bits are white.
        PcxHeader h;
        h.bitsPerPixel = 1, h.xMax = 9, h.yMax = 0, h.bytesPerLine = 2;
        QByteArray f = pcxHeader(h) + Bytes().u8(0xB2).u8(0x7F).data();
        cases.push_back(
            {"1-bit monochrome",
             f,
             10,
             1,
             {kWhite, kBlack, kWhite, kWhite, kBlack, kBlack, kWhite, kBlack, kBlack, kWhite}});
    }
    {
        // Indices 5, 10, 15 in row 0 and 0, 1, 8 in row 1; plane p holds bit p.
        // Row 0 planes: bit0 = 1 0 1, bit1 = 0 1 1, bit2 = 1 0 1, bit3 = 0 1 1.
        // Row 1 planes: bit0 = 0 1 0, bit1 = 0, bit2 = 0, bit3 = 0 0 1.
        PcxHeader h;
        h.bitsPerPixel = 1, h.xMax = 2, h.yMax = 1, h.planes = 4, h.bytesPerLine = 1;
        h.egaPalette = egaPalette();
        QByteArray f = pcxHeader(h);
        f += Bytes().u8(0xA0).u8(0x60).u8(0xA0).u8(0x60).data();
        f += Bytes().u8(0x40).u8(0xC2).u8(0x00).u8(0x20).data();
        cases.push_back({"4-plane EGA",
                         f,
                         3,
                         2,
                         {egaColour(5), egaColour(10), egaColour(15), egaColour(0), egaColour(1),
                          egaColour(8)}});
    }
    {
        // A run longer than what is left of the picture is cut at its end.
        PcxHeader h;
        h.xMax = 1, h.yMax = 0, h.bytesPerLine = 2;
        QByteArray f = pcxHeader(h) + Bytes().u8(0xFF).u8(0x07).data() + trailingPalette();
        cases.push_back({"run past the end is cut", f, 2, 1, {paletteColour(7), paletteColour(7)}});
    }
    return cases;
}

}  // namespace

TEST(PcxDecoder, DecodesEachLayout) {
    for (const auto& c : validCases()) {
        SCOPED_TRACE(c.name);
        const QImage image = PcxDecoder::decode(c.file);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(c.width, c.height));
        EXPECT_EQ(pixelsOf(image), c.pixels);
    }
}

TEST(PcxDecoder, RefusesDamagedHeaders) {
    struct Case {
        const char* name;
        PcxHeader header;
        QByteArray data;
    };
    auto header = [](auto change) {
        PcxHeader h;
        h.xMax = 1, h.yMax = 1, h.bytesPerLine = 2;
        change(h);
        return h;
    };
    const QByteArray fourPixels = QByteArray::fromHex("01020304");
    const Case cases[] = {
        {"Xmax before Xmin", header([](PcxHeader& h) { h.xMin = 5, h.xMax = 4; }), fourPixels},
        {"Ymax before Ymin", header([](PcxHeader& h) { h.yMin = 1, h.yMax = 0; }), fourPixels},
        {"wider than 32768", header([](PcxHeader& h) { h.xMax = 40000, h.bytesPerLine = 40000; }),
         fourPixels},
        {"line shorter than the width", header([](PcxHeader& h) { h.bytesPerLine = 1; }),
         fourPixels},
        {"4 bits in 2 planes", header([](PcxHeader& h) { h.bitsPerPixel = 4, h.planes = 2; }),
         fourPixels},
        {"unknown encoding", header([](PcxHeader& h) { h.encoding = 7; }), fourPixels},
        {"pixel data cut short", header([](PcxHeader&) {}), QByteArray::fromHex("010203")},
        {"RLE pair cut after its count", header([](PcxHeader&) {}),
         QByteArray::fromHex("010203c3")},
        {"more than 256 M pixels",
         header([](PcxHeader& h) { h.xMax = 19999, h.yMax = 19999, h.bytesPerLine = 20000; }),
         QByteArray(200, char(0xFF))},
        {"huge picture from a few bytes",
         header([](PcxHeader& h) { h.xMax = 9999, h.yMax = 9999, h.bytesPerLine = 10000; }),
         QByteArray(200, char(0xFF))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(PcxDecoder::decode(pcxHeader(c.header) + c.data).isNull());
    }
    EXPECT_TRUE(PcxDecoder::decode(QByteArray(127, '\x0A')).isNull());
    QByteArray wrongMaker = pcxHeader(header([](PcxHeader&) {})) + fourPixels;
    wrongMaker[0] = 0x0B;
    EXPECT_TRUE(PcxDecoder::decode(wrongMaker).isNull());
}

TEST(PcxDecoder, SurvivesTruncationAndCorruption) {
    for (const auto& c : validCases()) {
        SCOPED_TRACE(c.name);
        // Paletted files keep 769 bytes of palette after the pixels; cutting into
        // those turns the file into a grey one, which may legitimately decode.
        const bool paletted = c.file.size() > 128 + 769 && c.file[c.file.size() - 769] == 0x0C;
        const qsizetype pixelsEnd = paletted ? c.file.size() - 769 : c.file.size();
        pemo::test::expectSurvivesDamage(c.file, pixelsEnd, PcxDecoder::decode);
    }
}
