#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "LabelTemplate.h"

class QSettings;

namespace pemo {

class LabelCatalogue;

// What the user chose for printing onto label sheets: the sheet (a catalogue product
// "BRAND PART" or "custom:…" for the measured sheet), the measured sheet itself, the
// products used lately (latest first), whether labels are outlined, and where the last
// printed job left its sheet, kept in the settings; and the start label of the job at
// hand, which every new job begins at 1.
struct LabelChoice {
    static constexpr int kRecentCount = 8;
    static constexpr const char* kCustomPrefix = "custom:";

    QString sheet;
    QString custom;  // LabelTemplate::customText() of the measured sheet
    QStringList recent;
    int start = 1;
    bool outline = false;
    // The first label the last printed job left free on its last sheet, and that
    // sheet's name; 1 when it used its last sheet up.
    int nextStart = 1;
    QString nextSheet;

    static LabelChoice load(QSettings& settings);
    void save(QSettings& settings) const;
    // Puts a sheet at the head of the recent list.
    void remember(const QString& sheetName);
    // A job of `labels` labels went to the printer from the start label on `sheet` sheets
    // of `perSheet` labels: the label after its last is where the next job may go on.
    void jobPrinted(long long labels, int perSheet);
    // What 接着上次 offers for the sheet: the label the last job left free on it, or 0
    // when that job was on another sheet or used its last sheet up.
    int continuation(const QString& sheetName) const;

    // The sheet a name stands for: "custom:PAPER,ROWSxCOLS,…" or a catalogue product.
    static std::optional<LabelTemplate> resolve(const QString& sheetName, const LabelCatalogue& catalogue);
};

}  // namespace pemo
