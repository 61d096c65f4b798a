#include "Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace pemo::Gbk {

QString toUnicode(const QByteArray& gbk) {
    QStringDecoder decoder("GBK");
    return decoder.decode(gbk);
}

QByteArray fromUnicode(const QString& text, bool* ok) {
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    // The encoder substitutes '?' for characters it cannot map; compare against a round trip.
    const bool good = !encoder.hasError() && toUnicode(bytes) == text;
    if (ok) *ok = good;
    return good ? bytes : QByteArray();
}

QByteArray fromUtf16Le(const QByteArray& utf16le) {
    QString text(utf16le.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto lo = static_cast<unsigned char>(utf16le[2 * i]);
        const auto hi = static_cast<unsigned char>(utf16le[2 * i + 1]);
        text[i] = QChar(static_cast<char16_t>(lo | (hi << 8)));
    }
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

}  // namespace pemo::Gbk
