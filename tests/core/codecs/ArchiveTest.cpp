#include <gtest/gtest.h>

#include "Bytes.h"
#include "core/codecs/Archive.h"

using namespace pemo;
using pemo::test::Bytes;

TEST(Archive, IntegersAreLittleEndian) {
    ArchiveWriter w;
    w.writeInt32(-2);
    w.writeUInt16(0x0320);
    w.writeUInt32(0x00332211);
    EXPECT_EQ(w.data(), QByteArray::fromHex("feffffff" "2003" "11223300"));
    ArchiveReader r(w.data());
    EXPECT_EQ(r.readInt32(), -2);
    EXPECT_EQ(r.readUInt16(), 0x0320);
    EXPECT_EQ(r.readUInt32(), 0x00332211u);
    EXPECT_TRUE(r.atEnd());
}

TEST(Archive, TextPrefixesByLength) {
    struct Case {
        qsizetype length;
        QByteArray prefix;
    };
    const Case cases[] = {
        {0, QByteArray::fromHex("00")},
        {254, QByteArray::fromHex("fe")},
        {255, QByteArray::fromHex("ffff00")},
        {65533, QByteArray::fromHex("fffdff")},
        {65534, QByteArray::fromHex("ffffff" "feff0000")},
        {70000, QByteArray::fromHex("ffffff" "70110100")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const QByteArray text(c.length, 'x');
        ArchiveWriter w;
        w.writeText(text);
        EXPECT_EQ(w.data().left(c.prefix.size()), c.prefix);
        EXPECT_EQ(w.size(), c.prefix.size() + c.length);
        ArchiveReader r(w.data());
        EXPECT_EQ(r.readText(), text);
        EXPECT_TRUE(r.atEnd());
    }
}

TEST(Archive, Utf16TextIsConvertedToGbk) {
    // 0xFF 0xFFFE marks Unicode; then a one-byte count of UTF-16LE code units.
    QByteArray stream = QByteArray::fromHex("fffeff" "03");
    const QString text = QString::fromUtf8("价a格");
    for (QChar ch : text) {
        stream.append(char(ch.unicode() & 0xFF));
        stream.append(char(ch.unicode() >> 8));
    }
    stream.append('!');
    ArchiveReader r(stream);
    EXPECT_EQ(r.readText(), test::gbk("价a格"));
    EXPECT_EQ(r.readByte(), '!');

    // The long form of the second prefix.
    QByteArray longForm = QByteArray::fromHex("fffeff" "ff0100");
    longForm.append(QByteArray::fromHex("4100"));
    ArchiveReader r2(longForm);
    EXPECT_EQ(r2.readText(), QByteArray("A"));
}

TEST(Archive, ReadsPastTheEndAreRefused) {
    const QByteArray cases[] = {
        QByteArray::fromHex("0102"),            // int32 from two bytes
        QByteArray::fromHex("05616263"),        // text of 5 from three bytes
        QByteArray::fromHex("ffffffffffff7f"),  // 7-byte prefix naming 2 GiB
        QByteArray::fromHex("fffeff" "04" "4100"),  // UTF-16 of 4 units, 1 present
        QByteArray::fromHex("fffeff" "fffeff"),     // the Unicode marker twice
    };
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        ArchiveReader r(bytes);
        if (bytes.size() == 2) {
            EXPECT_THROW(r.readInt32(), FormatError);
        } else {
            EXPECT_THROW(r.readText(), FormatError);
        }
    }
}

TEST(Archive, CountsAreCheckedAgainstBytesLeft) {
    ArchiveReader negative(Bytes().i32(-1));
    EXPECT_THROW(negative.readCount(), FormatError);
    ArchiveReader tooMany(Bytes().i32(3).i32(0).i32(0));
    EXPECT_THROW(tooMany.readCount(4), FormatError);
    ArchiveReader fits(Bytes().i32(2).i32(0).i32(0));
    EXPECT_EQ(fits.readCount(4), 2);
}

TEST(Archive, FormatErrorCarriesTheProgramText) {
    EXPECT_EQ(FormatError().message(), QString::fromUtf8("非法文件"));
}
