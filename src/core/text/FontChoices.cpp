#include "FontChoices.h"

#include <QFontDatabase>
#include <QSet>
#include <algorithm>

#include "FontFaces.h"
#include "core/codecs/Gbk.h"

namespace pemo {

namespace FontChoices {

namespace {

bool isVerticalFace(const QString& family) { return family.startsWith(QLatin1Char('@')); }

// Installed outline families that write the system; bitmap-only faces are not offered.
QStringList installedFamilies(QFontDatabase::WritingSystem system) {
    QStringList out;
    for (const QString& family : QFontDatabase::families(system)) {
        if (QFontDatabase::isSmoothlyScalable(family) && !QFontDatabase::isPrivateFamily(family))
            out.append(family);
    }
    return out;
}

void appendNew(QList<QByteArray>& list, QSet<QByteArray>& seen, const QByteArray& name) {
    if (name.isEmpty() || name.startsWith('@') || seen.contains(name)) return;
    seen.insert(name);
    list.append(name);
}

}  // namespace

QList<QByteArray> chineseFrom(const QList<QByteArray>& tableNames, const QStringList& cjkFamilies) {
    QList<QByteArray> out;
    QSet<QByteArray> seen;
    for (const QByteArray& name : tableNames) appendNew(out, seen, name);
    for (const QString& family : cjkFamilies) {
        if (!isVerticalFace(family)) appendNew(out, seen, Gbk::fromUnicode(family));
    }
    return out;
}

QList<QByteArray> westernFrom(const QList<QByteArray>& tableNames, const QStringList& latinFamilies,
                              const QStringList& cjkFamilies) {
    const QSet<QString> chinese(cjkFamilies.begin(), cjkFamilies.end());
    QList<QByteArray> out;
    QSet<QByteArray> seen;
    for (const QByteArray& name : tableNames) appendNew(out, seen, name);
    for (const QString& family : latinFamilies) {
        if (!isVerticalFace(family) && !chinese.contains(family))
            appendNew(out, seen, Gbk::fromUnicode(family));
    }
    // Byte-wise, as the names are stored: "Arial" before "Arial Black" before "arial".
    std::sort(out.begin(), out.end(), [](const QByteArray& a, const QByteArray& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](char x, char y) { return uint8_t(x) < uint8_t(y); });
    });
    return out;
}

QList<QByteArray> chinese() {
    return chineseFrom(FontFaces::names(true), installedFamilies(QFontDatabase::SimplifiedChinese));
}

QList<QByteArray> western() {
    return westernFrom(FontFaces::names(false), installedFamilies(QFontDatabase::Latin),
                       installedFamilies(QFontDatabase::SimplifiedChinese));
}

}  // namespace FontChoices

}  // namespace pemo
