#include <gtest/gtest.h>

#include <optional>

#include "core/codecs/Gbk.h"
#include "core/text/FontChoices.h"

using namespace pemo;

namespace {

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

QList<QByteArray> gbkList(std::initializer_list<const char*> names) {
    QList<QByteArray> out;
    for (const char* name : names) out.append(gbk(name));
    return out;
}

}  // namespace

TEST(FontChoices, ListsMadeFromTheTableAndTheInstalledFamilies) {
    struct Case {
        const char* what;
        QList<QByteArray> table;
        QStringList latin;
        QStringList cjk;
        std::optional<QList<QByteArray>> chinese;  // unset: not what the case is about
        std::optional<QList<QByteArray>> western;
    };
    const Case cases[] = {
        {"table names first, then installed CJK families in their order",
         gbkList({"宋体", "黑体"}), {}, {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UKai CN")},
         gbkList({"宋体", "黑体", "Noto Sans CJK SC", "AR PL UKai CN"}), std::nullopt},
        {"vertical faces are never listed",
         gbkList({"宋体"}), {QStringLiteral("@Foo")}, {QStringLiteral("@SimSun"), QStringLiteral("Zen")},
         gbkList({"宋体", "Zen"}), gbkList({"宋体"})},
        {"a name offered twice is listed once",
         gbkList({"黑体"}), {}, {QStringLiteral("黑体"), QStringLiteral("黑体")},
         gbkList({"黑体"}), gbkList({"黑体"})},
        {"Western names in byte order, whatever order they came in",
         gbkList({"Times New Roman", "Arial"}),
         {QStringLiteral("arial"), QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans")}, {},
         std::nullopt, gbkList({"Arial", "Arial Black", "DejaVu Sans", "Times New Roman", "arial"})},
        {"a Chinese family that also writes Latin stays in the Chinese box",
         {}, {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Liberation Sans")},
         {QStringLiteral("Noto Sans CJK SC")},
         gbkList({"Noto Sans CJK SC"}), gbkList({"Liberation Sans"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.chinese) {
            EXPECT_EQ(FontChoices::chineseFrom(c.table, c.cjk), *c.chinese);
        }
        if (c.western) {
            EXPECT_EQ(FontChoices::westernFrom(c.table, c.latin, c.cjk), *c.western);
        }
    }
}

TEST(FontChoices, TheMachinesListsOfferTheShopNamesAndItsOwnCjkFaces) {
    const QList<QByteArray> chinese = FontChoices::chinese();
    for (const char* name : {"宋体", "黑体", "楷体_GB2312", "仿宋_GB2312", "隶书"}) {
        EXPECT_TRUE(chinese.contains(gbk(name))) << name;
    }
    // The installed CJK faces are there (no charset filter hides them).
    EXPECT_TRUE(chinese.contains(QByteArray("Noto Sans CJK SC")));
    const QList<QByteArray> western = FontChoices::western();
    EXPECT_TRUE(western.contains(QByteArray("Arial")));
    EXPECT_TRUE(western.contains(QByteArray("Liberation Sans")));
    EXPECT_FALSE(western.contains(QByteArray("Noto Sans CJK SC")));
    for (const QByteArray& name : chinese + western) EXPECT_FALSE(name.startsWith('@'));
}
