#include "CellText.h"

#include <QDate>
#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/codecs/Archive.h"
#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

bool isAscii(const char* bytes, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
    }
    return true;
}

bool isAscii(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x80) return false;
    }
    return true;
}

}  // namespace

CellText::CellText()
    : encoder_("GBK", QStringConverter::Flag::Stateless),
      decoder_("GBK", QStringConverter::Flag::Stateless) {}

QByteArray CellText::toGbk(QStringView text, int row, int column) {
    if (isAscii(text)) return text.toLatin1();
    QByteArray bytes = encoder_.encode(text);
    // The encoder puts "?" for what it cannot map; only a round trip tells.
    const QString back = decoder_.decode(bytes);
    if (encoder_.hasError() || decoder_.hasError() || back != text) {
        encoder_.resetState();
        decoder_.resetState();
        throw FormatError(badCharacterMessage(row, column, firstUnmappable(text)));
    }
    return bytes;
}

QByteArray CellText::utf8ToGbk(const char* utf8, qsizetype size, int row, int column) {
    if (isAscii(utf8, size)) return QByteArray(utf8, size);
    return toGbk(QString::fromUtf8(utf8, size), row, column);
}

QString CellText::badCharacterMessage(int row, int column, const QString& character) {
    return QString::fromUtf8("第%1行第%2列的字符“%3”无法以GBK保存，文件无法导入。")
        .arg(row)
        .arg(column)
        .arg(character);
}

QString CellText::firstUnmappable(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length =
            text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length).toString();
        bool ok = false;
        Gbk::fromUnicode(character, &ok);
        if (!ok) return character;
        i += length - 1;
    }
    return QString();
}

QString CellText::missingSheetMessage(const QString& sheetName) {
    return QString::fromUtf8("工作簿中没有名为“%1”的工作表。").arg(sheetName);
}

int CellText::findSheet(const QStringList& sheetNames, const QString& name) {
    if (sheetNames.isEmpty()) return -1;
    if (name.isEmpty()) return 0;
    QString wanted = name;
    if (wanted.size() > 1 && wanted.endsWith(QLatin1Char('$'))) wanted.chop(1);
    for (const QString& candidate : {name, wanted}) {
        const int exact = int(sheetNames.indexOf(candidate));
        if (exact >= 0) return exact;
    }
    for (int i = 0; i < sheetNames.size(); ++i) {
        if (sheetNames.at(i).compare(wanted, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

QString CellText::formatNumber(double value) {
    if (!std::isfinite(value)) return QString::number(value);
    // A workbook keeps 15 significant digits; what lies beyond them is binary noise.
    char digits[40];
    std::snprintf(digits, sizeof digits, "%.15g", value);
    const double rounded = std::strtod(digits, nullptr);
    if (rounded == 0) return QStringLiteral("0");
    return QString::number(rounded, 'f', QLocale::FloatingPointShortest);
}

QString CellText::formatDate(double serial, bool date1904, DateForm form) {
    // 9999-12-31 is the last day a workbook knows.
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466) return formatNumber(serial);
    double whole = std::floor(serial);
    int seconds = int(std::lround((serial - whole) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += 1;
    }
    const auto day = static_cast<qint64>(whole);
    QString date;
    if (date1904) {
        date = QDate(1904, 1, 1).addDays(day).toString(QStringLiteral("yyyy-MM-dd"));
    } else if (day == 60) {
        // The 1900 system counts a 29 February 1900 that never was.
        date = QStringLiteral("1900-02-29");
    } else {
        const QDate base = day < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
        date = base.addDays(day).toString(QStringLiteral("yyyy-MM-dd"));
    }
    const QString time = QStringLiteral("%1:%2:%3")
                             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                             .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    switch (form) {
        case DateForm::Date: return date;
        case DateForm::DateTime: return date + QLatin1Char(' ') + time;
        case DateForm::Time: return time;
    }
    return date;
}

}  // namespace pemo
