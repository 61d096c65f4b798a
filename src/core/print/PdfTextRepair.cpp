#include "PdfTextRepair.h"

#include <QFile>
#include <QHash>
#include <QRawFont>
#include <QRegularExpression>
#include <algorithm>
#include <optional>
#include <vector>
#include <zlib.h>

#include "core/codecs/Gbk.h"
#include "core/text/FontCmap.h"
#include "core/text/FontFaces.h"
#include "core/platform/SafeFile.h"

namespace pemo::PdfTextRepair {

namespace {

// Every character GBK holds, in code point order.
struct GbkCharacters {
    std::vector<char32_t> ordered;
    QString typed;  // ordered, as a string
};

const GbkCharacters& gbkCharacters() {
    static const GbkCharacters gbk = [] {
        GbkCharacters out;
        std::vector<bool> member(0x10000, false);
        // Every double-byte code, each followed by a line feed (never a trail byte, so a
        // code GBK does not hold cannot swallow it), decoded in one go.
        QByteArray codes;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F) continue;
                codes.append(char(lead)).append(char(trail)).append('\n');
            }
        }
        const QString decoded = Gbk::toUnicode(codes);
        qsizetype start = 0;
        for (qsizetype end = decoded.indexOf(u'\n'); end >= 0; end = decoded.indexOf(u'\n', start)) {
            const QChar c = decoded[start];
            if (end - start == 1 && c != QChar::ReplacementCharacter) member[c.unicode()] = true;
            start = end + 1;
        }
        for (int c = 0; c < 0x80; ++c) member[size_t(c)] = true;
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (member[c]) {
                out.ordered.push_back(c);
                out.typed += QChar(char16_t(c));
            }
        }
        return out;
    }();
    return gbk;
}

// An installed Chinese face the program draws with, and the lowest GBK character of each
// of its glyphs. Made the first time a character outside GBK asks for it.
struct FaceGlyphs {
    QRawFont raw;
    QHash<quint32, char32_t> owner;
};

const FaceGlyphs& faceGlyphs(const QString& family) {
    static QHash<QString, FaceGlyphs> faces;
    const auto known = faces.constFind(family);
    if (known != faces.constEnd()) return *known;
    FaceGlyphs face;
    const QByteArray name = Gbk::fromUnicode(family);
    if (FontFaces::resolve(name).cjk) face.raw = QRawFont::fromFont(FontFaces::font(name, 100, false, false));
    if (face.raw.isValid()) {
        const GbkCharacters& gbk = gbkCharacters();
        const std::vector<quint32> table = FontCmap::bmpGlyphs(face.raw.fontTable("cmap"), face.raw.fontTable("maxp"));
        const QList<quint32> glyphs = table.empty() ? face.raw.glyphIndexesForString(gbk.typed) : QList<quint32>();
        for (size_t i = 0; i < gbk.ordered.size(); ++i) {
            const quint32 glyph = table.empty() ? (qsizetype(i) < glyphs.size() ? glyphs[qsizetype(i)] : 0)
                                                : table[gbk.ordered[i]];
            if (glyph != 0 && !face.owner.contains(glyph)) face.owner.insert(glyph, gbk.ordered[i]);
        }
    }
    return *faces.insert(family, std::move(face));
}

// Whether GBK holds a character of the basic plane: one character encoded and read back,
// which is far cheaper than the table of all of them for the few a character map names.
bool gbkHolds(char32_t c) {
    if (c < 0x80) return true;
    bool ok = false;
    Gbk::fromUnicode(QString(QChar(char16_t(c))), &ok);
    return ok;
}

// For a character outside GBK that an installed Chinese face draws with the glyph of a GBK
// character of a higher code point, that character (the first such face's); else 0. A
// character GBK holds never needs a face, so text of GBK characters loads none. Nor do the
// radicals that decompose to an ideograph GBK holds, the common case: the Chinese faces
// draw both with one glyph.
char32_t sharedGlyphOf(char32_t c) {
    if (c >= 0x10000 || QChar::isSurrogate(c) || gbkHolds(c)) return 0;
    const bool radical = c >= 0x2E80 && c <= 0x2FDF;
    const QString decomposed = radical ? QChar::decomposition(c) : QString();
    if (decomposed.size() == 1 && decomposed[0].unicode() > c && gbkHolds(decomposed[0].unicode())) {
        return decomposed[0].unicode();
    }
    for (const QString& family : FontFaces::installedTargets()) {
        const FaceGlyphs& face = faceGlyphs(family);
        if (!face.raw.isValid()) continue;
        const QList<quint32> glyph = face.raw.glyphIndexesForString(QString(QChar(char16_t(c))));
        if (glyph.isEmpty() || glyph[0] == 0) continue;
        const auto it = face.owner.constFind(glyph[0]);
        if (it != face.owner.constEnd() && *it > c) return *it;
    }
    return 0;
}

