#include "XlsxReader.h"

#include <QHash>
#include <QXmlStreamReader>
#include <optional>
#include <vector>

#include "CellText.h"
#include "core/codecs/Archive.h"
#include "core/codecs/ZipEntryStream.h"
#include "core/codecs/ZipExtract.h"

namespace pemo {

namespace {

// No part of a workbook we can import comes near these; a larger one is refused. The
// sheet is parsed as it is inflated and may be larger than the parts held whole.
constexpr qsizetype kMaxPartSize = 128 * 1024 * 1024;
constexpr qsizetype kMaxSheetSize = 256 * 1024 * 1024;
// XML of real workbooks packs ten to twenty times; a part that claims far more is a
// bomb, not a sheet.
constexpr int kMaxRatio = 100;

QString damaged() { return QString::fromUtf8("文件不是可以读取的工作簿。"); }

QByteArray part(const QByteArray& archive, const QString& name) {
    std::optional<QByteArray> bytes = ZipExtract::entry(archive, name.toUtf8(), kMaxPartSize, kMaxRatio);
    if (!bytes) throw FormatError(damaged());
    return std::move(*bytes);
}

std::optional<QByteArray> optionalPart(const QByteArray& archive, const QString& name) {
    if (name.isEmpty()) return std::nullopt;
    return ZipExtract::entry(archive, name.toUtf8(), kMaxPartSize, kMaxRatio);
}

// A part the relationships name: none when they name none, else its bytes; a named part
// that is missing, damaged or too large refuses the workbook.
std::optional<QByteArray> namedPart(const QByteArray& archive, const QString& name) {
    if (name.isEmpty()) return std::nullopt;
    return part(archive, name);
}

// "xl/" + "worksheets/sheet1.xml", or an absolute "/xl/…" target.
QString resolve(const QString& folder, const QString& target) {
    if (target.startsWith(QLatin1Char('/'))) return target.mid(1);
    QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& piece : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (piece == QLatin1String("..")) {
            if (!parts.isEmpty()) parts.removeLast();
        } else if (piece != QLatin1String(".")) {
            parts << piece;
        }
    }
    return parts.join(QLatin1Char('/'));
}

QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

struct Relationship {
    QString type;    // the last part of the type URI: "worksheet", "sharedStrings" …
    QString target;  // resolved against the part's folder
};

// The relationships of a part, by id.
QHash<QString, Relationship> relationships(const QByteArray& archive, const QString& partPath) {
    QHash<QString, Relationship> result;
    const QString folder = folderOf(partPath);
    const QString relsPath =
        (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/") +
        partPath.mid(folder.isEmpty() ? 0 : folder.size() + 1) + QStringLiteral(".rels");
    const std::optional<QByteArray> bytes = optionalPart(archive, relsPath);
    if (!bytes) return result;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
            const QXmlStreamAttributes a = xml.attributes();
            const QString type = a.value(QLatin1String("Type")).toString();
            result.insert(a.value(QLatin1String("Id")).toString(),
                          {type.mid(type.lastIndexOf(QLatin1Char('/')) + 1),
                           resolve(folder, a.value(QLatin1String("Target")).toString())});
        }
    }
    if (xml.hasError()) throw FormatError(damaged());
    return result;
}

// The text of the element the reader stands on, its <t> children joined; phonetic
// runs (<rPh>) are left out.
QString richText(QXmlStreamReader& xml) {
    QString text;
    int phonetic = 0;
    const QString outer = xml.name().toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh")) {
                ++phonetic;
            } else if (xml.name() == QLatin1String("t") && phonetic == 0) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh")) {
                --phonetic;
            } else if (xml.name() == outer) {
                break;
            }
        }
    }
    return text;
}

std::vector<QString> sharedStrings(const std::optional<QByteArray>& bytes) {
    std::vector<QString> strings;
    if (!bytes) return strings;
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
            strings.push_back(richText(xml));
        }
    }
    // Cells would silently lose their texts.
    if (xml.hasError()) throw FormatError(damaged());
    return strings;
}

// Whether a number format shows a date, a date and time, a time or neither.
enum class Shown { Number, Date, DateTime, Time };

Shown shownBy(int builtinId) {
    if ((builtinId >= 14 && builtinId <= 17) || (builtinId >= 27 && builtinId <= 31) ||
        (builtinId >= 34 && builtinId <= 36) || (builtinId >= 50 && builtinId <= 58)) {
        return Shown::Date;
    }
    if (builtinId == 22) return Shown::DateTime;
    if ((builtinId >= 18 && builtinId <= 21) || builtinId == 32 || builtinId == 33 ||
        (builtinId >= 45 && builtinId <= 47)) {
        return Shown::Time;
    }
    return Shown::Number;
}

