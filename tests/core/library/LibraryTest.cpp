#include <gtest/gtest.h>

#include "LibrarySupport.h"
#include "core/library/LibraryEdits.h"
#include "core/library/LibraryFolders.h"
#include "core/library/LibraryItems.h"
#include "core/library/ThumbnailGeometry.h"

using namespace pemo;
using namespace pemo::test;

namespace {

TEST(ThumbnailGeometryTest, RowsAndScrollRange) {
    struct Case {
        int width, height, count;
        int visible, maximum;
    };
    // Width 150: thumbnails 103 high, rows 126.
    const Case cases[] = {
        {150, 378, 3, 3, 1},  // exactly three rows high
        {150, 379, 3, 4, 0},  // a fourth row shows in part
        {150, 378, 1, 3, 0},  // count not above visible - 2
        {150, 378, 2, 3, 0}, {150, 400, 2000, 4, 1997},
        {12, 400, 5, 18, 0},  // thumbnails of no height: rows of 23
    };
    for (const Case& c : cases) {
        ThumbnailGeometry g{c.width, c.height};
        EXPECT_EQ(g.visibleRows(), c.visible) << c.width << "x" << c.height;
        EXPECT_EQ(g.scrollMaximum(c.count), c.maximum) << c.height << " " << c.count;
    }
    ThumbnailGeometry none{150, 400, false};
    EXPECT_EQ(none.visibleRows(), 10);
    ThumbnailGeometry flat{-100, 400};
    EXPECT_LE(flat.rowHeight(), 0);
    EXPECT_EQ(flat.visibleRows(), 10);

    const ThumbnailGeometry g{150, 400};
    EXPECT_EQ(g.thumbnailRect(0), QRect(QPoint(6, 3), QPoint(143, 105)));
    EXPECT_EQ(g.captionRect(0), QRect(QPoint(6, 109), QPoint(143, 122)));
    EXPECT_EQ(g.thumbnailRect(2).top(), 2 * 126 + 3);
}

TEST(ThumbnailGeometryTest, FitRule) {
    struct Case {
        QSize picture;
        QRect box;
        QRect drawn;
    };
    const Case cases[] = {
        {{400, 100}, {0, 0, 200, 150}, {0, 50, 200, 50}},  // wider: full width, centred
        {{100, 400}, {0, 0, 200, 150}, {81, 0, 37, 150}},  // taller: full height
        {{50, 30}, {10, 20, 200, 150}, {85, 80, 50, 30}},  // smaller: own size, centred
        {{200, 150}, {0, 0, 200, 150}, {0, 0, 200, 150}},  // fits exactly
        {{800, 600}, {0, 0, 200, 150}, {0, 0, 200, 150}},  // same shape: fills
        {{201, 150}, {0, 0, 200, 150}, {0, 0, 200, 149}},  // integer division
        {{0, 10}, {0, 0, 200, 150}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitRect(c.picture, c.box), c.drawn)
            << c.picture.width() << "x" << c.picture.height();
    }
}

class LibraryListingTest : public LibraryFolderTest {};

TEST_F(LibraryListingTest, ListsPictureTypesSortedByName) {
    const QString folder = libraryPath("节日");
    writePicture(folder + "/b.JPG");
    writePicture(folder + "/a.bmp", QSize(7, 5));
    writeBytes(folder + "/c10.gif", "GIF89a");
    writePicture(folder + "/c9.tif");
    writePicture(folder + "/d.png");
    writeBytes(folder + "/e.txt", "text");
    writeBytes(folder + "/f.jpeg", "x");
    QDir().mkpath(folder + "/g.jpg");
    QDir().mkpath(folder + "/a-TMPL");
    QStringList names;
    const QVector<BackgroundItem> items = LibraryItems::backgrounds(u("节日"));
    for (const BackgroundItem& item : items)
        names << Gbk::toUnicode(item.description.name);
    EXPECT_EQ(names, QStringList({"a", "b", "c9", "c10"}));
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.front().caption(), "a(7x5)");
    EXPECT_EQ(items.front().description.kind, PictureDescription::Background);
    EXPECT_EQ(items.front().description.extension, ".bmp");
    EXPECT_EQ(items.at(1).description.category, Gbk::fromUnicode(u("节日")));

    QDir().mkpath(libraryPath("促销"));
    writeBytes(libraryPath("文件.jpg"), "not a folder");
    // Folders only, in the order of their reading.
    EXPECT_EQ(LibraryFolders::categories(LibraryFolders::backgroundRoot()),
              QStringList({u("促销"), u("节日")}));
    EXPECT_TRUE(LibraryFolders::categories(programFolder() + "/missing").isEmpty());
}

