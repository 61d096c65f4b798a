#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <stdexcept>

class QIODevice;

#include "core/platform/FileError.h"

namespace pemo {

// The text shown when a stream cannot be read.
inline constexpr const char* kBadFileText = "非法文件";

// Thrown by ArchiveReader (and by the readers built on it) when bytes do not form
// a valid stream. The message is the program's own text to show the user (UTF-8).
class FormatError : public FileError {
public:
    explicit FormatError(const QString& message = QString::fromUtf8(kBadFileText))
        : FileError(message) {}
};

// Writes the sequential archive encoding every stored form uses: little-endian
// integers and texts with a 1-, 3- or 7-byte length prefix.
class ArchiveWriter {
public:
    void writeInt32(int32_t v) { writeUInt32(static_cast<uint32_t>(v)); }
    void writeUInt32(uint32_t v);
    void writeInt16(int16_t v) { writeUInt16(static_cast<uint16_t>(v)); }
    void writeUInt16(uint16_t v);
    void writeByte(uint8_t v) { data_.append(static_cast<char>(v)); }
    void writeText(const QByteArray& gbk);
    void writeBytes(const QByteArray& bytes) { data_.append(bytes); }
    // Reserved int32 fields, written as 0.
    void writeReserved(int count);

    const QByteArray& data() const { return data_; }
    QByteArray take() { return std::move(data_); }
    qsizetype size() const { return data_.size(); }

private:
    QByteArray data_;
};

// Reads the archive encoding from bytes in memory, or from a device a window at a time
// (a large file is never held whole). Every read is checked against the bytes left; a
// read past the end throws FormatError.
class ArchiveReader {
public:
    explicit ArchiveReader(const QByteArray& data) : data_(data), size_(data.size()) {}
    // Reads the next size bytes of device as they are needed; a device that ends sooner
    // or fails makes the read that needs the missing bytes throw FormatError.
    ArchiveReader(QIODevice& device, qsizetype size) : device_(&device), size_(size) {}

    int32_t readInt32() { return static_cast<int32_t>(readUInt32()); }
    uint32_t readUInt32();
    int16_t readInt16() { return static_cast<int16_t>(readUInt16()); }
    uint16_t readUInt16();
    uint8_t readByte();
    // A text in its length-prefixed form; the UTF-16LE form is converted to GBK.
    QByteArray readText();
    QByteArray readBytes(qsizetype count);
    // Passes the next count bytes to out a slice at a time, never holding them all;
    // false as soon as out refuses a slice. Throws FormatError when fewer are left.
    bool copyBytes(qsizetype count, QIODevice& out);
    void skip(qsizetype count);
    void skipReserved(int count) { skip(4 * qsizetype(count)); }

    // Reads an int32 count of items that each take at least minBytesPerItem bytes,
    // and refuses a negative count or one the bytes left cannot hold.
    int32_t readCount(qsizetype minBytesPerItem = 1);

    qsizetype position() const { return base_ + pos_; }
    qsizetype remaining() const { return size_ - base_ - pos_; }
    bool atEnd() const { return remaining() <= 0; }

private:
    // Throws unless count bytes are left, and has them in data_ from pos_ on.
    void require(qsizetype count);
    // Reads count bytes of the device into to; throws FormatError when it gives fewer.
    void readDevice(char* to, qsizetype count);
    uint32_t readPrefixLength(bool* utf16);

    QIODevice* device_ = nullptr;
    // The bytes at hand: all of them in memory, or the device's window, which starts at
    // base_ in the stream.
    QByteArray data_;
    qsizetype base_ = 0;
    qsizetype pos_ = 0;
    qsizetype size_ = 0;
};

}  // namespace pemo
