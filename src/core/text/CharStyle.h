#pragma once

#include <QByteArray>
#include <cstdint>

namespace pemo {

class ArchiveReader;
class ArchiveWriter;

// How a character style is encoded inside a stored content. The document form adds
// seven reserved 16-bit fields; the template (and clipboard) form carries the
// texture's key in the stream's own picture store instead of the document's.
enum class StyleForm { Snapshot, Document, Template };

// The style of one character of a rich text. Face names are GBK bytes, as stored.
struct CharStyle {
    QByteArray chineseFace = defaultChineseFace();
    QByteArray westernFace = QByteArrayLiteral("Arial");
    uint16_t size = 48;  // points
    uint8_t bold = 0;
    uint8_t italic = 0;
    uint8_t underline = 0;
    int32_t textColour = 0;  // 0x00BBGGRR
    int32_t effect = 0;      // art effect 0..41
    int32_t reserved = 0;
    int32_t effectSize = 1;
    int32_t effectColour = 0xC0C0C0;
    int32_t pattern = 1;
    QByteArray textureKey;    // key in the document's picture store (effect 41)
    int16_t charSpacing = 0;  // percent of the character width
    QByteArray localKey;      // key in a template or clipboard stream's picture store

    static QByteArray defaultChineseFace();  // 宋体 in GBK

    // Equality ignores localKey, which only lives while a stream is read or written.
    bool operator==(const CharStyle& other) const;
    bool operator!=(const CharStyle& other) const { return !(*this == other); }

    void write(ArchiveWriter& out, StyleForm form) const;
    void read(ArchiveReader& in, StyleForm form);
};

}  // namespace pemo
