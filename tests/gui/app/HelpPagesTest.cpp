#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

const QString kHelp = QStringLiteral(PEMO_TEST_DATA "/../../resources/program/PemoHelp");

QStringList references(const QString& page, const QString& attribute) {
    QFile file(kHelp + QLatin1Char('/') + page);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString html = QString::fromUtf8(file.readAll());
    QStringList out;
    const QRegularExpression pattern(attribute + uR"re(="([^"#:]+)")re"_s);
    for (auto it = pattern.globalMatch(html); it.hasNext();) out.append(it.next().captured(1));
    return out;
}

}  // namespace

// Every page is reached from the contents, and no link or picture points at a missing file.
TEST(HelpPages, EveryPageIsReachedAndEveryReferenceResolves) {
    const QStringList pages = QDir(kHelp).entryList({u"*.html"_s}, QDir::Files);
    ASSERT_TRUE(pages.contains(u"index.html"_s));
    QSet<QString> reached{u"index.html"_s};
    QStringList queue{u"index.html"_s};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        for (const QString& link : references(page, u"href"_s)) {
            EXPECT_TRUE(QFileInfo::exists(kHelp + QLatin1Char('/') + link)) << page.toStdString() << " → " << link.toStdString();
            if (link.endsWith(u".html"_s) && !reached.contains(link)) {
                reached.insert(link);
                queue.append(link);
            }
        }
        for (const QString& picture : references(page, u"src"_s)) {
            EXPECT_TRUE(QFileInfo::exists(kHelp + QLatin1Char('/') + picture)) << page.toStdString() << " → " << picture.toStdString();
        }
    }
    for (const QString& page : pages) EXPECT_TRUE(reached.contains(page)) << page.toStdString();
}
