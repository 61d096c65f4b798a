#pragma once

#include <QByteArray>
#include <QString>

namespace pemo {

// Qt's PDF writer names each glyph of an embedded font, in the font's character map
// (ToUnicode), by the lowest code point the font maps to that glyph. CJK faces draw a
// radical (U+2E80…U+2EFF, U+2F00…U+2FDF), a stroke or another compatibility form with
// the very glyph of an ideograph, so 一, 山 or 龙 typed by the user read back as ⼀, ⼭
// or ⻰ when the PDF is searched or copied. Every text the program draws comes from
// GBK: an entry naming a character GBK lacks is turned into the GBK character that the
// program's Chinese faces draw with the same glyph.
namespace PdfTextRepair {

// The character a character map entry should name instead of codePoint, or 0 when the
// entry stands.
char32_t ideographFor(char32_t codePoint);

// The rewritten text of one character map (CMap program); unchanged when nothing in it
// needs repair.
QByteArray repairedCMap(const QByteArray& cmap);

// The PDF with every font's character map repaired (plain or deflated streams, lengths
// and the cross-reference table kept right). A PDF that is not laid out as Qt writes
// it comes back as it was.
QByteArray repaired(const QByteArray& pdf);

// Repairs a PDF file in place (through a temporary file beside it). False with a message
// when it cannot be read or written; the file is then as it was.
bool repairFile(const QString& path, QString* error);

}  // namespace PdfTextRepair

}  // namespace pemo
