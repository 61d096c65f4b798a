#pragma once

#include <QByteArray>

#include "CellTable.h"

namespace pemo {

// Delimited text files (RFC 4180): fields split by one separator character; a field in
// double quotes may hold the separator, line breaks and doubled quotes; lines end with
// CR LF, LF or a lone CR, the last one perhaps with none. A line without quotes splits
// at every separator, empty fields included.
//
// The bytes may be GBK, UTF-8 with or without a byte-order mark, or UTF-16 with one;
// everything comes out as GBK.
class DelimitedText {
public:
    enum class Encoding { Gbk, Utf8, Utf16Le, Utf16Be };

    // Parses a whole file. Throws FormatError when a character cannot be held by GBK
    // (the message names its row and column).
    static CellTable parse(const QByteArray& bytes, char separator);

    // The encoding the bytes announce or, without a byte-order mark, UTF-8 when they
    // are valid UTF-8 with at least one byte above 0x7F, else GBK.
    static Encoding detect(const QByteArray& bytes);

    // Splits text whose separators, quotes and line ends are single ASCII bytes (GBK
    // and UTF-8 both qualify) into rows of fields, bytes kept as they are. Throws
    // FormatError for more than 20 million fields.
    static CellTable split(const char* data, qsizetype size, char separator);
};

}  // namespace pemo
