#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "LabelTemplate.h"

class QSettings;

namespace pemo {

class LabelCatalogue;

// What the user chose for printing onto label sheets, kept in the settings: the sheet
// (a catalogue product "BRAND PART" or "custom:…" for the measured sheet), the measured
// sheet itself, the products used lately (latest first), the start label and whether
// labels are outlined.
struct LabelChoice {
    static constexpr int kRecentCount = 8;
    static constexpr const char* kCustomPrefix = "custom:";

    QString sheet;
    QString custom;  // LabelTemplate::customText() of the measured sheet
    QStringList recent;
    int start = 1;
    bool outline = false;

    static LabelChoice load(QSettings& settings);
    void save(QSettings& settings) const;
    // Puts a sheet at the head of the recent list.
    void remember(const QString& sheetName);

    // The sheet a name stands for: "custom:PAPER,ROWSxCOLS,…" or a catalogue product.
    static std::optional<LabelTemplate> resolve(const QString& sheetName, const LabelCatalogue& catalogue);
};

}  // namespace pemo