Shown shownBy(const QString& code) {
    // Only the first section counts; quoted text, escapes and [colour] tags show nothing.
    if (code.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0) return Shown::Number;
    bool date = false;
    bool yearOrDay = false;
    bool time = false;
    bool inQuote = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i).toLower();
        if (inQuote) {
            inQuote = c != QLatin1Char('"');
            continue;
        }
        if (c == QLatin1Char('"')) {
            inQuote = true;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = code.indexOf(QLatin1Char(']'), i);
            const QString tag = code.mid(i + 1, close - i - 1).toLower();
            if (tag == QLatin1String("h") || tag == QLatin1String("hh") ||
                tag == QLatin1String("m") || tag == QLatin1String("mm") ||
                tag == QLatin1String("s") || tag == QLatin1String("ss")) {
                time = true;
            }
            if (close < 0) break;
            i = close;
        } else if (c == QLatin1Char(';')) {
            break;
        } else if (c == QLatin1Char('y') || c == QLatin1Char('d')) {
            date = yearOrDay = true;
        } else if (c == QLatin1Char('h') || c == QLatin1Char('s')) {
            time = true;
        } else if (c == QLatin1Char('m')) {
            date = true;  // months, unless hours or seconds say minutes (below)
        }
    }
    if (time && !yearOrDay) return Shown::Time;
    if (date && time) return Shown::DateTime;
    if (date) return Shown::Date;
    if (time) return Shown::Time;
    return Shown::Number;
}

// How each cell style (the s attribute) shows numbers.
std::vector<Shown> cellStyles(const std::optional<QByteArray>& bytes) {
    std::vector<Shown> styles;
    if (!bytes) return styles;
    QHash<int, Shown> custom;
    QXmlStreamReader xml(*bytes);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == QLatin1String("numFmt")) {
                custom.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                              shownBy(xml.attributes().value(QLatin1String("formatCode")).toString()));
            } else if (name == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (name == QLatin1String("xf") && inCellXfs) {
                const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                styles.push_back(custom.contains(id) ? custom.value(id) : shownBy(id));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    if (xml.hasError()) throw FormatError(damaged());
    return styles;
}

// "B12" → column 1 (0-based) and row 11; false for anything else.
bool parseReference(QStringView ref, int& column, int& row) {
    qsizetype i = 0;
    int c = 0;
    while (i < ref.size() && ref.at(i).isLetter() && i < 3) {
        c = c * 26 + (ref.at(i).toUpper().unicode() - 'A' + 1);
        ++i;
    }
    if (i == 0 || c <= 0 || c > 16384) return false;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (!ok || r < 1 || r > XlsxReader::kMaxRows) return false;
    column = c - 1;
    row = r - 1;
    return true;
}

struct SheetContext {
    const std::vector<QString>* strings;
    const std::vector<Shown>* styles;
    bool date1904 = false;
};

// One <c> element: its value as the cell shows it.
QString cellValue(QXmlStreamReader& xml, const QString& type, int style, const SheetContext& sheet) {
    QString value;
    bool hasValue = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("v")) {
                value = xml.readElementText(QXmlStreamReader::SkipChildElements);
                hasValue = true;
            } else if (xml.name() == QLatin1String("is")) {
                value = richText(xml);
                hasValue = true;
            } else {
                xml.skipCurrentElement();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
            break;
        }
    }
    if (!hasValue) return QString();
    if (type == QLatin1String("s")) {
        bool ok = false;
        const qsizetype index = value.toLongLong(&ok);
        if (!ok || index < 0 || size_t(index) >= sheet.strings->size()) return QString();
        return sheet.strings->at(size_t(index));
    }
    if (type == QLatin1String("b")) {
        return value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    }
    if (type == QLatin1String("inlineStr") || type == QLatin1String("str") ||
        type == QLatin1String("e")) {
        return value;
    }
    if (type == QLatin1String("d")) {
        // An ISO date-time; the date alone when the time is midnight.
        return value.endsWith(QLatin1String("T00:00:00")) ? value.left(10)
                                                          : value.replace(QLatin1Char('T'), QLatin1Char(' '));
    }
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok) return value;
    const Shown shown = style >= 0 && size_t(style) < sheet.styles->size()
                            ? sheet.styles->at(size_t(style))
                            : Shown::Number;
    switch (shown) {
        case Shown::Date:
            return CellText::formatDate(number, sheet.date1904, CellText::DateForm::Date);
        case Shown::DateTime:
            return CellText::formatDate(number, sheet.date1904, CellText::DateForm::DateTime);
        case Shown::Time:
            return CellText::formatDate(number, sheet.date1904, CellText::DateForm::Time);
        case Shown::Number:
            break;
    }
    return CellText::formatNumber(number);
}

