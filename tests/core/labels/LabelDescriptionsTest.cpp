#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "core/labels/LabelCatalogue.h"
#include "core/labels/LabelDescriptions.h"

namespace pemo {

namespace {

// A GNU message catalogue (.mo, little endian) of the pairs, with the header entry first.
QByteArray messageCatalogue(std::vector<std::pair<QByteArray, QByteArray>> pairs) {
    pairs.insert(pairs.begin(), {QByteArray(), QByteArray("Content-Type: text/plain; charset=UTF-8\n")});
    const quint32 count = quint32(pairs.size());
    const quint32 originals = 28;
    const quint32 translations = originals + count * 8;
    quint32 offset = translations + count * 8;
    QByteArray head(28, '\0');
    QByteArray tables(int(count * 16), '\0');
    QByteArray strings;
    const auto put = [](QByteArray& into, int at, quint32 value) { qToLittleEndian(value, into.data() + at); };
    put(head, 0, 0x950412de);
    put(head, 8, count);
    put(head, 12, originals);
    put(head, 16, translations);
    for (int side = 0; side < 2; ++side) {
        for (quint32 i = 0; i < count; ++i) {
            const QByteArray& text = side == 0 ? pairs[i].first : pairs[i].second;
            put(tables, int(side * count * 8 + i * 8), quint32(text.size()));
            put(tables, int(side * count * 8 + i * 8 + 4), offset);
            strings += text + '\0';
            offset += quint32(text.size() + 1);
        }
    }
    return head + tables + strings;
}

QString u(const char* text) { return QString::fromUtf8(text); }

}  // namespace

// The catalogue's own translations first (case ignored), then the table of common kinds;
// a description of several kinds is put together from its parts, and one with a part
// neither knows stays as written.
TEST(LabelDescriptions, ChineseFromTheTranslationsThenTheTable) {
    LabelDescriptions d;
    ASSERT_TRUE(d.readMessages(messageCatalogue({{"Mailing labels", u("信封标签").toUtf8()},
                                                  {"Round Labels", u("圆标签").toUtf8()}})));
    const struct {
        const char* english;
        const char* chinese;
    } cases[] = {
        {"Mailing labels", "信封标签"},
        {"Round labels", "圆标签"},
        {"Jar labels", "罐子标签"},
        {"Jar labels, candle labels, nutritional labels", "罐子标签、蜡烛标签、营养成分标签"},
        {"Jar labels, flux capacitor labels", "Jar labels, flux capacitor labels"},
        {"Something else", "Something else"},
    };
    for (const auto& c : cases) EXPECT_EQ(d.chinese(u(c.english)), u(c.chinese)) << c.english;
    // Bytes that are not a message catalogue are refused and keep nothing.
    LabelDescriptions other;
    EXPECT_FALSE(other.readMessages(QByteArray("not a catalogue at all")));
    QByteArray cut = messageCatalogue({{"Mailing labels", "x"}});
    cut.chop(12);
    EXPECT_FALSE(other.readMessages(cut));
    EXPECT_EQ(other.chinese(u("Mailing labels")), u("邮寄标签")) << "the table still answers";
}

// A catalogue folder with its translations installed beside it (…/share/locale): the
// search finds products by their Chinese descriptions.
TEST(LabelDescriptions, TheCatalogueIsSearchedInChinese) {
    QTemporaryDir share;
    const QString templates = share.filePath(QStringLiteral("libglabels-3.0/templates"));
    const QString messages = share.filePath(QStringLiteral("locale/zh_CN/LC_MESSAGES"));
    ASSERT_TRUE(QDir().mkpath(templates));
    ASSERT_TRUE(QDir().mkpath(messages));
    for (const char* file : {"iso-templates.xml", "paper-sizes.xml"}) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(PEMO_TEST_DATA "/labels/") + QLatin1String(file),
                                templates + QLatin1Char('/') + QLatin1String(file)));
    }
    QFile mo(messages + QStringLiteral("/glabels-3.0.mo"));
    ASSERT_TRUE(mo.open(QIODevice::WriteOnly));
    mo.write(messageCatalogue({{"Mailing labels", u("信封标签").toUtf8()}}));
    mo.close();

    LabelCatalogue catalogue;
    catalogue.loadFolder(templates);
    const auto names = [&](const char* text) {
        QStringList found;
        for (const LabelTemplate* t : catalogue.search(u(text))) found << t->name();
        return found;
    };
    EXPECT_TRUE(names("信封").contains(u("Avery L7160")));
    EXPECT_TRUE(names("avery 信封标签").contains(u("Avery 7160")));
    EXPECT_EQ(names("圆形标签"), QStringList{u("Hama 50151")}) << "from the table of kinds";
    EXPECT_TRUE(names("地址").isEmpty());
}

}  // namespace pemo
