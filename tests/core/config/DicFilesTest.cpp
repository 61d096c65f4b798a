#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "Bytes.h"
#include "core/codecs/Picture.h"
#include "core/config/ConfigPictures.h"
#include "core/config/DicFile.h"
#include "core/config/MallInfoList.h"
#include "core/config/PhraseList.h"
#include "core/config/VariableNameList.h"
#include "core/platform/Folders.h"

using namespace pemo;
using pemo::test::Bytes;
using pemo::test::gbk;

namespace {

QByteArray fileBytes(const char* name) {
    QFile f(DicFile::path(QString::fromLatin1(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const char* name, const QByteArray& bytes) {
    QFile f(DicFile::path(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class DicFiles : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"PemDefvar.dic", "PemVar.dic", "PemStore.dic", "PemText.dic",
                                 "PemLogo1.bmp", "PemLogo1.wmf"}) {
            deleteFileForced(DicFile::path(QString::fromLatin1(name)));
        }
    }
};

}  // namespace

TEST_F(DicFiles, DefaultsWithoutAnyFile) {
    EXPECT_EQ(VariableNameList::build().names(), VariableNameList::defaultNames());
    const MallInfoList mall = MallInfoList::build();
    ASSERT_EQ(mall.entries().size(), 5);
    EXPECT_EQ(mall.entry(0).name, gbk("商场简称"));
    EXPECT_EQ(mall.entry(0).value, gbk("澜川"));
    EXPECT_EQ(mall.entry(4).name, gbk("商场网址"));
    EXPECT_EQ(mall.entry(4).value, QByteArray("www.lanchuan.com.cn"));
    const PhraseList phrases = PhraseList::build();
    EXPECT_EQ(phrases.size(), 1);
    EXPECT_EQ(phrases.phrase(0), gbk("文字"));
    EXPECT_TRUE(VariableNameList::loadSets().isEmpty());
}

TEST_F(DicFiles, FilesMatchBytesBuiltByHand) {
    QList<QByteArray> names = VariableNameList::defaultNames();
    names[0] = gbk("品名");
    ASSERT_TRUE(VariableNameList::saveAsDefault(names));
    Bytes defvar;
    defvar.i32(10);
    for (const QByteArray& n : names) defvar.gbkText(n);
    EXPECT_EQ(fileBytes("PemDefvar.dic"), defvar.data());
    EXPECT_EQ(VariableNameList::build().name(0), gbk("品名"));

    ASSERT_TRUE(VariableNameList::saveSets({names, VariableNameList::defaultNames()}));
    Bytes sets;
    sets.i32(2);
    for (const QByteArray& n : names) sets.gbkText(n);
    for (const QByteArray& n : VariableNameList::defaultNames()) sets.gbkText(n);
    EXPECT_EQ(fileBytes("PemVar.dic"), sets.data());
    EXPECT_EQ(VariableNameList::loadSets().size(), 2);

    MallInfoList mall;
    mall.setValue(1, gbk("华联商厦"));
    ASSERT_TRUE(mall.save());
    Bytes store;
    store.i32(5);
    for (const MallInfoEntry& e : mall.entries()) store.gbkText(e.name).gbkText(e.value);
    EXPECT_EQ(fileBytes("PemStore.dic"), store.data());
    EXPECT_EQ(MallInfoList::build().entry(1).value, gbk("华联商厦"));

    PhraseList phrases;
    phrases.add(gbk("特价"));
    phrases.add(gbk("新品"));
    ASSERT_TRUE(phrases.save());
    EXPECT_EQ(fileBytes("PemText.dic"), Bytes().i32(2).text("特价").text("新品").data());
    const PhraseList read = PhraseList::build();
    ASSERT_EQ(read.size(), 3);
    EXPECT_EQ(read.phrase(2), gbk("新品"));
}

TEST_F(DicFiles, CountsAreCheckedAgainstWhatTheProgramOffers) {
    // Two mall entries: the rest come from the defaults; seven: cut to five.
    writeFile("PemStore.dic", Bytes().i32(2).text("甲").text("1").text("乙").text("2"));
    MallInfoList mall = MallInfoList::build();
    ASSERT_EQ(mall.entries().size(), 5);
    EXPECT_EQ(mall.entry(1).name, gbk("乙"));
    EXPECT_EQ(mall.entry(2).name, gbk("监督电话"));
    Bytes seven;
    seven.i32(7);
    for (int i = 0; i < 7; ++i) seven.text("x").text("y");
    writeFile("PemStore.dic", seven);
    EXPECT_EQ(MallInfoList::build().entries().size(), 5);

    // 25 phrases: only 20 are offered after "文字".
    Bytes many;
    many.i32(25);
    for (int i = 0; i < 25; ++i) many.text("短语");
    writeFile("PemText.dic", many);
    EXPECT_EQ(PhraseList::build().size(), 21);

    // Three names: the other seven are the built-in ones. A count past the bytes: defaults.
    writeFile("PemDefvar.dic", Bytes().i32(3).text("a").text("b").text("c"));
    const VariableNameList names = VariableNameList::build();
    EXPECT_EQ(names.name(2), QByteArray("c"));
    EXPECT_EQ(names.name(3), VariableNameList::defaultNames().at(3));
    writeFile("PemDefvar.dic", Bytes().i32(1000).text("a"));
    EXPECT_EQ(VariableNameList::build().names(), VariableNameList::defaultNames());
}

TEST_F(DicFiles, AReadOnlyFileIsReplaced) {
    writeFile("PemText.dic", Bytes().i32(0));
    QFile::setPermissions(DicFile::path(QStringLiteral("PemText.dic")), QFileDevice::ReadOwner);
    PhraseList phrases;
    phrases.add(gbk("清仓"));
    ASSERT_TRUE(phrases.save());
    EXPECT_EQ(PhraseList::build().size(), 2);
}

TEST_F(DicFiles, LogoReplacementWritesTheNewFileBeforeTheOldGoes) {
    QImage png(5, 3, QImage::Format_RGB32);
    png.fill(Qt::red);
    const QString chosen = programFolder() + QStringLiteral("/chosen.png");
    ASSERT_TRUE(png.save(chosen));
    writeFile("PemLogo1.wmf", "old metafile");

    ASSERT_TRUE(ConfigPictures::replace(ConfigPictures::Which::Logo1, chosen));
    EXPECT_FALSE(QFile::exists(DicFile::path(QStringLiteral("PemLogo1.wmf"))));
    const QString logo = ConfigPictures::path(ConfigPictures::Which::Logo1);
    EXPECT_TRUE(logo.endsWith(QStringLiteral("PemLogo1.bmp")));
    const Picture picture = Picture::fromFile(logo);
    EXPECT_EQ(picture.size(), QSize(8, 3));  // width rounded up to a multiple of 4
    EXPECT_EQ(picture.image().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(picture.image().pixelColor(7, 0), QColor(Qt::white));

    // A file that cannot be read leaves the current logo in place.
    EXPECT_FALSE(ConfigPictures::replace(ConfigPictures::Which::Logo1,
                                         programFolder() + QStringLiteral("/missing.png")));
    EXPECT_EQ(ConfigPictures::path(ConfigPictures::Which::Logo1), logo);

    // A metafile is copied unchanged and the bitmap goes.
    const QString wmf = programFolder() + QStringLiteral("/chosen.WMF");
    {
        QFile f(wmf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("metafile bytes");
    }
    ASSERT_TRUE(ConfigPictures::replace(ConfigPictures::Which::Logo1, wmf));
    EXPECT_FALSE(QFile::exists(logo));
    EXPECT_EQ(fileBytes("PemLogo1.wmf"), QByteArray("metafile bytes"));
}