CellTable readSheet(const QByteArray& archive, const QString& name, const SheetContext& sheet) {
    const QByteArray entryName = name.toUtf8();
    ZipEntryStream bytes(archive, &entryName, {kMaxSheetSize, kMaxRatio});
    if (!bytes.isOpen()) throw FormatError(damaged());
    CellTable table;
    CellText text;
    QXmlStreamReader xml(&bytes);
    int row = -1;
    int column = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("row")) {
            bool ok = false;
            const int r = xml.attributes().value(QLatin1String("r")).toInt(&ok);
            row = ok && r >= 1 && r <= XlsxReader::kMaxRows ? r - 1 : row + 1;
            column = -1;
        } else if (xml.name() == QLatin1String("c")) {
            const QXmlStreamAttributes a = xml.attributes();
            int c = column + 1;
            int r = row;
            if (a.hasAttribute(QLatin1String("r")) && !parseReference(a.value(QLatin1String("r")), c, r)) {
                throw FormatError(damaged());
            }
            column = c;
            row = std::max(r, 0);
            if (row >= XlsxReader::kMaxRows) throw FormatError(damaged());
            const QString type = a.value(QLatin1String("t")).toString();
            const int style =
                a.hasAttribute(QLatin1String("s")) ? a.value(QLatin1String("s")).toInt() : -1;
            const QString value = cellValue(xml, type, style, sheet);
            if (!value.isEmpty() && column < XlsxReader::kMaxColumns) {
                table.set(row, column, text.toGbk(value, row + 1, column + 1));
            }
        }
    }
    // The reader stops at the document's end, which may come before the entry's: the
    // rest is read too, so that the size and CRC-32 are checked.
    char rest[4096];
    while (!xml.hasError() && bytes.read(rest, sizeof rest) > 0) {
    }
    if (xml.hasError() || !bytes.complete()) throw FormatError(damaged());
    return table;
}

}  // namespace

CellTable XlsxReader::read(const QByteArray& bytes, const QString& sheetName,
                           QStringList* sheetNames) {
    // The workbook part is named by the package's relationships.
    QString workbookPath = QStringLiteral("xl/workbook.xml");
    for (const Relationship& r : relationships(bytes, QString())) {
        if (r.type == QLatin1String("officeDocument")) workbookPath = r.target;
    }
    const QByteArray workbook = part(bytes, workbookPath);
    const QHash<QString, Relationship> rels = relationships(bytes, workbookPath);

    QStringList names;
    QStringList targets;
    bool date1904 = false;
    QXmlStreamReader xml(workbook);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("sheet")) {
            names << a.value(QLatin1String("name")).toString();
            // The id attribute lives in the relationships namespace, whatever its prefix.
            QString id;
            for (const QXmlStreamAttribute& attribute : a) {
                if (attribute.name() == QLatin1String("id")) id = attribute.value().toString();
            }
            targets << rels.value(id).target;
        } else if (xml.name() == QLatin1String("workbookPr")) {
            const QStringView v = a.value(QLatin1String("date1904"));
            date1904 = v == QLatin1String("1") || v == QLatin1String("true");
        }
    }
    if (xml.hasError() || names.isEmpty()) throw FormatError(damaged());
    if (sheetNames) *sheetNames = names;
    const int index = CellText::findSheet(names, sheetName);
    if (index < 0) throw FormatError(CellText::missingSheetMessage(sheetName));

    QString stringsPath;
    QString stylesPath;
    for (const Relationship& r : rels) {
        if (r.type == QLatin1String("sharedStrings")) stringsPath = r.target;
        if (r.type == QLatin1String("styles")) stylesPath = r.target;
    }
    // A part the workbook names must be readable; one it does not name is simply absent.
    const std::vector<QString> strings = sharedStrings(namedPart(bytes, stringsPath));
    const std::vector<Shown> styles = cellStyles(namedPart(bytes, stylesPath));
    return readSheet(bytes, targets.at(index), {&strings, &styles, date1904});
}

}  // namespace pemo
