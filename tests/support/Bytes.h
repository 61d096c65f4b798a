#pragma once

// Helpers for building expected byte streams by hand in tests.
#include <QByteArray>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/codecs/Gbk.h"

namespace pemo::test {

class Bytes {
public:
    Bytes& i32(int32_t v) {
        for (int i = 0; i < 4; ++i) data_.append(char((uint32_t(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& u16(uint16_t v) {
        data_.append(char(v & 0xFF));
        data_.append(char(v >> 8));
        return *this;
    }
    Bytes& u8(uint8_t v) {
        data_.append(char(v));
        return *this;
    }
    Bytes& raw(const QByteArray& b) {
        data_.append(b);
        return *this;
    }
    Bytes& zeros(int int32Count) {
        data_.append(QByteArray(4 * int32Count, '\0'));
        return *this;
    }
    // A short text (below 255 bytes) with its one-byte prefix; the argument is UTF-8
    // and is stored as GBK.
    Bytes& text(const char* utf8) { return gbkText(Gbk::fromUnicode(QString::fromUtf8(utf8))); }
    Bytes& gbkText(const QByteArray& gbk) {
        u8(uint8_t(gbk.size()));
        return raw(gbk);
    }
    operator QByteArray() const { return data_; }
    const QByteArray& data() const { return data_; }

private:
    QByteArray data_;
};

inline QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

}  // namespace pemo::test
