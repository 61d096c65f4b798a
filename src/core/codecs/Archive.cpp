#include "Archive.h"

#include <QIODevice>
#include <algorithm>

#include "Gbk.h"

namespace pemo {

void ArchiveWriter::writeUInt32(uint32_t v) {
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                           char((v >> 24) & 0xFF)};
    data_.append(bytes, 4);
}

void ArchiveWriter::writeUInt16(uint16_t v) {
    const char bytes[2] = {char(v & 0xFF), char((v >> 8) & 0xFF)};
    data_.append(bytes, 2);
}

void ArchiveWriter::writeText(const QByteArray& gbk) {
    const auto length = static_cast<uint64_t>(gbk.size());
    if (length < 0xFF) {
        writeByte(static_cast<uint8_t>(length));
    } else if (length < 0xFFFE) {
        writeByte(0xFF);
        writeUInt16(static_cast<uint16_t>(length));
    } else {
        writeByte(0xFF);
        writeUInt16(0xFFFF);
        writeUInt32(static_cast<uint32_t>(length));
    }
    data_.append(gbk);
}

void ArchiveWriter::writeReserved(int count) {
    data_.append(QByteArray(4 * qsizetype(count), '\0'));
}

namespace {

// What a device-backed reader reads ahead, and the slice copyBytes passes on at a time.
constexpr qsizetype kWindow = 64 * 1024;
constexpr qsizetype kCopySlice = 256 * 1024;

}  // namespace

void ArchiveReader::require(qsizetype count) {
    if (count < 0 || count > remaining()) throw FormatError();
    if (!device_ || pos_ + count <= data_.size()) return;
    data_.remove(0, pos_);
    base_ += pos_;
    pos_ = 0;
    const qsizetype have = data_.size();
    const qsizetype unread = size_ - base_ - have;
    const qsizetype take = std::min(unread, std::max(count - have, kWindow));
    data_.resize(have + take);
    readDevice(data_.data() + have, take);
}

void ArchiveReader::readDevice(char* to, qsizetype count) {
    while (count > 0) {
        const qint64 got = device_->read(to, count);
        if (got <= 0) throw FormatError();
        to += got;
        count -= got;
    }
}

bool ArchiveReader::copyBytes(qsizetype count, QIODevice& out) {
    if (count < 0 || count > remaining()) throw FormatError();
    const qsizetype atHand = std::min(count, data_.size() - pos_);
    if (atHand > 0 && out.write(data_.constData() + pos_, atHand) != atHand) return false;
    pos_ += atHand;
    count -= atHand;
    if (count == 0) return true;
    // Only a device-backed reader gets here: the rest bypasses the window.
    data_.clear();
    base_ += pos_ + count;
    pos_ = 0;
    QByteArray slice(std::min(count, kCopySlice), Qt::Uninitialized);
    while (count > 0) {
        const qsizetype take = std::min(count, kCopySlice);
        readDevice(slice.data(), take);
        if (out.write(slice.constData(), take) != take) return false;
        count -= take;
    }
    return true;
}

uint32_t ArchiveReader::readUInt32() {
    require(4);
    const auto* p = reinterpret_cast<const unsigned char*>(data_.constData() + pos_);
    pos_ += 4;
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint16_t ArchiveReader::readUInt16() {
    require(2);
    const auto* p = reinterpret_cast<const unsigned char*>(data_.constData() + pos_);
    pos_ += 2;
    return uint16_t(p[0] | (p[1] << 8));
}

uint8_t ArchiveReader::readByte() {
    require(1);
    return static_cast<uint8_t>(data_[pos_++]);
}

uint32_t ArchiveReader::readPrefixLength(bool* utf16) {
    const uint8_t first = readByte();
    if (first < 0xFF) return first;
    const uint16_t second = readUInt16();
    if (second == 0xFFFE) {
        // Marker of a Unicode text: another prefix of the same kind follows.
        if (*utf16) throw FormatError();
        *utf16 = true;
        return readPrefixLength(utf16);
    }
    if (second < 0xFFFF) return second;
    return readUInt32();
}

QByteArray ArchiveReader::readText() {
    bool utf16 = false;
    const uint64_t units = readPrefixLength(&utf16);
    if (utf16) {
        const uint64_t bytes = units * 2;
        if (bytes > uint64_t(remaining())) throw FormatError();
        return Gbk::fromUtf16Le(readBytes(qsizetype(bytes)));
    }
    if (units > uint64_t(remaining())) throw FormatError();
    return readBytes(qsizetype(units));
}

QByteArray ArchiveReader::readBytes(qsizetype count) {
    require(count);
    QByteArray out = pos_ == 0 && count == data_.size() ? data_ : data_.mid(pos_, count);
    pos_ += count;
    return out;
}

void ArchiveReader::skip(qsizetype count) {
    require(count);
    pos_ += count;
}

int32_t ArchiveReader::readCount(qsizetype minBytesPerItem) {
    const int32_t n = readInt32();
    if (n < 0) throw FormatError();
    if (minBytesPerItem > 0 && qsizetype(n) > remaining() / minBytesPerItem) throw FormatError();
    return n;
}

}  // namespace pemo
