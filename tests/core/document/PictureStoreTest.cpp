#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/codecs/Archive.h"
#include "core/pictures/PictureStore.h"
#include "core/platform/Folders.h"

using namespace pemo;
using test::Bytes;
using test::gbk;

namespace {

class PictureStoreTest : public testing::Test {
protected:
    // A small picture file in a library-like folder outside the temp folder.
    QString picture(const QString& name, int w = 4, int h = 3) {
        const QString path = library.filePath(name);
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::red);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    PictureDescription describe(const QString& path, const char* name = "花") {
        return PictureDescription::ofFile(path, PictureDescription::LibraryPicture, gbk("图库"),
                                          gbk(name));
    }
    static QByteArray bytesOf(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool insideTempFolder(const QString& path) {
        return QDir::cleanPath(QFileInfo(path).absolutePath()) == QDir::cleanPath(tempFolder());
    }

    QTemporaryDir library;
};

}  // namespace

TEST_F(PictureStoreTest, AddCopiesOnceIntoTheTempFolder) {
    const QString source = picture("flower.bmp");
    // A read-only library file still gives a writable private copy.
    ASSERT_TRUE(QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    PictureStore store;
    const QByteArray key = store.add(describe(source));
    ASSERT_FALSE(key.isEmpty());
    EXPECT_EQ(store.add(describe(source)), key);  // the same picture again: same key
    ASSERT_EQ(store.size(), 1);

    const StoredPicture& e = *store.entries()[0];
    EXPECT_EQ(e.key(), key);
    const QString copy = e.description().filePath;
    const QRegularExpression form(
        QRegularExpression::escape(tempFolder() + "/IMAGE" + QString::fromLatin1(key) + "-") +
        "[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\.bmp$");
    EXPECT_TRUE(form.match(copy).hasMatch()) << copy.toStdString();
    EXPECT_EQ(bytesOf(copy), bytesOf(source));
    EXPECT_TRUE(QFile::permissions(copy) & QFileDevice::WriteOwner);
    EXPECT_EQ(store.descriptionOf(key).name, gbk("花"));
    EXPECT_TRUE(store.descriptionOf("nope").filePath.isEmpty());

    // Later changes to the library do not reach the copy.
    QFile::remove(source);
    EXPECT_TRUE(QFileInfo::exists(copy));

    store.clear();
    EXPECT_EQ(store.size(), 0);
    EXPECT_FALSE(QFileInfo::exists(copy));
}

TEST_F(PictureStoreTest, WriteReadRoundTrip) {
    PictureStore store;
    const QByteArray k1 = store.add(describe(picture("a.bmp", 2, 2), "一"));
    const QByteArray k2 = store.add(describe(picture("b.bmp", 3, 1), "二"));
    ArchiveWriter out;
    store.write(out, false);

    const QByteArray file1 = bytesOf(library.filePath("a.bmp"));
    Bytes first;
    first.gbkText(k1).i32(2).text("图库").text("一").text(".bmp").i32(2).i32(2);
    first.i32(int32_t(file1.size())).raw(file1);
    EXPECT_EQ(out.data().left(4), QByteArray(Bytes().i32(2)));
    EXPECT_EQ(out.data().mid(4, first.data().size()), first.data());

    PictureStore read;
    ArchiveReader in(out.data());
    read.read(in);
    EXPECT_TRUE(in.atEnd());
    ASSERT_EQ(read.size(), 2);
    // Written again, the copy gives the same bytes; each entry has its own private copy.
    ArchiveWriter again;
    read.write(again, false);
    EXPECT_EQ(again.data(), out.data());
    const StoredPicture& b = *read.entries()[1];
    EXPECT_EQ(b.key(), k2);
    EXPECT_NE(b.description().filePath, store.entries()[1]->description().filePath);
    EXPECT_TRUE(QFileInfo(b.description().filePath)
                    .fileName()
                    .startsWith("IMAGE" + QString::fromLatin1(k2) + "-"));
    EXPECT_TRUE(insideTempFolder(b.description().filePath));
}

TEST_F(PictureStoreTest, MarkPassWritesOnlyMarkedEntries) {
    PictureStore store;
    const QByteArray k1 = store.add(describe(picture("a.bmp"), "一"));
    const QByteArray k2 = store.add(describe(picture("b.bmp"), "二"));
    const QByteArray k3 = store.add(describe(picture("c.bmp"), "三"));
    store.clearMarks();
    store.mark(k3);
    store.mark(k1);
    store.mark(k3);
    store.mark("unknown");
    EXPECT_EQ(store.countMarked(), 2);
    EXPECT_EQ(store.usedCount(), 2);

    ArchiveWriter out;
    store.write(out, true);
    PictureStore read;
    ArchiveReader in(out.data());
    read.read(in);
    EXPECT_TRUE(in.atEnd());
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read.entries()[0]->key(), k1);
    EXPECT_EQ(read.entries()[1]->key(), k3);
    EXPECT_FALSE(read.contains(k2));

    // A new pass starts from nothing.
    store.clearMarks();
    ArchiveWriter none;
    store.write(none, true);
    EXPECT_EQ(none.data(), QByteArray(Bytes().i32(0)));
}

TEST_F(PictureStoreTest, ReadRefusesBrokenEntries) {
    const auto entry = [](int32_t byteCount, const QByteArray& bytes) {
        return QByteArray(Bytes().text("k").i32(2).text("c").text("n").text(".bmp").i32(1).i32(1)
                              .i32(byteCount).raw(bytes));
    };
    const struct {
        const char* name;
        QByteArray stream;
    } cases[] = {
        {"byte count beyond the bytes left", Bytes().i32(1).raw(entry(11, "0123456789"))},
        {"huge byte count", Bytes().i32(1).raw(entry(0x7fffffff, "0123456789"))},
        {"negative byte count", Bytes().i32(1).raw(entry(-1, "0123456789"))},
        {"entry count beyond the bytes left", Bytes().i32(2).raw(entry(4, "abcd"))},
        {"negative entry count", Bytes().i32(-1)},
        {"cut inside the header", Bytes().i32(1).raw(entry(4, "abcd").left(12))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureStore store;
        ArchiveReader in(c.stream);
        EXPECT_THROW(store.read(in), FormatError);
    }
    PictureStore store;
    ArchiveReader in(Bytes().i32(1).raw(entry(4, "abcd")));
    store.read(in);
    ASSERT_EQ(store.size(), 1);
    EXPECT_EQ(store.entries()[0]->fileBytes(), QByteArray("abcd"));
}

TEST_F(PictureStoreTest, KeysAndExtensionsFromAStreamStayInTheTempFolder) {
    const char* const keys[] = {"../../x", "..\\..\\x", "/etc/passwd", "..", "a/../../b", ""};
    const char* const extensions[] = {".bmp", "/../../y", "\\..\\z", ".."};
    for (const char* key : keys) {
        for (const char* ext : extensions) {
            SCOPED_TRACE(testing::Message() << key << " " << ext);
            const QString path = pictureCopyPath(key, ext);
            EXPECT_TRUE(insideTempFolder(path)) << path.toStdString();
            EXPECT_TRUE(QFileInfo(path).fileName().startsWith("IMAGE"));
        }
    }
    // Through the reader, with the file really written.
    PictureStore store;
    ArchiveReader in(Bytes().i32(1).text("../../x").i32(2).text("c").text("n").text("/../e")
                         .i32(1).i32(1).i32(3).raw("abc"));
    store.read(in);
    ASSERT_EQ(store.size(), 1);
    const QString path = store.entries()[0]->description().filePath;
    EXPECT_TRUE(insideTempFolder(path)) << path.toStdString();
    EXPECT_EQ(bytesOf(path), QByteArray("abc"));
    EXPECT_EQ(store.entries()[0]->key(), QByteArray("../../x"));  // the key itself is kept
}
