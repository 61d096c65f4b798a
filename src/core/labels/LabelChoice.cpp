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
    c.start = std::max(1, settings.value(QStringLiteral("Labels/Start"), 1).toInt());
    c.outline = settings.value(QStringLiteral("Labels/Outline"), false).toBool();
    return c;
}

void LabelChoice::save(QSettings& settings) const {
    settings.setValue(QStringLiteral("Labels/Sheet"), sheet);
    settings.setValue(QStringLiteral("Labels/Custom"), custom);
    settings.setValue(QStringLiteral("Labels/Recent"), recent);
    settings.setValue(QStringLiteral("Labels/Start"), start);
    settings.setValue(QStringLiteral("Labels/Outline"), outline);
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
