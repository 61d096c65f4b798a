#include <gtest/gtest.h>
#include <zlib.h>

#include <QBuffer>
#include <random>

#include "core/codecs/GunzipDevice.h"
#include "core/codecs/Gzip.h"
#include "core/codecs/GzipDevice.h"

using namespace pemo;

namespace {

// Half noise, half repeated text: both stored and matched blocks.
QByteArray content(qsizetype n) {
    std::mt19937 random(7);
    QByteArray out;
    while (out.size() < n) {
        if (out.size() % 3 == 0) {
            out += "price 12.50 yuan, product ";
        } else {
            for (int i = 0; i < 97; ++i) out += char(random());
        }
    }
    out.truncate(n);
    return out;
}

// The raw deflate data zlib makes of the whole content in one call.
QByteArray deflatedAtOnce(const QByteArray& data) {
    z_stream zs{};
    deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&zs, uLong(data.size()))), Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.truncate(qsizetype(zs.total_out));
    deflateEnd(&zs);
    return out;
}

QByteArray gzippedInSlices(const QByteArray& data, qsizetype slice) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    GzipDevice gzip(buffer);
    EXPECT_TRUE(gzip.isReady());
    for (qsizetype at = 0; at < data.size(); at += slice) {
        const QByteArray part = data.mid(at, slice);
        EXPECT_EQ(gzip.write(part), part.size());
    }
    EXPECT_TRUE(gzip.finish());
    EXPECT_EQ(gzip.contentSize(), data.size());
    EXPECT_EQ(gzip.packedSize(), out.size());
    return out;
}

}  // namespace

// A document saved again unchanged must be the same bytes, however its body reached the
// compressor: the member never depends on how the content was cut into writes.
TEST(GzipDevice, MemberIsTheSameHoweverTheContentIsCut) {
    const QByteArray data = content(3 * 1024 * 1024 + 17);
    const QByteArray expected = deflatedAtOnce(data);
    for (const qsizetype slice : {qsizetype(1) << 30, qsizetype(65536 + 3), qsizetype(4096), qsizetype(31)}) {
        const QByteArray member = gzippedInSlices(data, slice);
        ASSERT_GT(member.size(), 18) << slice;
        EXPECT_EQ(member.left(10), QByteArray::fromHex("1f8b080000000000000b")) << slice;
        EXPECT_TRUE(member.mid(10, member.size() - 18) == expected) << "slices of " << slice;
        EXPECT_EQ(member, gzipCompress(data)) << slice;
    }
}

TEST(GzipDevice, EmptyContentIsAValidMember) {
    const QByteArray member = gzippedInSlices(QByteArray(), 1);
    EXPECT_EQ(gunzipExactly(member, 0), QByteArray());
}

// What the reader asks for at a time never changes what comes out.
TEST(GunzipDevice, InflatesInAnySlices) {
    const QByteArray data = content(700 * 1024 + 5);
    const QByteArray member = gzipCompress(data);
    for (const qint64 slice : {qint64(1), qint64(1000), qint64(65536), qint64(10 << 20)}) {
        QBuffer source;
        source.setData(member + "trailing bytes of the file");
        source.open(QIODevice::ReadOnly);
        GunzipDevice gunzip(source, member.size());
        QByteArray out;
        while (out.size() < data.size()) {
            const QByteArray part = gunzip.read(std::min<qint64>(slice, data.size() - out.size()));
            ASSERT_FALSE(part.isEmpty()) << slice;
            out += part;
        }
        EXPECT_TRUE(out == data) << slice;
        EXPECT_TRUE(gunzip.finishExactly(data.size())) << slice;
        // Never a byte past the member's packed size.
        EXPECT_EQ(source.pos(), member.size()) << slice;
    }
}

TEST(GunzipDevice, EndIsCheckedAgainstTheExpectedSize) {
    const QByteArray data = content(200000);
    const QByteArray member = gzipCompress(data);
    QByteArray badCrc = member;
    badCrc[badCrc.size() - 6] = char(badCrc[badCrc.size() - 6] ^ 0x55);
    struct Case {
        const char* name;
        QByteArray packed;
        qint64 packedSize;
        qint64 expected;
        bool ok;
    };
    const Case cases[] = {
        {"exact", member, member.size(), data.size(), true},
        {"more than expected", member, member.size(), data.size() - 1, false},
        {"less than expected", member, member.size(), data.size() + 1, false},
        {"member cut short", member, member.size() - 9, data.size(), false},
        {"damaged CRC-32", badCrc, badCrc.size(), data.size(), false},
        {"not gzip", QByteArray(5000, 'x'), 5000, data.size(), false},
    };
    for (const Case& c : cases) {
        QBuffer source;
        source.setData(c.packed);
        source.open(QIODevice::ReadOnly);
        GunzipDevice gunzip(source, c.packedSize);
        gunzip.read(1000);
        EXPECT_EQ(gunzip.finishExactly(c.expected), c.ok) << c.name;
    }
}
