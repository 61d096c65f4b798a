#include "DelimitedText.h"

#include <QStringDecoder>
#include <cstring>

#include "CellText.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

// Far more cells than any product list holds (20,000 rows × 13 columns is 260,000).
constexpr qsizetype kMaxCells = 20'000'000;

bool startsWith(const QByteArray& bytes, const char* prefix, qsizetype length) {
    return bytes.size() >= length && std::memcmp(bytes.constData(), prefix, size_t(length)) == 0;
}

// Valid UTF-8 with at least one multi-byte sequence; overlong forms and surrogates
// count as invalid, which keeps GBK text from passing for UTF-8.
bool looksLikeUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    bool multiByte = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned min = 0;
        unsigned code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2, min = 0x80, code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, min = 0x800, code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > n) return false;
        for (int k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        multiByte = true;
        i += length;
    }
    return multiByte;
}

// Finds the first field holding a character GBK cannot hold and throws with its place.
[[noreturn]] void refuseUnmappable(const QByteArray& utf8, char separator) {
    const CellTable table = DelimitedText::split(utf8.constData(), utf8.size(), separator);
    CellText cells;
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        for (size_t c = 0; c < row.size(); ++c) {
            cells.utf8ToGbk(row[c].constData(), row[c].size(), int(r) + 1, int(c) + 1);
        }
    }
    // The whole text failed although each field passed: a character split across
    // fields cannot happen, so name the first one the whole text refuses.
    throw FormatError(CellText::badCharacterMessage(
        1, 1, CellText::firstUnmappable(QString::fromUtf8(utf8))));
}

}  // namespace

DelimitedText::Encoding DelimitedText::detect(const QByteArray& bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF", 3)) return Encoding::Utf8;
    if (startsWith(bytes, "\xFF\xFE", 2)) return Encoding::Utf16Le;
    if (startsWith(bytes, "\xFE\xFF", 2)) return Encoding::Utf16Be;
    return looksLikeUtf8(bytes) ? Encoding::Utf8 : Encoding::Gbk;
}

CellTable DelimitedText::parse(const QByteArray& bytes, char separator) {
    const Encoding encoding = detect(bytes);
    if (encoding == Encoding::Gbk) return split(bytes.constData(), bytes.size(), separator);

    QString text;
    QByteArray utf8;
    if (encoding == Encoding::Utf8) {
        utf8 = startsWith(bytes, "\xEF\xBB\xBF", 3) ? bytes.mid(3) : bytes;
        text = QString::fromUtf8(utf8);
    } else {
        QStringDecoder decoder(encoding == Encoding::Utf16Le ? QStringConverter::Utf16LE
                                                             : QStringConverter::Utf16BE);
        // A trailing odd byte cannot form a character and is dropped.
        text = decoder.decode(QByteArrayView(bytes).sliced(2, (bytes.size() - 2) & ~qsizetype(1)));
        utf8 = text.toUtf8();
    }
    bool ok = false;
    const QByteArray gbk = Gbk::fromUnicode(text, &ok);
    if (!ok) refuseUnmappable(utf8, separator);
    return split(gbk.constData(), gbk.size(), separator);
}

CellTable DelimitedText::split(const char* data, qsizetype size, char separator) {
    CellTable table;
    std::vector<QByteArray> row;
    size_t lastWidth = 0;
    qsizetype cells = 0;
    qsizetype i = 0;
    auto endRow = [&] {
        lastWidth = row.size();
        if (int(row.size()) > table.columns) table.columns = int(row.size());
        table.rows.push_back(std::move(row));
        row = std::vector<QByteArray>();
        row.reserve(lastWidth);
    };
    while (i < size) {
        // One field, then what ends it: a separator, a line end or the end of the text.
        QByteArray field;
        if (data[i] == '"') {
            ++i;
            qsizetype start = i;
            for (;;) {
                const void* quote = std::memchr(data + i, '"', size_t(size - i));
                if (!quote) {
                    // An unclosed quote runs to the end of the text.
                    field.append(data + start, size - start);
                    i = size;
                    break;
                }
                const qsizetype q = static_cast<const char*>(quote) - data;
                field.append(data + start, q - start);
                if (q + 1 < size && data[q + 1] == '"') {
                    field.append('"');
                    i = start = q + 2;
                    continue;
                }
                i = q + 1;
                break;
            }
        }
        // Bare text, or what stands after a closing quote, is taken as written.
        const qsizetype start = i;
        while (i < size && data[i] != separator && data[i] != '\n' && data[i] != '\r') ++i;
        if (i > start) {
            if (field.isNull()) {
                field = QByteArray(data + start, i - start);
            } else {
                field.append(data + start, i - start);
            }
        }
        row.push_back(std::move(field));
        // Each field costs far more memory than its separator byte; a file of nothing but
        // separators must not take the machine down.
        if (++cells > kMaxCells) throw FormatError(QString::fromUtf8("文件太大，无法导入。"));
        if (i >= size) break;
        const char end = data[i++];
        if (end == separator) {
            // A separator at the very end still closes an empty last field.
            if (i >= size) row.emplace_back();
            continue;
        }
        if (end == '\r' && i < size && data[i] == '\n') ++i;
        endRow();
    }
    if (!row.empty()) endRow();
    return table;
}

}  // namespace pemo