// A list reads the sizes that file headers give; metafiles (as PCX and TGA) are left
// unmeasured for their thumbnails, and describing one whole decodes it.
TEST_F(LibraryListingTest, ListingDecodesNoPictureForItsSize) {
    const QString wmf = QStringLiteral(PEMO_TEST_DATA "/metafiles/inkscape-shapes.wmf");
    const QString folder = libraryPath("节日");
    writePicture(folder + "/a.bmp", QSize(7, 5));
    ASSERT_TRUE(QFile::copy(wmf, folder + "/b.wmf"));
    const QVector<BackgroundItem> items = LibraryItems::backgrounds(u("节日"));
    ASSERT_EQ(items.size(), 2);
    const struct {
        int index;
        bool measured;
        int width;
    } cases[] = {{0, true, 7}, {1, false, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(items.at(c.index).measured, c.measured);
        EXPECT_EQ(items.at(c.index).description.width, c.width);
    }
    const PictureDescription whole =
        LibraryItems::describe(folder + "/b.wmf", PictureDescription::Background, u("节日"), "b");
    EXPECT_GT(whole.width, 0);
    for (const char* name : {"x.WMF", "x.emf", "x.pcx", "x.tga"})
        EXPECT_TRUE(LibraryItems::sizeNeedsDecoding(QString::fromLatin1(name))) << name;
    EXPECT_FALSE(LibraryItems::sizeNeedsDecoding(QStringLiteral("x.jpg")));
}

TEST_F(LibraryListingTest, TemplatesNeedAHeaderAPreviewAndADash) {
    writePicture(libraryPath("节日/红色.jpg"));
    const QString folder = libraryPath("节日/红色-TMPL");
    const auto put = [&](const QString& base, const QByteArray& bytes, bool preview) {
        writeBytes(folder + "/" + base + ".vxt", bytes);
        if (preview)
            writePicture(folder + "/" + base + ".bmp");
    };
    put(u("红色-促销"), templateBytes(190, 280), true);
    put(u("红色-标签"), templateBytes(90, 60), true);
    put(u("红色-无图"), templateBytes(190, 280), false);
    put(u("红色-坏"), QByteArray("QRWNPEMT garbage"), true);
    put(u("红色-短"), templateBytes(190, 280).left(20), true);
    QByteArray newer = templateBytes(190, 280);
    newer[9] = 0x21;  // version 0x0321
    put(u("红色-新"), newer, true);
    put(u("无横线"), templateBytes(190, 280), true);
    put(u("-开头"), templateBytes(190, 280), true);

    const QVector<BackgroundItem> backgrounds = LibraryItems::backgrounds(u("节日"));
    ASSERT_EQ(backgrounds.size(), 1);
    QStringList captions;
    for (const TemplateItem& t : LibraryItems::templates(backgrounds.front()))
        captions << t.caption();
    captions.sort();
    EXPECT_EQ(captions, QStringList({u("红色-促销(A4)"), u("红色-标签(90x60)")}));
}

TEST(TemplateCaptionTest, SizeTags) {
    const struct {
        int w, h;
        const char* caption;
    } cases[] = {{190, 280, "红-甲(A4)"}, {280, 400, "红-甲(A3)"},  {400, 580, "红-甲(A2)"},
                 {580, 820, "红-甲(A1)"}, {820, 1170, "红-甲(A0)"}, {280, 190, "红-甲(280x190)"}};
    for (const auto& c : cases) {
        TemplateItem item;
        item.background.name = Gbk::fromUnicode(u("红"));
        item.templateName = u("甲");
        item.widthMm = c.w;
        item.heightMm = c.h;
        EXPECT_EQ(item.caption(), u(c.caption));
    }
}

class LibraryEditTest : public LibraryFolderTest {};

TEST_F(LibraryEditTest, NameChecks) {
    const QString folder = libraryPath("节日");
    writePicture(folder + "/红色.bmp");
    using LibraryEdits::What;
    const struct {
        What what;
        const char* name;
        const char* problem;
    } cases[] = {
        {What::Background, "", "请输入底图名称!"},
        {What::Picture, "", "请输入图片名称!"},
        {What::Background, "a.b", "底图名称中不能含有'.'符号!"},
        {What::Picture, "..", "图片名称中不能含有'.'符号!"},
        {What::Background, "../x", "底图名称中不能含有'.'符号!"},
        {What::Background, "a/b", "底图名称中不能含有 \\ / : * ? \" < > | 等符号!"},
        {What::Background, "a\\b", "底图名称中不能含有 \\ / : * ? \" < > | 等符号!"},
        {What::Background, "a*", "底图名称中不能含有 \\ / : * ? \" < > | 等符号!"},
        {What::Picture, "a?", "图片名称中不能含有 \\ / : * ? \" < > | 等符号!"},
        {What::Picture, "a\tb", "图片名称中不能含有 \\ / : * ? \" < > | 等符号!"},
        {What::Picture, "😀", "图片名称中不能含有 \\ / : * ? \" < > | 等符号!"},
        {What::Background, "红色", "相同名称的底图已存在, 请重新输入底图名称!"},
        {What::Picture, "红色", "相同名称的图片已存在, 请重新输入图片名称!"},
        {What::Background, "红", ""},
        {What::Background, "红色[1]", ""},
        {What::Background, "红色-春节", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LibraryEdits::nameProblem(c.what, folder, u(c.name)), u(c.problem)) << c.name;
    }
}

TEST_F(LibraryEditTest, AddCopiesWithoutOverwriting) {
    const QString folder = libraryPath("节日");
    QDir().mkpath(folder);
    const QString source = programFolder() + "/source.JPG";
    writePicture(source, QSize(5, 5), Qt::blue);
    using LibraryEdits::What;
    QString target;
    const QString added =
        LibraryEdits::addFile(What::Background, source, folder, u("蓝[1]"), &target);
    EXPECT_EQ(added, folder + u("/蓝[1].JPG"));
    EXPECT_TRUE(QFileInfo(added).isFile());
    // The same name again, or a name leading out of the folder, copies nothing.
    EXPECT_TRUE(
        LibraryEdits::addFile(What::Background, source, folder, u("蓝[1]"), &target).isEmpty());
    EXPECT_EQ(target, folder + u("/蓝[1].JPG"));
    EXPECT_TRUE(
        LibraryEdits::addFile(What::Picture, source, folder, u("../逃"), &target).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(libraryPath("逃.JPG")));
    EXPECT_TRUE(LibraryEdits::addFile(What::Picture, programFolder() + "/none.jpg", folder, u("无"))
                    .isEmpty());
    QDir(programFolder()).remove("source.JPG");
}

TEST_F(LibraryEditTest, AddRefusesFilesTheListWouldNotShow) {
    const QString folder = libraryPath("节日");
    QDir().mkpath(folder);
    using LibraryEdits::What;
    for (const char* file : {"photo.jpeg", "notes.txt", "noext", "logo.png", "tail."}) {
        SCOPED_TRACE(file);
        const QString source = programFolder() + "/" + u(file);
        writeBytes(source, "BM picture bytes");
        EXPECT_TRUE(LibraryEdits::addFile(What::Picture, source, folder, u("新")).isEmpty());
        EXPECT_TRUE(QDir(folder).isEmpty());
        QFile::remove(source);
    }
}

TEST_F(LibraryEditTest, DeletingMatchesNamesLiterally) {
    const QString folder = libraryPath("节日");
    // Neighbours whose names a wildcard built from "a*" or "a[b]" would match.
    for (const char* file : {"a*.jpg", "ab.jpg", "a[b].jpg", "a.jpg", "a*b.bmp"})
        writePicture(folder + "/" + u(file));
    for (const char* file : {"a*-TMPL/a*-一.vxt", "a*-TMPL/a*-一.bmp", "a*-TMPL/a*-二.vxt",
                             "a*-TMPL/a*-二.bmp", "a*-TMPL/a*-三.vxt", "a*-TMPL/a*-三.bmp",
                             "ab-TMPL/ab-一.vxt", "ab-TMPL/ab-一.bmp", "a[b]-TMPL/a[b]-一.vxt"}) {
        writeBytes(folder + "/" + u(file), "x");
    }
    EXPECT_EQ(LibraryFolders::filesNamed(folder, "a*"), QStringList({folder + "/a*.jpg"}));
    EXPECT_EQ(LibraryFolders::filesNamed(folder, "a[b]"), QStringList({folder + "/a[b].jpg"}));

    const LibraryEdits::BackgroundDeletion plan =
        LibraryEdits::planBackgroundDeletion(folder + "/a*.jpg", "a*");
    EXPECT_EQ(plan.templateCount, 3);
    EXPECT_EQ(plan.files().size(), 7);
    EXPECT_TRUE(LibraryEdits::deleteBackground(plan).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder + "/a*-TMPL"));
    QStringList left = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left,
              QStringList({"a*b.bmp", "a.jpg", "a[b]-TMPL", "a[b].jpg", "ab-TMPL", "ab.jpg"}));
    EXPECT_EQ(QDir(folder + "/ab-TMPL").entryList(QDir::Files).size(), 2);

    // A file in the template folder that is not the background's keeps the folder.
    writeBytes(folder + "/a[b]-TMPL/其他.txt", "x");
    const auto second = LibraryEdits::planBackgroundDeletion(folder + "/a[b].jpg", "a[b]");
    EXPECT_EQ(second.templateCount, 1);
    EXPECT_TRUE(LibraryEdits::deleteBackground(second).isEmpty());
    EXPECT_EQ(QDir(folder + "/a[b]-TMPL").entryList(QDir::Files), QStringList({u("其他.txt")}));
}

TEST_F(LibraryEditTest, ReportsFilesItCouldNotDelete) {
    const QString folder = libraryPath("节日");
    writePicture(folder + "/a.jpg");
    const QStringList failed = LibraryEdits::deleteFiles({folder + "/a.jpg", folder + "/gone.jpg"});
    EXPECT_EQ(failed, QStringList({folder + "/gone.jpg"}));
    EXPECT_FALSE(QFileInfo::exists(folder + "/a.jpg"));
    EXPECT_TRUE(LibraryEdits::notDeletedMessage(failed).contains("gone.jpg"));
}

}  // namespace
