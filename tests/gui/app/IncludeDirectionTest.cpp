// The folders include one another in one direction only: the core never sees the gui,
// the gui's lower folders never see the window (gui/app), and gui/common sees no other
// gui folder. Read from the source tree.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

QString sourceRoot() { return QDir(QStringLiteral(PEMO_TEST_DATA "/../../src")).canonicalPath(); }

// Every "folder/..." include of the files under folder, as "file: include".
QStringList includesOf(const QString& folder, const QStringList& forbidden) {
    QStringList found;
    const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""),
                                     QRegularExpression::MultilineOption);
    QDirIterator files(sourceRoot() + QLatin1Char('/') + folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            found << path + QStringLiteral(": unreadable");
            continue;
        }
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = include.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            for (const QString& f : forbidden) {
                if (target.startsWith(f + QLatin1Char('/'))) found << path + QStringLiteral(": ") + target;
            }
        }
    }
    return found;
}

}  // namespace

TEST(IncludeDirection, NoFolderIncludesOneAboveIt) {
    const QStringList lowerGui = {QStringLiteral("gui/canvas"), QStringLiteral("gui/view"),
                                  QStringLiteral("gui/dialogs"), QStringLiteral("gui/config"),
                                  QStringLiteral("gui/library"), QStringLiteral("gui/records")};
    const struct {
        QString folder;
        QStringList forbidden;
    } rules[] = {
        {QStringLiteral("core"), {QStringLiteral("gui"), QStringLiteral("cli")}},
        {QStringLiteral("gui/canvas"), {QStringLiteral("gui/app")}},
        {QStringLiteral("gui/view"), {QStringLiteral("gui/app")}},
        {QStringLiteral("gui/dialogs"), {QStringLiteral("gui/app")}},
        {QStringLiteral("gui/config"), {QStringLiteral("gui/app")}},
        {QStringLiteral("gui/library"), {QStringLiteral("gui/app")}},
        {QStringLiteral("gui/records"), {QStringLiteral("gui/app")}},
        {QStringLiteral("gui/common"), QStringList{QStringLiteral("gui/app")} + lowerGui},
    };
    ASSERT_TRUE(QDir(sourceRoot() + QStringLiteral("/gui/common")).exists()) << sourceRoot().toStdString();
    for (const auto& rule : rules) {
        SCOPED_TRACE(rule.folder.toStdString());
        const QStringList wrong = includesOf(rule.folder, rule.forbidden);
        EXPECT_TRUE(wrong.isEmpty()) << wrong.join(QLatin1Char('\n')).toStdString();
    }
}
