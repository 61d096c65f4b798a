#include "PriceNumber.h"

#include <QString>

#include "core/codecs/Gbk.h"

namespace pemo {

bool PriceNumber::isNumber(const QByteArray& gbk) {
    QString text = Gbk::toUnicode(gbk).trimmed();
    for (const QString& sign : {QStringLiteral("¥"), QStringLiteral("￥"), QStringLiteral("$")}) {
        if (text.startsWith(sign)) {
            text = text.mid(sign.size()).trimmed();
            break;
        }
    }
    if (text.endsWith(QString::fromUtf8("元"))) text.chop(1);
    text = text.trimmed();
    int digits = 0;
    int points = 0;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
        } else if (c == QLatin1Char('.')) {
            ++points;
        } else {
            return false;
        }
    }
    return digits > 0 && points <= 1;
}

}  // namespace pemo
