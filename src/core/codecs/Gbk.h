#pragma once

#include <QByteArray>
#include <QString>

namespace pemo {

// The model keeps text as GBK bytes, as the files do. These convert at the edges:
// drawing, widgets, file names, clipboard and imported Unicode text.
namespace Gbk {

QString toUnicode(const QByteArray& gbk);

// Converts to GBK. A character GBK cannot hold makes the result empty and sets
// *ok to false (never silently replaced by "?").
QByteArray fromUnicode(const QString& text, bool* ok = nullptr);

// Converts UTF-16LE code units (as read from a file) to GBK; characters GBK
// cannot hold become "?" here, since the bytes came from a file, not from a user.
QByteArray fromUtf16Le(const QByteArray& utf16le);

// A byte of 0x80 or above begins a double-byte character.
inline bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

}  // namespace Gbk

}  // namespace pemo
