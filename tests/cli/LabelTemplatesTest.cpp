// The bundled templates, as the build draws them into the program folder: twenty
// products of a till's list (long names and origins among them) imported through each
// one give signs the check finds nothing on; each label template carries an EAN-13 of
// 其他信息, and only the special-offer ones show 特价 and the original price.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "RunPemo.h"

namespace pemo {

namespace {

QStringList bundledTemplates() {
    QStringList found;
    QDirIterator it(QStringLiteral(PEMO_RUNTIME_DIR "/底图模板"), {QStringLiteral("*.vxt")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) found << it.next();
    found.sort();
    return found;
}

}  // namespace

TEST(LabelTemplates, TwentyProductsOfATillListCheckCleanOnEveryBundledTemplate) {
    const QStringList templates = bundledTemplates();
    // Three colours of 标签21格, 标签24格, 特价标签21格 and 特价标签24格.
    const QStringList labels = templates.filter(QRegularExpression(QStringLiteral("标签2.格\\.vxt$")));
    ASSERT_EQ(labels.size(), 12) << templates.join(QLatin1Char('\n')).toStdString();
    QTemporaryDir home;
    const QString list = QStringLiteral(PEMO_TEST_DATA "/shop/till20.csv");
    // 变量1 品名, 变量3 规格, 变量4 单位, 变量6 产地, 变量10 条码, 原价, 现价.
    const QString columns = QStringLiteral("2,0,3,4,0,5,0,0,0,1,6,7,0");
    for (const QString& path : templates) {
        const QString name = QFileInfo(path).completeBaseName();
        SCOPED_TRACE(name.toStdString());
        const QString out = home.filePath(name + QStringLiteral(".vxq"));
        const auto imported = test::runPemo({QStringLiteral("--import"), list, QStringLiteral("--header"),
                                             QStringLiteral("--columns"), columns, QStringLiteral("--template"), path,
                                             QStringLiteral("--export"), out},
                                            home.path());
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        const auto check = test::runPemo({QStringLiteral("--check"), out}, home.path());
        EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
        if (!labels.contains(path))
            continue;

        const auto dump = test::runPemo({QStringLiteral("--dump"), out}, home.path());
        const QJsonArray blocks = QJsonDocument::fromJson(dump.out)
                                      .object()
                                      .value(QStringLiteral("records"))
                                      .toArray()
                                      .at(0)
                                      .toObject()
                                      .value(QStringLiteral("blocks"))
                                      .toArray();
        QStringList kinds;
        QStringList texts;
        for (const QJsonValue& b : blocks) {
            kinds << b.toObject().value(QStringLiteral("kind")).toString();
            texts << b.toObject().value(QStringLiteral("text")).toString();
        }
        EXPECT_TRUE(kinds.contains(QStringLiteral("0x0202000A"))) << "the barcode of 其他信息";
        const bool special = name.contains(QString::fromUtf8("特价"));
        EXPECT_EQ(texts.contains(QString::fromUtf8("特价")), special);
        EXPECT_EQ(kinds.contains(QStringLiteral("0x02040001")), special) << "the original price";
    }
}

}  // namespace pemo
