#include <gtest/gtest.h>

#include <QBuffer>
#include <QIODevice>
#include <algorithm>
#include <cstring>

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

namespace {

// Hands out its bytes at most a few at a time, as a pipe or an inflating device does.
class TrickleDevice : public QIODevice {
public:
    TrickleDevice(QByteArray bytes, qint64 most) : bytes_(std::move(bytes)), most_(most) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n = std::min({maxSize, most_, qint64(bytes_.size()) - at_});
        std::memcpy(data, bytes_.constData() + at_, size_t(n));
        at_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 most_;
    qint64 at_ = 0;
};

}  // namespace

// Reading from a device a window at a time gives what reading the bytes in memory gives,
// across every window boundary, and copyBytes passes large runs on unchanged.
TEST(Archive, DeviceReaderMatchesTheReaderInMemory) {
    ArchiveWriter w;
    QByteArray big(300 * 1024 + 11, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i) big[i] = char(i * 7 + i / 251);
    for (int i = 0; i < 3000; ++i) {
        w.writeText(QByteArray::number(i) + QByteArray(i % 300, 'a'));
        w.writeInt32(i);
        w.writeUInt16(uint16_t(i));
        w.writeByte(uint8_t(i));
        if (i % 1000 == 500) {
            w.writeInt32(int32_t(big.size()));
            w.writeBytes(big);
        }
    }
    w.writeText("end");
    const QByteArray stream = w.data();
    for (const qint64 most : {qint64(1), qint64(3), qint64(4096), qint64(1) << 20}) {
        TrickleDevice device(stream, most);
        ArchiveReader in(device, stream.size());
        ArchiveReader memory(stream);
        for (int i = 0; i < 3000; ++i) {
            ASSERT_EQ(in.readText(), memory.readText()) << most << " " << i;
            ASSERT_EQ(in.readInt32(), memory.readInt32());
            ASSERT_EQ(in.readUInt16(), memory.readUInt16());
            ASSERT_EQ(in.readByte(), memory.readByte());
            ASSERT_EQ(in.position(), memory.position());
            if (i % 1000 == 500) {
                const int32_t n = in.readInt32();
                ASSERT_EQ(n, memory.readInt32());
                QByteArray copied, copiedFromMemory;
                QBuffer out(&copied), outFromMemory(&copiedFromMemory);
                out.open(QIODevice::WriteOnly);
                outFromMemory.open(QIODevice::WriteOnly);
                ASSERT_TRUE(in.copyBytes(n, out));
                ASSERT_TRUE(memory.copyBytes(n, outFromMemory));
                ASSERT_TRUE(copied == big) << most;
                ASSERT_TRUE(copiedFromMemory == big);
            }
        }
        EXPECT_EQ(in.readText(), "end");
        EXPECT_TRUE(in.atEnd());
        EXPECT_THROW(in.readByte(), FormatError);
    }
}

// A device that ends before the size it was announced with is a damaged file.
TEST(Archive, DeviceThatEndsEarlyIsRefused) {
    ArchiveWriter w;
    w.writeText(QByteArray(100000, 'x'));
    w.writeInt32(5);
    const QByteArray stream = w.data();
    const qsizetype cut = stream.size() - 2;
    {
        TrickleDevice device(stream.left(cut), 4096);
        ArchiveReader in(device, stream.size());
        EXPECT_THROW(
            {
                in.readText();
                in.readInt32();
            },
            FormatError);
    }
    {
        TrickleDevice device(stream.left(70000), 4096);
        ArchiveReader in(device, stream.size());
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        in.skip(5);
        EXPECT_THROW(in.copyBytes(100000, out), FormatError);
    }
}
