#include <gtest/gtest.h>
#include <zlib.h>

#include <QXmlStreamReader>

#include <random>
#include <vector>

#include "Bytes.h"
#include "core/codecs/ZipEntryStream.h"
#include "core/codecs/ZipExtract.h"

using namespace pemo;
using pemo::test::Bytes;

namespace {

QByteArray rawDeflate(const QByteArray& data) {
    z_stream zs{};
    deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&zs, uLong(data.size()))), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    deflate(&zs, Z_FINISH);
    out.truncate(qsizetype(zs.total_out));
    deflateEnd(&zs);
    return out;
}

uint32_t crcOf(const QByteArray& data) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
}

struct ZipEntry {
    QByteArray name = "body.tmp";
    QByteArray content;
    uint16_t method = 0;  // 0 stored, 8 deflate
    uint16_t flags = 0;   // bit 0 encrypted, bit 3 sizes in a trailing descriptor
    int64_t crcOverride = -1;
    int64_t sizeOverride = -1;  // the declared uncompressed size
};

// A ZIP archive laid out by hand: local headers with their data, the central
// directory, then the end record.
QByteArray zipOf(const std::vector<ZipEntry>& entries) {
    Bytes body, central;
    for (const auto& e : entries) {
        const QByteArray data = e.method == 8 ? rawDeflate(e.content) : e.content;
        const uint32_t crc = e.crcOverride >= 0 ? uint32_t(e.crcOverride) : crcOf(e.content);
        const uint32_t size =
            e.sizeOverride >= 0 ? uint32_t(e.sizeOverride) : uint32_t(e.content.size());
        const auto offset = uint32_t(body.data().size());
        const bool descriptor = e.flags & 8;
        body.i32(0x04034b50).u16(20).u16(e.flags).u16(e.method).u16(0).u16(0x21);
        body.i32(descriptor ? 0 : int32_t(crc)).i32(descriptor ? 0 : int32_t(data.size()));
        body.i32(descriptor ? 0 : int32_t(size));
        body.u16(uint16_t(e.name.size())).u16(0).raw(e.name).raw(data);
        if (descriptor)
            body.i32(0x08074b50).i32(int32_t(crc)).i32(int32_t(data.size())).i32(int32_t(size));
        central.i32(0x02014b50).u16(20).u16(20).u16(e.flags).u16(e.method).u16(0).u16(0x21);
        central.i32(int32_t(crc)).i32(int32_t(data.size())).i32(int32_t(size));
        central.u16(uint16_t(e.name.size()))
            .u16(0)
            .u16(0)
            .u16(0)
            .u16(0)
            .i32(0)
            .i32(int32_t(offset));
        central.raw(e.name);
    }
    const auto count = uint16_t(entries.size());
    Bytes end;
    end.i32(0x06054b50).u16(0).u16(0).u16(count).u16(count);
    end.i32(int32_t(central.data().size())).i32(int32_t(body.data().size())).u16(0);
    return body.data() + central.data() + end.data();
}

QByteArray sampleText() {
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text += "QRWNPEMF " + QByteArray::number(i);
    return text;
}

constexpr qsizetype kNoLimit = qsizetype(1) << 30;

}  // namespace

