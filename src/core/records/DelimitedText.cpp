#include "DelimitedText.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>

#include "CellText.h"
#include "ShortValuePool.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

// Far more cells than any product list holds (20,000 rows × 13 columns is 260,000).
constexpr qsizetype kMaxCells = 20'000'000;
// Where detect() looks for the NUL bytes of UTF-16.
constexpr qsizetype kUtf16Sample = 64 * 1024;

bool startsWith(const QByteArray& bytes, const char* prefix, qsizetype length) {
    return bytes.size() >= length && std::memcmp(bytes.constData(), prefix, size_t(length)) == 0;
}

// The length of the UTF-8 sequence at p[i], 0 when it is none; overlong forms and
// surrogates count as none, which keeps GBK text from passing for UTF-8.
int utf8Length(const unsigned char* p, qsizetype i, qsizetype n) {
    const unsigned char c = p[i];
    if (c < 0x80) return 1;
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
        return 0;
    }
    if (i + length > n) return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[i + k] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (p[i + k] & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

struct Utf8Count {
    qsizetype characterBytes = 0;  // bytes of valid sequences above ASCII
    qsizetype bad = 0;             // bytes that begin no valid sequence
    qsizetype firstBad = -1;
};

Utf8Count countUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    Utf8Count count;
    for (qsizetype i = 0; i < n;) {
        const int length = utf8Length(p, i, n);
        if (length == 0) {
            if (count.firstBad < 0) count.firstBad = i;
            ++count.bad;
            ++i;
            continue;
        }
        if (length > 1) count.characterBytes += length;
        i += length;
    }
    return count;
}

bool isGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

bool isValidGbk(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] < 0x80) continue;
        if (p[i] == 0x80 || p[i] == 0xFF || i + 1 >= n || !isGbkTrail(p[i + 1])) return false;
        ++i;
    }
    return true;
}

// The 1-based line that the byte at position holds: LF, CR LF and a lone CR end lines.
int lineAt(const char* data, qsizetype position) {
    int line = 1;
    for (qsizetype i = 0; i < position; ++i) {
        if (data[i] == '\n' || (data[i] == '\r' && (i + 1 >= position || data[i + 1] != '\n'))) ++line;
    }
    return line;
}

// Finds the first field holding a character GBK cannot hold and throws with its place.
[[noreturn]] void refuseUnmappable(const QByteArray& utf8, char separator) {
    const CellTable table = DelimitedText::split(utf8.constData(), utf8.size(), separator, false);
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

QString DelimitedText::name(Encoding encoding) {
    switch (encoding) {
    case Encoding::Gbk: return QStringLiteral("GBK");
    case Encoding::Utf8: return QStringLiteral("UTF-8");
    case Encoding::Utf16Le: return QStringLiteral("UTF-16LE");
    case Encoding::Utf16Be: return QStringLiteral("UTF-16BE");
    }
    return QString();
}

DelimitedText::Encoding DelimitedText::detect(const QByteArray& bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF", 3)) return Encoding::Utf8;
    if (startsWith(bytes, "\xFF\xFE", 2)) return Encoding::Utf16Le;
    if (startsWith(bytes, "\xFE\xFF", 2)) return Encoding::Utf16Be;

    // GBK and UTF-8 text hold no NUL bytes; the ASCII characters of UTF-16 one each.
    qsizetype even = 0;
    qsizetype odd = 0;
    const qsizetype sample = std::min(bytes.size(), kUtf16Sample);
    for (qsizetype i = 0; i < sample; ++i) {
        if (bytes.at(i) == '\0') ++(i % 2 ? odd : even);
    }
    if (odd > 4 * even) return Encoding::Utf16Le;
    if (even > 4 * odd) return Encoding::Utf16Be;

    const Utf8Count utf8 = countUtf8(bytes);
    if (utf8.characterBytes == 0) return Encoding::Gbk;
    // A stray byte or two in a UTF-8 file must not turn every Chinese value into
    // nonsense; GBK text only now and then forms a valid UTF-8 sequence.
    if (utf8.bad == 0 || utf8.bad * 20 <= utf8.characterBytes || !isValidGbk(bytes)) {
        return Encoding::Utf8;
    }
    return Encoding::Gbk;
}

CellTable DelimitedText::parse(const QByteArray& bytes, char separator,
                               std::optional<Encoding> chosen) {
    const Encoding encoding = chosen ? *chosen : detect(bytes);
    if (encoding == Encoding::Gbk) return split(bytes.constData(), bytes.size(), separator);

    QString text;
    QByteArray utf8;
    if (encoding == Encoding::Utf8) {
        utf8 = startsWith(bytes, "\xEF\xBB\xBF", 3) ? bytes.mid(3) : bytes;
        const Utf8Count count = countUtf8(utf8);
        if (count.bad > 0) {
            throw FormatError(QString::fromUtf8("第%1行有不是UTF-8的字节，文件无法导入。")
                                  .arg(lineAt(utf8.constData(), count.firstBad)));
        }
        text = QString::fromUtf8(utf8);
    } else {
        const bool le = encoding == Encoding::Utf16Le;
        const qsizetype mark =
            startsWith(bytes, le ? "\xFF\xFE" : "\xFE\xFF", 2) ? 2 : 0;
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        // A trailing odd byte cannot form a character and is dropped.
        text = decoder.decode(QByteArrayView(bytes).sliced(mark, (bytes.size() - mark) & ~qsizetype(1)));
        utf8 = text.toUtf8();
    }
    bool ok = false;
    const QByteArray gbk = Gbk::fromUnicode(text, &ok);
    if (!ok) refuseUnmappable(utf8, separator);
    return split(gbk.constData(), gbk.size(), separator);
}

CellTable DelimitedText::split(const char* data, qsizetype size, char separator, bool gbk) {
    CellTable table;
    std::vector<QByteArray> row;
    ShortValuePool shortValues;
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
            const qsizetype opening = i;
            ++i;
            qsizetype start = i;
            for (;;) {
                // A quote byte (0x22) is never the second byte of a GBK character.
                const void* quote = std::memchr(data + i, '"', size_t(size - i));
                if (!quote) {
                    // Taking the rest of the file as one value would hide every row after it.
                    throw FormatError(QString::fromUtf8("第%1行的引号没有结束").arg(lineAt(data, opening)));
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
        while (i < size) {
            const auto c = static_cast<unsigned char>(data[i]);
            if (gbk && c >= 0x81 && c != 0xFF && i + 1 < size &&
                isGbkTrail(static_cast<unsigned char>(data[i + 1]))) {
                i += 2;
                continue;
            }
            if (data[i] == separator || data[i] == '\n' || data[i] == '\r') break;
            ++i;
        }
        if (i > start) {
            if (field.isNull()) {
                field = QByteArray(data + start, i - start);
            } else {
                field.append(data + start, i - start);
            }
        }
        row.push_back(shortValues.share(std::move(field)));
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
