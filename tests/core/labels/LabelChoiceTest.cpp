#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "core/labels/LabelChoice.h"

namespace pemo {

// A printed job leaves the label after its last free for the next job on the same
// sheet; 接着上次 offers it only for that sheet, and not once the sheet is used up.
TEST(LabelChoice, TheLastJobSaysWhereTheNextMayGoOn) {
    const struct {
        const char* name;
        int start;
        long long labels;
        const char* askedFor;
        int offered;
    } cases[] = {
        {"7 labels from the first", 1, 7, "Avery L7160", 8},
        {"from label 8, 20 labels: the second sheet's 7th is next", 8, 20, "Avery L7160", 7},
        {"the sheet used up", 8, 14, "Avery L7160", 0},
        {"another sheet asked for", 1, 7, "Avery L7163", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LabelChoice choice;
        choice.sheet = QStringLiteral("Avery L7160");
        choice.start = c.start;
        choice.jobPrinted(c.labels, 21);
        EXPECT_EQ(choice.continuation(QString::fromUtf8(c.askedFor)), c.offered);
    }
}

// The start label belongs to one job: what the settings keep is where the last job
// ended, never last week's start.
TEST(LabelChoice, SettingsKeepTheLastJobsEndNotItsStart) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("labels.ini")), QSettings::IniFormat);
    LabelChoice choice;
    choice.sheet = QStringLiteral("Avery L7160");
    choice.start = 8;
    choice.jobPrinted(10, 21);
    choice.save(settings);
    const LabelChoice read = LabelChoice::load(settings);
    EXPECT_EQ(read.start, 1);
    EXPECT_EQ(read.sheet, QStringLiteral("Avery L7160"));
    EXPECT_EQ(read.continuation(QStringLiteral("Avery L7160")), 18);
}

}  // namespace pemo