// --- character maps

QByteArray hex4(char32_t unit) { return QByteArray::number(uint(unit), 16).toUpper().rightJustified(4, '0'); }

// The UTF-16 hex string of a character, as a character map writes destinations.
QByteArray utf16Hex(char32_t c) {
    const QString s = QString::fromUcs4(&c, 1);
    QByteArray out;
    for (QChar unit : s) out += hex4(unit.unicode());
    return out;
}

// A destination of one UTF-16 unit, or none.
std::optional<char32_t> singleUnit(const QByteArray& hex) {
    if (hex.size() != 4) return std::nullopt;
    bool ok = false;
    const uint v = hex.toUInt(&ok, 16);
    if (!ok || (v >= 0xD800 && v <= 0xDFFF)) return std::nullopt;
    return char32_t(v);
}

QByteArray repairedDestination(const QByteArray& hex) {
    const auto unit = singleUnit(hex);
    const char32_t ideograph = unit ? ideographFor(*unit) : 0;
    return ideograph ? utf16Hex(ideograph) : hex;
}

// One line of a bfchar or bfrange section.
QByteArray repairedLine(const QByteArray& line, bool range) {
    static const QRegularExpression hexString(QStringLiteral("<([0-9A-Fa-f]*)>"));
    const QString text = QString::fromLatin1(line);
    std::vector<QRegularExpressionMatch> tokens;
    for (auto it = hexString.globalMatch(text); it.hasNext();) tokens.push_back(it.next());
    const size_t destinationsFrom = range ? 2 : 1;
    if (tokens.size() <= destinationsFrom) return line;
    const bool array = line.contains('[');
    if (range && !array) {
        // <lo> <hi> <first>: the destinations count up from first. A range that takes in
        // a form to repair is written out as a list.
        bool okLo = false, okHi = false;
        const uint lo = tokens[0].captured(1).toUInt(&okLo, 16);
        const uint hi = tokens[1].captured(1).toUInt(&okHi, 16);
        const auto first = singleUnit(tokens[2].captured(1).toLatin1());
        if (!okLo || !okHi || hi < lo || hi - lo > 0xFFFF || !first) return line;
        bool needed = false;
        for (uint k = 0; k <= hi - lo && !needed; ++k) needed = ideographFor(*first + k) != 0;
        if (!needed) return line;
        QByteArray out = line.left(tokens[2].capturedStart()) + "[";
        for (uint k = 0; k <= hi - lo; ++k) {
            out += "<" + repairedDestination(hex4(*first + k)) + ">";
            out += k < hi - lo ? " " : "]";
        }
        return out + line.mid(tokens[2].capturedEnd());
    }
    QByteArray out;
    qsizetype copied = 0;
    for (size_t k = destinationsFrom; k < tokens.size(); ++k) {
        const QByteArray hex = tokens[k].captured(1).toLatin1();
        const QByteArray fixed = repairedDestination(hex);
        out += line.mid(copied, tokens[k].capturedStart(1) - copied) + fixed;
        copied = tokens[k].capturedEnd(1);
    }
    return out + line.mid(copied);
}

// --- streams

std::optional<QByteArray> inflated(const QByteArray& data) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return std::nullopt;
    QByteArray out;
    char buffer[16384];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
        if (rc == Z_BUF_ERROR && z.avail_in == 0) break;
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END) return std::nullopt;
    return out;
}

QByteArray deflated(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    if (compress(reinterpret_cast<Bytef*>(out.data()), &size,
                 reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size())) != Z_OK)
        return {};
    out.truncate(qsizetype(size));
    return out;
}

