#include "LabelChoice.h"

#include <QSettings>
#include <algorithm>

#include "LabelCatalogue.h"

namespace pemo {

LabelChoice LabelChoice::load(QSettings& settings) {
    LabelChoice c;
    c.sheet = settings.value(QStringLiteral("Labels/Sheet")).toString();
    c.custom = settings.value(QStringLiteral("Labels/Custom")).toString();
    c.recent = settings.value(QStringLiteral("Labels/Recent")).toStringList().mid(0, kRecentCount);
    c.outline = settings.value(QStringLiteral("Labels/Outline"), false).toBool();
    c.nextStart = std::max(1, settings.value(QStringLiteral("Labels/NextStart"), 1).toInt());
    c.nextSheet = settings.value(QStringLiteral("Labels/NextSheet")).toString();
    return c;
}

void LabelChoice::save(QSettings& settings) const {
    settings.setValue(QStringLiteral("Labels/Sheet"), sheet);
    settings.setValue(QStringLiteral("Labels/Custom"), custom);
    settings.setValue(QStringLiteral("Labels/Recent"), recent);
    settings.setValue(QStringLiteral("Labels/Outline"), outline);
    settings.setValue(QStringLiteral("Labels/NextStart"), nextStart);
    settings.setValue(QStringLiteral("Labels/NextSheet"), nextSheet);
}

void LabelChoice::jobPrinted(long long labels, int perSheet) {
    if (perSheet <= 0 || labels <= 0) return;
    nextStart = int((start - 1 + labels) % perSheet) + 1;
    nextSheet = sheet;
}

int LabelChoice::continuation(const QString& sheetName) const {
    return nextStart > 1 && !sheetName.isEmpty() && sheetName.compare(nextSheet, Qt::CaseInsensitive) == 0
               ? nextStart
               : 0;
}

void LabelChoice::remember(const QString& sheetName) {
    if (sheetName.isEmpty()) return;
    recent.removeAll(sheetName);
    recent.prepend(sheetName);
    while (recent.size() > kRecentCount) recent.removeLast();
}

std::optional<LabelTemplate> LabelChoice::resolve(const QString& sheetName, const LabelCatalogue& catalogue) {
    const QString prefix = QString::fromLatin1(kCustomPrefix);
    if (sheetName.startsWith(prefix, Qt::CaseInsensitive)) {
        return LabelTemplate::fromCustomText(sheetName.mid(prefix.size()));
    }
    if (const LabelTemplate* t = catalogue.find(sheetName)) return *t;
    return std::nullopt;
}

}  // namespace pemo
