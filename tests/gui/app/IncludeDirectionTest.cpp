// The folders include one another in one direction only: the core never sees the gui or
// the command line, and the gui's folders stand in tiers (src/gui/README.md), each
// including only the tiers below it. Read from the source tree.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

// The gui's folders from the bottom up. A folder may include its own files and the
// folders of the tiers before its own; never a folder of its own tier or above it.
const std::vector<QStringList> kGuiTiers = {
    {QStringLiteral("common")},
    {QStringLiteral("dialogs"), QStringLiteral("library")},
    {QStringLiteral("config"), QStringLiteral("records"), QStringLiteral("canvas")},
    {QStringLiteral("view")},
    {QStringLiteral("app")},
};

QString sourceRoot() { return QDir(QStringLiteral(PEMO_TEST_DATA "/../../src")).canonicalPath(); }

int tierOf(const QString& guiFolder) {
    for (size_t tier = 0; tier < kGuiTiers.size(); ++tier) {
        if (kGuiTiers[tier].contains(guiFolder)) return int(tier);
    }
    return -1;
}

// The file an include names, relative to src: "../x.h" and "./x.h" from the including
// file's folder, a bare name in that folder, any other path from src.
QString resolve(const QString& file, const QString& target) {
    const QString folder = file.section(QLatin1Char('/'), 0, -2);
    if (target.startsWith(QLatin1Char('.')) || !target.contains(QLatin1Char('/')))
        return QDir::cleanPath(folder + QLatin1Char('/') + target);
    return QDir::cleanPath(target);
}

// The area a path under src lies in: "core", "cli", "gui/<folder>", or empty.
QString areaOf(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() >= 2 && (parts[0] == QLatin1String("core") || parts[0] == QLatin1String("cli")))
        return parts[0];
    if (parts.size() >= 3 && parts[0] == QLatin1String("gui")) return parts[0] + QLatin1Char('/') + parts[1];
    return QString();
}

// Why file (relative to src) may not include target, or empty when it may.
QString wrongInclude(const QString& file, const QString& target) {
    const QString from = areaOf(file);
    const QString to = areaOf(resolve(file, target));
    if (to.isEmpty() || to == from) return QString();
    if (from == QLatin1String("core")) {
        return to == QLatin1String("core") ? QString() : QStringLiteral("the core sees no ") + to;
    }
    if (!from.startsWith(QLatin1String("gui/")) || !to.startsWith(QLatin1String("gui/"))) return QString();
    const int fromTier = tierOf(from.mid(4));
    const int toTier = tierOf(to.mid(4));
    if (fromTier < 0 || toTier < 0) return QStringLiteral("a gui folder outside the tiers");
    if (toTier >= fromTier) return from + QStringLiteral(" sees no ") + to;
    return QString();
}

// Every wrong include of the files under folder (relative to src), as "file: include: why".
QStringList wrongIncludesUnder(const QString& folder) {
    QStringList found;
    const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*[\"<]([^\">]+)[\">]"),
                                     QRegularExpression::MultilineOption);
    const QDir root(sourceRoot());
    QDirIterator files(root.filePath(folder), {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = root.relativeFilePath(files.next());
        QFile file(root.filePath(path));
        if (!file.open(QIODevice::ReadOnly)) {
            found << path + QStringLiteral(": unreadable");
            continue;
        }
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = include.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            const QString why = wrongInclude(path, target);
            if (!why.isEmpty()) found << path + QStringLiteral(": ") + target + QStringLiteral(": ") + why;
        }
    }
    return found;
}

}  // namespace

TEST(IncludeDirection, EveryGuiFolderStandsInOneTier) {
    const QStringList folders = QDir(sourceRoot() + QStringLiteral("/gui")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_FALSE(folders.isEmpty()) << sourceRoot().toStdString();
    for (const QString& folder : folders) EXPECT_GE(tierOf(folder), 0) << folder.toStdString();
}

TEST(IncludeDirection, NoFolderIncludesOneAboveIt) {
    for (const QString& folder : {QStringLiteral("core"), QStringLiteral("gui")}) {
        SCOPED_TRACE(folder.toStdString());
        const QStringList wrong = wrongIncludesUnder(folder);
        EXPECT_TRUE(wrong.isEmpty()) << wrong.join(QLatin1Char('\n')).toStdString();
    }
}

TEST(IncludeDirection, TheRuleSeesEveryFormOfAnInclude) {
    const struct {
        const char* file;
        const char* include;
        bool allowed;
    } cases[] = {
        {"gui/view/CPatView.cpp", "gui/canvas/CPatCanvas.h", true},
        {"gui/view/CPatView.cpp", "CustomPageSizeDialog.h", true},
        {"gui/app/CPatMain.cpp", "gui/view/CPatView.h", true},
        {"gui/records/RecordGrid.cpp", "gui/library/CResImageLoad.h", true},
        {"gui/canvas/CPatCanvas.cpp", "core/document/CPatDoc.h", true},
        {"gui/canvas/CPatCanvas.cpp", "gui/view/CPatView.h", false},
        {"gui/canvas/CPatCanvas.cpp", "../view/CPatView.h", false},
        {"gui/canvas/tools/Tool.cpp", "../../view/CPatView.h", false},
        {"gui/canvas/CPatCanvas.cpp", "./../app/CPatMain.h", false},
        {"gui/canvas/CPatCanvas.cpp", "gui/records/RecordGrid.h", false},  // one tier
        {"gui/common/CommandGroup.cpp", "gui/dialogs/ColourPicker.h", false},
        {"gui/view/CPatView.cpp", "gui/app/CPatMain.h", false},
        {"gui/view/CPatView.cpp", "gui/view/../app/CPatMain.h", false},
        {"core/document/CPatDoc.cpp", "gui/view/CPatView.h", false},
        {"core/document/CPatDoc.cpp", "../../cli/Request.h", false},
        {"gui/view/CPatView.cpp", "gui/elsewhere/Thing.h", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " includes " + c.include);
        EXPECT_EQ(wrongInclude(QString::fromUtf8(c.file), QString::fromUtf8(c.include)).isEmpty(), c.allowed);
    }
}