std::optional<qint64> numberAt(const QByteArray& pdf, qsizetype at, qsizetype* after = nullptr,
                               qsizetype* start = nullptr) {
    qsizetype i = at;
    while (i < pdf.size() && (pdf[i] == ' ' || pdf[i] == '\n' || pdf[i] == '\r')) ++i;
    const qsizetype begin = i;
    if (start) *start = begin;
    while (i < pdf.size() && pdf[i] >= '0' && pdf[i] <= '9') ++i;
    if (i == begin || i - begin > 12) return std::nullopt;
    if (after) *after = i;
    return pdf.mid(begin, i - begin).toLongLong();
}

// One change to the PDF's bytes: [start, end) replaced by text.
struct Edit {
    qsizetype start = 0;
    qsizetype end = 0;
    QByteArray text;
};

// The cross-reference table Qt writes: "xref\n0 N\n" and N entries of 20 bytes.
struct XrefTable {
    qsizetype startxref = 0;  // of the keyword
    qint64 at = 0;            // of the table
    qsizetype entries = 0;    // of the first entry
    std::vector<qint64> offsets;
};

std::optional<XrefTable> xrefOf(const QByteArray& pdf) {
    XrefTable x;
    x.startxref = pdf.lastIndexOf("startxref");
    const auto at = x.startxref < 0 ? std::nullopt : numberAt(pdf, x.startxref + 9);
    if (!at || *at >= pdf.size() || !pdf.mid(*at).startsWith("xref\n0 ")) return std::nullopt;
    x.at = *at;
    qsizetype pos = 0;
    const auto count = numberAt(pdf, x.at + 7, &pos);
    if (!count) return std::nullopt;
    x.entries = pdf.indexOf('\n', pos) + 1;
    if (x.entries <= 0 || x.entries + *count * 20 > pdf.size()) return std::nullopt;
    for (qint64 k = 0; k < *count; ++k) {
        const auto o = numberAt(pdf, x.entries + k * 20);
        if (!o || *o >= pdf.size()) return std::nullopt;
        x.offsets.push_back(*o);
    }
    return x;
}

// The edits that repair the character map stream of object number, or none.
std::optional<std::vector<Edit>> streamRepair(const QByteArray& pdf, const XrefTable& x, qint64 number) {
    if (number <= 0 || number >= qint64(x.offsets.size())) return std::nullopt;
    const qsizetype at = x.offsets[size_t(number)];
    const QByteArray head = QByteArray::number(number) + " 0 obj\n";
    if (pdf.mid(at, head.size()) != head) return std::nullopt;
    const qsizetype dictStart = at + head.size();
    const qsizetype streamKey = pdf.indexOf("stream\n", dictStart);
    const qsizetype objectEnd = pdf.indexOf("endobj", dictStart);
    if (streamKey < 0 || (objectEnd >= 0 && objectEnd < streamKey)) return std::nullopt;
    const QByteArray dict = pdf.mid(dictStart, streamKey - dictStart);
    const qsizetype lengthKey = dict.indexOf("/Length");
    if (lengthKey < 0) return std::nullopt;
    qsizetype afterNumber = 0, numberStart = 0;
    const auto lengthValue = numberAt(dict, lengthKey + 7, &afterNumber, &numberStart);
    if (!lengthValue) return std::nullopt;
    // "/Length 12 0 R" names the object that holds the length.
    static const QRegularExpression reference(QStringLiteral("^\\s+0\\s+R"));
    const auto ref = reference.match(QString::fromLatin1(dict.mid(afterNumber, 8)));
    qsizetype lengthStart = dictStart + numberStart, lengthEnd = dictStart + afterNumber;
    qint64 length = *lengthValue;
    if (ref.hasMatch()) {
        if (*lengthValue <= 0 || *lengthValue >= qint64(x.offsets.size())) return std::nullopt;
        const qsizetype lengthAt = x.offsets[size_t(*lengthValue)];
        const QByteArray lengthHead = QByteArray::number(*lengthValue) + " 0 obj";
        if (pdf.mid(lengthAt, lengthHead.size()) != lengthHead) return std::nullopt;
        const auto held = numberAt(pdf, lengthAt + lengthHead.size(), &lengthEnd, &lengthStart);
        if (!held) return std::nullopt;
        length = *held;
    }
    const qsizetype dataStart = streamKey + 7;
    if (length < 0 || dataStart + length > pdf.size()) return std::nullopt;
    const QByteArray data = pdf.mid(dataStart, length);
    const bool deflate = dict.contains("/FlateDecode");
    if (!deflate && dict.contains("/Filter")) return std::nullopt;
    const auto cmap = deflate ? inflated(data) : std::optional<QByteArray>(data);
    if (!cmap) return std::nullopt;
    const QByteArray fixed = repairedCMap(*cmap);
    if (fixed == *cmap) return std::vector<Edit>{};
    const QByteArray newData = deflate ? deflated(fixed) : fixed;
    if (newData.isEmpty()) return std::nullopt;
    std::vector<Edit> edits{{dataStart, dataStart + length, newData}};
    edits.push_back({lengthStart, lengthEnd, QByteArray::number(newData.size())});
    return edits;
}

}  // namespace

