#include <gtest/gtest.h>

#include <QSettings>

// The test programs keep what they write, and the print server they would ask, inside
// their own temporary folder (see TestMain).
TEST(TestEnvironment, SettingsAndPrintServerStayInTheTemporaryFolder) {
    const QString home = qEnvironmentVariable("PEMO_HOME");
    ASSERT_FALSE(home.isEmpty());
    EXPECT_TRUE(QSettings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo")).fileName().startsWith(home));
    EXPECT_TRUE(QSettings(QStringLiteral("QtProject")).fileName().startsWith(home));
    EXPECT_TRUE(qEnvironmentVariable("CUPS_SERVER").startsWith(home));
}
