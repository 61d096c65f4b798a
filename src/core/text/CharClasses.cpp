#include "CharClasses.h"

namespace pemo::CharClasses {

namespace {

constexpr uint16_t code(uint8_t lead, uint8_t trail) {
    return uint16_t(lead << 8 | trail);
}

bool inList(uint16_t c, std::initializer_list<uint16_t> list) {
    for (uint16_t v : list) {
        if (v == c)
            return true;
    }
    return false;
}

}  // namespace

uint16_t classOfDoubleByte(uint8_t lead, uint8_t trail) {
    const uint16_t c = code(lead, trail);
    // 。 … ℃ ‰ ％
    if (inList(c, {0xA1A3, 0xA1AD, 0xA1E6, 0xA1EB, 0xA3A5}))
        return ItemClass::NonStarter;
    // ＄ ￡ ￥
    if (inList(c, {0xA1E7, 0xA1EA, 0xA3A4}))
        return ItemClass::Currency;
    // ‘ “ 〔 〈 《 「 『 〖 【 （ ［ ｛
    if (inList(c, {0xA1AE, 0xA1B0, 0xA1B2, 0xA1B4, 0xA1B6, 0xA1B8, 0xA1BA, 0xA1BC, 0xA1BE, 0xA3A8,
                   0xA3DB, 0xA3FB}))
        return ItemClass::Opening;
    // 、 ’ ” 〕 〉 》 」 』 〗 】 ！ ） ， ． ： ； ？ ］ ｝
    if (inList(c, {0xA1A2, 0xA1AF, 0xA1B1, 0xA1B3, 0xA1B5, 0xA1B7, 0xA1B9, 0xA1BB, 0xA1BD, 0xA1BF,
                   0xA3A1, 0xA3A9, 0xA3AC, 0xA3AE, 0xA3BA, 0xA3BB, 0xA3BF, 0xA3DD, 0xA3FD}))
        return ItemClass::Closing;
    return ItemClass::Ideograph;
}

uint16_t classOfAscii(uint8_t byte) {
    if (byte == ' ')
        return ItemClass::Space;
    if (byte == '%')
        return ItemClass::Percent;
    if (byte >= '0' && byte <= '9')
        return ItemClass::Digit;
    if (byte == '.')
        return ItemClass::Point;
    return ItemClass::Word;
}

bool fullWidthOf(uint8_t byte, uint8_t* lead, uint8_t* trail) {
    uint16_t c = 0;
    switch (byte) {
        case '!':
            c = 0xA3A1;
            break;
        case '$':
            c = 0xA3A4;
            break;
        case '(':
            c = 0xA3A8;
            break;
        case ')':
            c = 0xA3A9;
            break;
        case ',':
            c = 0xA3AC;
            break;
        case ':':
            c = 0xA3BA;
            break;
        case ';':
            c = 0xA3BB;
            break;
        case '<':
            c = 0xA1B4;
            break;
        case '>':
            c = 0xA1B5;
            break;
        case '?':
            c = 0xA3BF;
            break;
        case '[':
            c = 0xA3DB;
            break;
        case ']':
            c = 0xA3DD;
            break;
        case '{':
            c = 0xA3FB;
            break;
        case '}':
            c = 0xA3FD;
            break;
        default:
            return false;
    }
    *lead = uint8_t(c >> 8);
    *trail = uint8_t(c & 0xFF);
    return true;
}

void verticalQuoteForm(uint8_t* lead, uint8_t* trail) {
    if (*lead != 0xA1)
        return;
    switch (*trail) {
        case 0xAE:
            *trail = 0xB8;
            break;  // ‘ → 「
        case 0xAF:
            *trail = 0xB9;
            break;  // ’ → 」
        case 0xB0:
            *trail = 0xBA;
            break;  // “ → 『
        case 0xB1:
            *trail = 0xBB;
            break;  // ” → 』
        default:
            break;
    }
}

bool isFullInVertical(uint8_t lead, uint8_t trail) {
    return inList(code(lead, trail), {0xA3AC, 0xA3A1, 0xA3BF, 0xA3BA, 0xA1A2, 0xA3BB});
}

qsizetype indexOfOnBoundary(const QByteArray& haystack, const QByteArray& needle, qsizetype from) {
    if (needle.isEmpty())
        return -1;
    qsizetype i = 0;
    while (i < haystack.size()) {
        if (i >= from && haystack.size() - i >= needle.size() &&
            std::equal(needle.begin(), needle.end(), haystack.begin() + i))
            return i;
        i += (static_cast<unsigned char>(haystack[i]) >= 0x80) ? 2 : 1;
    }
    return -1;
}

}  // namespace pemo::CharClasses