char32_t ideographFor(char32_t codePoint) { return sharedGlyphOf(codePoint); }

QByteArray repairedCMap(const QByteArray& cmap) {
    QByteArray out;
    out.reserve(cmap.size());
    enum { Outside, Chars, Ranges } section = Outside;
    for (const QByteArray& line : cmap.split('\n')) {
        const QByteArray word = line.trimmed();
        if (word.endsWith("beginbfchar")) {
            section = Chars;
        } else if (word.endsWith("beginbfrange")) {
            section = Ranges;
        } else if (word == "endbfchar" || word == "endbfrange") {
            section = Outside;
        }
        const bool mapping = section != Outside && word.startsWith('<');
        out += mapping ? repairedLine(line, section == Ranges) : line;
        out += '\n';
    }
    out.chop(1);
    return out;
}

QByteArray repaired(const QByteArray& pdf) {
    const auto x = xrefOf(pdf);
    if (!x) return pdf;
    std::vector<qint64> maps;
    for (qsizetype at = pdf.indexOf("/ToUnicode "); at >= 0; at = pdf.indexOf("/ToUnicode ", at + 1)) {
        qsizetype after = 0;
        const auto n = numberAt(pdf, at + 11, &after);
        if (!n || pdf.mid(after, 4) != " 0 R") return pdf;
        if (std::find(maps.begin(), maps.end(), *n) == maps.end()) maps.push_back(*n);
    }
    std::vector<Edit> edits;
    for (qint64 n : maps) {
        const auto e = streamRepair(pdf, *x, n);
        if (!e) return pdf;
        edits.insert(edits.end(), e->begin(), e->end());
    }
    if (edits.empty()) return pdf;
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.start < b.start; });

    // Every edit before an offset moves it by its change of size.
    const auto moved = [&](qint64 offset) {
        qint64 shift = 0;
        for (const Edit& e : edits) {
            if (e.start >= offset) break;
            shift += e.text.size() - (e.end - e.start);
        }
        return offset + shift;
    };
    QByteArray out;
    out.reserve(pdf.size() + 4096);
    qsizetype copied = 0;
    for (const Edit& e : edits) {
        out += pdf.mid(copied, e.start - copied) + e.text;
        copied = e.end;
    }
    out += pdf.mid(copied, x->entries - copied);
    for (size_t k = 0; k < x->offsets.size(); ++k) {
        const QByteArray entry = pdf.mid(x->entries + qsizetype(k) * 20, 20);
        out += k == 0 ? entry
                      : QByteArray::number(moved(x->offsets[k])).rightJustified(10, '0') + entry.mid(10);
    }
    const qsizetype tableEnd = x->entries + qsizetype(x->offsets.size()) * 20;
    out += pdf.mid(tableEnd, x->startxref - tableEnd);
    out += "startxref\n" + QByteArray::number(moved(x->at)) + "\n%%EOF\n";
    return out;
}

bool repairFile(const QString& path, QString* error) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error) *error = SafeFile::failureText(path, in.errorString());
        return false;
    }
    const QByteArray pdf = in.readAll();
    in.close();
    const QByteArray fixed = repaired(pdf);
    if (fixed == pdf) return true;
    SafeFile out(path);
    if (!out.open() || out.device().write(fixed) != fixed.size() || !out.commit()) {
        if (error) *error = SafeFile::failureText(path, out.errorText());
        return false;
    }
    return true;
}

}  // namespace pemo::PdfTextRepair
