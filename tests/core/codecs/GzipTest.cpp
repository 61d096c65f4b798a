#include <gtest/gtest.h>

#include <random>

#include "Bytes.h"
#include "core/codecs/Gzip.h"

using namespace pemo;

namespace {

// Deflate, no flags, no time, no extra flags, operating system 11.
const QByteArray kHeader = QByteArray::fromHex(
    "1f8b08000000000000"
    "0b");

uint32_t u32At(const QByteArray& b, qsizetype at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | uchar(b[at + i]);
    return v;
}

QByteArray randomBytes(qsizetype n) {
    std::mt19937 random(99);
    QByteArray out(n, Qt::Uninitialized);
    for (auto& c : out)
        c = char(random());
    return out;
}

QByteArray compressed(const QByteArray& data) {
    bool ok = false;
    QByteArray packed = gzipCompress(data, &ok);
    EXPECT_TRUE(ok);
    return packed;
}

}  // namespace

TEST(Gzip, WritesTheFixedHeaderAndTrailer) {
    const QByteArray packed = compressed("123456789");
    ASSERT_GE(packed.size(), 18);
    EXPECT_EQ(packed.left(10), kHeader);
    EXPECT_EQ(u32At(packed, packed.size() - 8), 0xCBF43926u);  // CRC-32 of "123456789"
    EXPECT_EQ(u32At(packed, packed.size() - 4), 9u);
}

TEST(Gzip, RoundTrips) {
    QByteArray repeated;
    for (int i = 0; i < 100000; ++i)
        repeated += "价格 " + QByteArray::number(i % 97);
    const QByteArray cases[] = {QByteArray(), QByteArray("a"), repeated, randomBytes(300000)};
    for (const auto& data : cases) {
        SCOPED_TRACE(data.size());
        const QByteArray packed = compressed(data);
        EXPECT_EQ(packed.left(10), kHeader);
        EXPECT_EQ(u32At(packed, packed.size() - 4), uint32_t(data.size()));
        EXPECT_EQ(gunzipExactly(packed, data.size()), data);
    }
    EXPECT_LT(compressed(repeated).size(), repeated.size() / 4);
}

TEST(Gzip, RefusesWhatDoesNotInflateToTheExpectedSize) {
    const QByteArray data = randomBytes(5000);
    const QByteArray packed = compressed(data);
    QByteArray badCrc = packed;
    badCrc[badCrc.size() - 8] = char(badCrc[badCrc.size() - 8] ^ 1);
    QByteArray badSize = packed;
    badSize[badSize.size() - 4] = char(badSize[badSize.size() - 4] ^ 1);
    QByteArray badMethod = packed;
    badMethod[2] = 7;
    struct Case {
        const char* name;
        QByteArray packed;
        qsizetype expected;
    };
    const Case cases[] = {
        {"one byte fewer expected", packed, data.size() - 1},
        {"one byte more expected", packed, data.size() + 1},
        {"nothing expected", packed, 0},
        {"negative size", packed, -1},
        {"above the limit", packed, kMaxGunzipSize + 1},
        {"header only", packed.left(10), data.size()},
        {"deflate data cut", packed.left(packed.size() / 2), data.size()},
        {"trailer missing", packed.left(packed.size() - 8), data.size()},
        {"last trailer byte missing", packed.chopped(1), data.size()},
        {"CRC-32 wrong", badCrc, data.size()},
        {"size field wrong", badSize, data.size()},
        {"not deflate", badMethod, data.size()},
        {"not gzip", data, data.size()},
        {"empty input", QByteArray(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gunzipExactly(c.packed, c.expected), std::nullopt);
    }
}

TEST(Gzip, ReadsOnlyTheFirstMember) {
    const QByteArray packed = compressed("first") + compressed("second");
    EXPECT_EQ(gunzipExactly(packed, 5), QByteArray("first"));
}
