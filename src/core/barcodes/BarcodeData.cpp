#include "BarcodeData.h"

namespace pemo {

namespace {

using S = BarcodeFace::Symbology;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Lengths without and with the check digit.
std::pair<int, int> numberLengths(S symbology) {
    switch (symbology) {
        case S::Ean13: return {12, 13};
        case S::Ean8: return {7, 8};
        case S::UpcA: return {11, 12};
        case S::Itf14: return {13, 14};
        default: return {0, 0};
    }
}

bool isDigits(const QString& text) {
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    }
    return true;
}

// Code 39 holds capitals, digits and seven signs.
bool fitsCode39(const QString& text) {
    static const QString signs = QStringLiteral("-. $/+%");
    for (QChar c : text) {
        const bool ok = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                        (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || signs.contains(c);
        if (!ok) return false;
    }
    return true;
}

// Code 128 holds Latin-1.
bool fitsCode128(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0xFF || c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            return false;
    }
    return true;
}

// Text keeps fourteen ASCII signs in their full-width forms, however they were typed or
// imported ("$" is held as "￥"), and full-width digits and letters come in from Chinese
// input methods and tills. A linear code holds ASCII: it carries the ASCII form of every
// full-width character (U+FF01 … U+FF5E), "<" and ">" for 〈 and 〉, and "$" for ￥.
QString foldedToAscii(const QString& shown) {
    QString out = shown;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E) {
            c = QChar(char16_t(u - 0xFEE0));
        } else if (u == 0x3008) {
            c = QLatin1Char('<');
        } else if (u == 0x3009) {
            c = QLatin1Char('>');
        } else if (u == 0xFFE5) {
            c = QLatin1Char('$');
        }
    }
    return out;
}

void prepareNumber(BarcodeData& data, const QString& shown) {
    QString digits = foldedToAscii(shown);
    digits.remove(QLatin1Char(' '));
    digits = digits.trimmed();
    const auto [bare, full] = numberLengths(data.symbology);
    if (digits.isEmpty()) {
        data.problem = u("没有号码");
    } else if (!isDigits(digits)) {
        data.problem = u("只能是数字");
    } else if (digits.size() != bare && digits.size() != full) {
        data.problem = u("应为 %1 位数字（或不带校验位的 %2 位），现有 %3 位").arg(full).arg(bare).arg(digits.size());
    } else {
        const QString body = digits.left(bare);
        const int check = BarcodeData::checkDigit(body);
        if (digits.size() == full && digits.back().digitValue() != check) {
            data.problem = u("校验位应为 %1").arg(check);
        } else {
            data.payload = body.toLatin1();
            data.fullNumber = body + QString::number(check);
        }
    }
}

}  // namespace

int BarcodeData::checkDigit(const QString& digits) {
    if (!isDigits(digits)) return -1;
    int sum = 0;
    // The digit next to the check digit weighs 3.
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const int d = digits[digits.size() - 1 - i].digitValue();
        sum += i % 2 == 0 ? 3 * d : d;
    }
    return (10 - sum % 10) % 10;
}

BarcodeData BarcodeData::sample(S symbology) {
    const char* text = "";
    switch (symbology) {
    case S::Ean13: text = "690123456789"; break;
    case S::Ean8: text = "9638507"; break;
    case S::UpcA: text = "03600029145"; break;
    case S::Itf14: text = "1540014128876"; break;
    case S::Code128:
    case S::Code39: text = "SAMPLE-123"; break;
    case S::Qr:
    case S::DataMatrix: text = "样例 SAMPLE"; break;
    }
    BarcodeData data = prepare(symbology, QString::fromUtf8(text));
    data.isSample = true;
    return data;
}

BarcodeData BarcodeData::prepare(S symbology, const QString& text) {
    BarcodeData data;
    data.symbology = symbology;
    if (BarcodeFace::isNumeric(symbology)) {
        prepareNumber(data, text);
        return data;
    }
    // A matrix code carries the text as it is shown, Chinese punctuation included; the
    // line break that ends a typed text is not part of a linear code.
    const bool matrix = BarcodeFace::isMatrix(symbology);
    const QString shown = matrix ? text : foldedToAscii(text).trimmed();
    if (shown.isEmpty()) {
        data.problem = u("没有内容");
    } else if (symbology == S::Code39 && !fitsCode39(shown)) {
        data.problem = u("只能含大写字母、数字和 - . 空格 $ / + %");
    } else if (symbology == S::Code128 && !fitsCode128(shown)) {
        data.problem = u("含有不能编码的字符");
    } else {
        data.payload = shown.toUtf8();
        if (BarcodeFace::isMatrix(symbology)) {
            for (QChar c : shown) data.needsEci = data.needsEci || c.unicode() > 0x7F;
        }
    }
    return data;
}

}  // namespace pemo
