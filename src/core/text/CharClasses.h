#pragma once

#include <QByteArray>
#include <cstdint>

namespace pemo {

// Item classes of a rich text. The class is decided when an item is made.
namespace ItemClass {
inline constexpr uint16_t End = 65297;
inline constexpr uint16_t LineBreak = 65298;
inline constexpr uint16_t Space = 65299;
inline constexpr uint16_t Word = 65300;
inline constexpr uint16_t Percent = 65301;
inline constexpr uint16_t Reserved1 = 65302;  // never made; kept when read, takes no room
inline constexpr uint16_t Digit = 65303;
inline constexpr uint16_t Point = 65304;
inline constexpr uint16_t Reserved2 = 65305;
inline constexpr uint16_t Ideograph = 65306;
inline constexpr uint16_t NonStarter = 65307;
inline constexpr uint16_t Currency = 65308;
inline constexpr uint16_t Opening = 65309;
inline constexpr uint16_t Closing = 65310;
inline constexpr uint16_t Price = 65311;

inline bool isReserved(uint16_t c) {
    return c == Reserved1 || c == Reserved2;
}
inline bool isEndOrBreak(uint16_t c) {
    return c == End || c == LineBreak;
}
inline bool isSingleByte(uint16_t c) {
    return c == Word || c == Percent || c == Digit || c == Point;
}
inline bool isDoubleByte(uint16_t c) {
    return c >= Ideograph && c <= Closing;
}
inline bool isKnown(uint16_t c) {
    return c >= End && c <= Price;
}
}  // namespace ItemClass

// The GBK byte classes the editor and the layout need.
namespace CharClasses {

// Class of a double-byte character (lead, trail): non-starter, currency, opening,
// closing or ideograph.
uint16_t classOfDoubleByte(uint8_t lead, uint8_t trail);

// Class of a printable ASCII byte (32..126) that is kept as itself.
uint16_t classOfAscii(uint8_t byte);

// The full-width form that typing and inserting put in place of an ASCII byte, or
// false when the byte is kept as itself.
bool fullWidthOf(uint8_t byte, uint8_t* lead, uint8_t* trail);

// Vertical writing draws the four curly quotes as corner brackets; other characters
// come back unchanged.
void verticalQuoteForm(uint8_t* lead, uint8_t* trail);

// Closing marks that take a full em in vertical writing: ， ！ ？ ： 、 ；
bool isFullInVertical(uint8_t lead, uint8_t trail);

// Byte offset of the first occurrence of needle in haystack that starts on a
// character boundary of haystack (a double-byte character is never split), or -1.
qsizetype indexOfOnBoundary(const QByteArray& haystack, const QByteArray& needle,
                            qsizetype from = 0);

}  // namespace CharClasses

}  // namespace pemo