TEST(ZipExtract, ReturnsTheFirstEntry) {
    const QByteArray text = sampleText();
    struct Case {
        const char* name;
        std::vector<ZipEntry> entries;
        QByteArray expected;
    };
    const Case cases[] = {
        {"stored", {{.content = "plain bytes"}}, "plain bytes"},
        {"deflated", {{.content = text, .method = 8}}, text},
        {"sizes in a data descriptor", {{.content = text, .method = 8, .flags = 8}}, text},
        {"two entries", {{.content = "first"}, {.name = "other", .content = "second"}}, "first"},
        {"empty entry", {{.content = QByteArray()}}, QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto entry = ZipExtract::firstEntry(zipOf(c.entries), kNoLimit);
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(*entry, c.expected);
    }
}

TEST(ZipExtract, LimitsTheEntrySize) {
    const QByteArray zip = zipOf({{.content = "12345", .method = 8}});
    EXPECT_EQ(ZipExtract::firstEntry(zip, 5), QByteArray("12345"));
    EXPECT_EQ(ZipExtract::firstEntry(zip, 4), std::nullopt);
    EXPECT_EQ(ZipExtract::firstEntry(zip, -1), std::nullopt);
}

TEST(ZipExtract, RefusesDamagedArchives) {
    const QByteArray text = sampleText();
    const QByteArray good = zipOf({{.content = text, .method = 8}});
    QByteArray badLocal = good;
    badLocal[0] = 'X';
    QByteArray badDeflate = good;
    badDeflate[40] = char(badDeflate[40] ^ 0x55);
    badDeflate[41] = char(badDeflate[41] ^ 0x55);
    struct Case {
        const char* name;
        QByteArray zip;
    };
    const Case cases[] = {
        {"empty input", QByteArray()},
        {"not a ZIP archive", text},
        {"no entries", zipOf({})},
        {"end record cut short", good.chopped(4)},
        {"local header signature", badLocal},
        {"deflate data damaged", badDeflate},
        {"encrypted", zipOf({{.content = "secret", .flags = 1}})},
        {"unknown method", zipOf({{.content = "x", .method = 12}})},
        {"CRC-32 wrong", zipOf({{.content = "plain", .crcOverride = 1}})},
        {"declares more than it holds",
         zipOf({{.content = text, .method = 8, .sizeOverride = text.size() + 1}})},
        {"declares less than it holds",
         zipOf({{.content = text, .method = 8, .sizeOverride = text.size() - 1}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ZipExtract::firstEntry(c.zip, kNoLimit), std::nullopt);
    }
}

TEST(ZipExtract, SurvivesTruncationAndCorruption) {
    const QByteArray good =
        zipOf({{.content = sampleText(), .method = 8}, {.name = "b", .content = "x"}});
    // The last two bytes are the comment length, which readers may do without.
    for (qsizetype n = 0; n < good.size() - 2; n += 3) {
        EXPECT_EQ(ZipExtract::firstEntry(good.left(n), kNoLimit), std::nullopt) << n;
    }
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        QByteArray damaged = good;
        damaged[qsizetype(random() % uint32_t(damaged.size()))] = char(random());
        (void)ZipExtract::firstEntry(damaged, 1 << 20);
    }
}

TEST(ZipExtract, RefusesEntriesThatInflateFarBeyondTheirSize) {
    const QByteArray spaces(3 * 1024 * 1024, ' ');  // deflates about a thousand times
    const QByteArray small(512 * 1024, ' ');         // as well, but under the ratio floor
    QByteArray text(2 * 1024 * 1024, ' ');            // hardly deflates at all
    std::mt19937 random(7);
    for (char& c : text) c = char('a' + random() % 26);
    const struct {
        const char* name;
        QByteArray content;
        int maxRatio;
        bool read;
    } cases[] = {
        {"bomb", spaces, 100, false},
        {"bomb, any ratio allowed", spaces, 0, true},
        {"small entry", small, 100, true},
        {"ordinary text", text, 2, true},
        {"ordinary text, every ratio refused", text, 1, false},
    };
    for (const auto& c : cases) {
        ZipEntry e;
        e.content = c.content;
        e.method = 8;
        const auto entry = ZipExtract::entry(zipOf({e}), e.name, kNoLimit, c.maxRatio);
        EXPECT_EQ(entry.has_value(), c.read) << c.name;
        if (entry) {
            EXPECT_EQ(*entry, c.content) << c.name;
        }
    }
}

// Readers such as QXmlStreamReader ask the device for nothing now and then; that is not
// the entry's end, and a long entry streams through whole with its CRC checked.
TEST(ZipEntryStream, AReadOfNothingIsNotTheEnd) {
    QByteArray xml = "<?xml version=\"1.0\"?><rows>";
    for (int i = 0; i < 3000; ++i) xml += "<row r=\"" + QByteArray::number(i) + "\">一箱二十四个装</row>";
    xml += "</rows>";
    const QByteArray archive = zipOf({{.name = "sheet.xml", .content = xml, .method = 8}});
    const QByteArray name("sheet.xml");
    ZipEntryStream stream(archive, &name, {kNoLimit, 100});
    ASSERT_TRUE(stream.isOpen());
    char none[1];
    EXPECT_EQ(stream.read(none, 0), 0);
    QXmlStreamReader reader(&stream);
    int rows = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("row")) ++rows;
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(rows, 3000);
}
