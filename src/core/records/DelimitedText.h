#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "CellTable.h"

namespace pemo {

// Delimited text files (RFC 4180): fields split by one separator character; a field in
// double quotes may hold the separator, line breaks and doubled quotes; lines end with
// CR LF, LF or a lone CR, the last one perhaps with none. A line without quotes splits
// at every separator, empty fields included. Splitting goes by characters: the second
// byte of a GBK character is never taken for a separator (東 is 96 7C, 7C being "|").
//
// The bytes may be GBK, UTF-8 with or without a byte-order mark, or UTF-16 with or
// without one; everything comes out as GBK.
class DelimitedText {
public:
    enum class Encoding { Gbk, Utf8, Utf16Le, Utf16Be };

    // Parses a whole file in the encoding given, else in the one detect() finds. Throws
    // FormatError when a quote is not closed ("第%d行的引号没有结束"), when UTF-8 text
    // holds bytes that are no UTF-8 (naming their line) or when a character cannot be
    // held by GBK (naming its row and column).
    static CellTable parse(const QByteArray& bytes, char separator,
                           std::optional<Encoding> encoding = std::nullopt);

    // The encoding the bytes announce by a byte-order mark; else UTF-16 when NUL bytes
    // stand mostly at odd (little-endian) or even (big-endian) places, as the ASCII
    // characters of UTF-16 text put them; else UTF-8 when the bytes are UTF-8 but for a
    // few stray ones (or are no GBK at all); else GBK.
    static Encoding detect(const QByteArray& bytes);
    // "GBK", "UTF-8", "UTF-16LE", "UTF-16BE".
    static QString name(Encoding encoding);

    // Splits text whose separators, quotes and line ends are single ASCII bytes into rows
    // of fields, bytes kept as they are. With gbk, a byte from 0x81 followed by a byte
    // from 0x40 (not 0x7F) is one character (UTF-8 needs no such care: all its bytes of
    // a character are 0x80 or above). Throws FormatError for a quote that is not closed
    // or more than 20 million fields.
    static CellTable split(const char* data, qsizetype size, char separator, bool gbk = true);
};

}  // namespace pemo
