#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Bytes.h"
#include "FileTestSupport.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/TemplateFile.h"

using namespace pemo;
using namespace pemo::filetest;
using pemo::test::Bytes;
using pemo::test::gbk;

namespace {

// The header of a template file up to its payload size.
Bytes templateHeader(uint16_t version, int32_t packed, int32_t payloadSize, int32_t wMm = 100,
                     int32_t hMm = 50, int32_t wTw = 5669, int32_t hTw = 2834) {
    Bytes b;
    b.u8(8).raw("QRWNPEMT").u16(version).i32(wMm).i32(hMm).i32(wTw).i32(hTw).i32(packed);
    b.zeros(4).i32(payloadSize);
    return b;
}

QByteArray olderTemplate(const QByteArray& inner) {
    const QByteArray zip = storedZip(inner);
    return templateHeader(0x0300, 1, int32_t(zip.size())).raw(zip);
}

class TemplateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerTestBlocks();
        doc.newDocument();
    }

    // A page of 100 × 50 mm on the library background 节日/春节, with a variable block
    // and a picture block.
    InfoRecord& designedRecord() {
        InfoRecord& r = *doc.records.front();
        r.resizePage(100, 50);
        const QString bg = library_.path() + "/春节.bmp";
        writeFile(bg, bmpBytes(0xFFCC00));
        r.applyBackground(PictureDescription::ofFile(bg, PictureDescription::Background,
                                                     gbk("节日"), gbk("春节")),
                          doc.backgrounds);
        r.appendBlock(makeBlock(BlockKind::FirstVariable, 8, {100, 200, 1540, 920}));
        const QString cola = library_.path() + "/cola.bmp";
        writeFile(cola, bmpBytes(0xFF0000));
        Block& picture = r.appendBlock(makeBlock(BlockKind::InsertedPicture, 3, {0, 0, 720, 720}));
        picture.setPictureKey(doc.images.add(PictureDescription::ofFile(
            cola, PictureDescription::LibraryPicture, "drinks", "cola")));
        return r;
    }

    // Another record with its own values, page, blocks and history.
    InfoRecord& otherRecord() {
        auto r = doc.newRecord();
        r->values[0] = gbk("雪碧");
        r->values[InfoRecord::kOriginalPrice] = "4.00";
        r->productPicture = "product-key";
        r->copies = 5;
        r->appendBlock(makeBlock(BlockKind::Rectangle, 6, {0, 0, 10, 10}));
        r->appendBlock(makeBlock(BlockKind::FixedText, 8, {0, 0, 10, 10}));
        r->takeUndoSnapshot();
        r->takeUndoSnapshot();
        r->selectBlock(r->blocks[0].get());
        r->inPlaceEditing = true;
        doc.records.push_back(std::move(r));
        doc.setCurrentIndex(1);
        return *doc.records.back();
    }

    QString libraryBackground(const char* category, const char* name, const char* ext) {
        return TemplateFile::backgroundFile(gbk(category), gbk(name), ext);
    }

    CPatDoc doc;
    QTemporaryDir library_;
};

TEST_F(TemplateFileTest, WrittenTemplateMatchesLayoutByteForByte) {
    const InfoRecord& r = designedRecord();
    const QByteArray imageKey = r.blocks[1]->pictureKey();
    const QByteArray background = bmpBytes(0xFFCC00);
    const QByteArray image = bmpBytes(0xFF0000);

    Bytes body;
    body.text("节日").text("春节").text("bmp").text("模板1");
    body.i32(int32_t(background.size())).raw(background);
    body.i32(1).gbkText(imageKey).i32(2).text("drinks").text("cola").text(".bmp").i32(2).i32(2);
    body.i32(int32_t(image.size())).raw(image);
    body.i32(2);
    blockBytes(body, BlockKind::FirstVariable, 8, {100, 200, 1540, 920});
    blockBytes(body, BlockKind::InsertedPicture, 3, {0, 0, 720, 720}, &imageKey);
    const QByteArray expected =
        templateHeader(800, 0, int32_t(body.data().size())).raw(body.data());

    EXPECT_EQ(TemplateFile::write(r, doc, gbk("模板1")).toHex(), expected.toHex());
}

TEST_F(TemplateFileTest, ReadingReplacesThePageAndKeepsTheRecordsData) {
    const QByteArray file = TemplateFile::write(designedRecord(), doc, gbk("模板1"));
    InfoRecord& r = otherRecord();
    const auto values = r.values;

    TemplateFile::read(file, r, doc);
    EXPECT_EQ(r.widthMm, 100);
    EXPECT_EQ(r.heightMm, 50);
    EXPECT_EQ(r.widthTw, 5669);
    EXPECT_EQ(r.heightTw, 2834);
    ASSERT_EQ(r.blocks.size(), 2u);
    EXPECT_EQ(r.blocks[0]->kind, BlockKind::FirstVariable);
    EXPECT_EQ(r.blocks[0]->frame, (TwipsRect{100, 200, 1540, 920}));
    EXPECT_EQ(r.blocks[1]->kind, BlockKind::InsertedPicture);
    const StoredPicture* picture = doc.images.entry(r.blocks[1]->pictureKey());
    ASSERT_NE(picture, nullptr) << "the block's picture came into the document";
    EXPECT_EQ(picture->fileBytes(), bmpBytes(0xFF0000));
    EXPECT_EQ(r.background.templateName, gbk("模板1"));
    EXPECT_EQ(r.background.present, 1);

    EXPECT_EQ(r.values, values);
    EXPECT_EQ(r.productPicture, "product-key");
    EXPECT_EQ(r.copies, 5);
    EXPECT_TRUE(r.current);
    EXPECT_FALSE(doc.records[0]->current);
    EXPECT_EQ(r.undoHistory.count(), 0);
    EXPECT_FALSE(r.undoHistory.canUndo());
    EXPECT_TRUE(r.selection.empty());
    EXPECT_FALSE(r.inPlaceEditing);
}

TEST_F(TemplateFileTest, BackgroundComesFromTheLibraryWhileItIsThere) {
    const QByteArray file = TemplateFile::write(designedRecord(), doc, gbk("模板1"));
    const QByteArray inLibrary = bmpBytes(0x0000FF, 3, 3);

    struct Case {
        const char* name;
        bool libraryFileExists;
    };
    for (const Case& c : {Case{"still in the library", true}, Case{"left the library", false}}) {
        SCOPED_TRACE(c.name);
        const QString libraryFile = libraryBackground("节日", "春节", "bmp");
        if (c.libraryFileExists) {
            ASSERT_TRUE(writeFile(libraryFile, inLibrary));
        } else {
            QFile::remove(libraryFile);
        }
        InfoRecord& r = otherRecord();
        TemplateFile::read(file, r, doc);

        const StoredPicture* stored = doc.backgrounds.entry(r.background.key);
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(r.background.present, 1);
        EXPECT_EQ(r.background.extension, ".bmp");
        EXPECT_EQ(stored->description().kind, PictureDescription::Background);
        if (c.libraryFileExists) {
            EXPECT_EQ(r.background.category, gbk("节日"));
            EXPECT_EQ(r.background.name, gbk("春节"));
            EXPECT_EQ(stored->fileBytes(), inLibrary);
            EXPECT_EQ(stored->description().width, 3);
        } else {
            // The name of the temp file the bytes went to, without ".bmp": "春节-<unique>".
            EXPECT_EQ(r.background.category, QByteArray());
            EXPECT_TRUE(r.background.name.startsWith(gbk("春节-"))) << r.background.name.data();
            EXPECT_EQ(Gbk::toUnicode(r.background.name).size(), 3 + 36);
            EXPECT_EQ(stored->fileBytes(), bmpBytes(0xFFCC00));
        }
        // Only private copies are left; the temp file of the bytes is gone.
        for (const QString& f : tempFiles())
            EXPECT_TRUE(f.startsWith("IMAGE")) << qPrintable(f);
    }
}

TEST_F(TemplateFileTest, PageWithoutBackgroundStaysWithoutOne) {
    InfoRecord& blank = *doc.records.front();
    blank.appendBlock(makeBlock(BlockKind::FixedText, 8, {0, 0, 100, 100}));
    const QByteArray file = TemplateFile::write(blank, doc, "t");
    InfoRecord& r = otherRecord();
    TemplateFile::read(file, r, doc);
    EXPECT_EQ(r.background, (BackgroundRef{"", "", "", "", "t", 0}));
    EXPECT_EQ(doc.backgrounds.size(), 0);
    EXPECT_EQ(tempFiles(), QStringList());
    EXPECT_EQ(r.blocks.size(), 1u);
}

TEST_F(TemplateFileTest, RefusedTemplatesLeaveTheRecordAlone) {
    const QByteArray good = TemplateFile::write(designedRecord(), doc, "t");
    QByteArray newer = good;
    newer[9] = 0x21;
    newer[10] = 0x03;
    const QString bad = QString::fromUtf8("非法文件");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString refusal;
    };
    std::vector<Case> cases = {
        {"3.21", newer,
         QString::fromUtf8("本软件的版本号是3.2；该模板的版本号时3.21，请升级软件。")},
        {"document magic", Bytes().u8(8).raw("QRWNPEMF").raw(good.mid(9)), bad},
        {"page width 0", templateHeader(800, 0, 0, 0).raw(good.mid(51)), bad},
        {"background bytes beyond the end",
         templateHeader(800, 0, 0).text("").text("").text("").text("").i32(1000).raw("abc"), bad},
        {"negative background bytes",
         templateHeader(800, 0, 0).text("").text("").text("").text("").i32(-1).i32(0).i32(0), bad},
        {"archive nested in the inner file", olderTemplate(olderTemplate(good)), bad},
        {"payload size beyond the file", templateHeader(0x0300, 1, 1 << 20).raw(storedZip(good)),
         bad},
        {"negative payload size", templateHeader(0x0300, 1, -1).raw(storedZip(good)), bad},
    };
    for (qsizetype n = 0; n < good.size(); ++n) {
        cases.push_back({"truncated", good.left(n), bad});
    }
    InfoRecord& r = otherRecord();
    const QByteArray page = r.snapshotPage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SCOPED_TRACE(c.bytes.size());
        try {
            TemplateFile::read(c.bytes, r, doc);
            ADD_FAILURE() << "taken";
        } catch (const FormatError& e) {
            EXPECT_EQ(e.message(), c.refusal);
        }
        EXPECT_EQ(r.snapshotPage(), page);
        EXPECT_EQ(r.undoHistory.count(), 2);
    }
}

TEST_F(TemplateFileTest, OlderLayoutCarriesACompleteTemplateInAZipArchive) {
    const QByteArray inner = TemplateFile::write(designedRecord(), doc, "t");
    // The outer header's page size is not the one that counts.
    const QByteArray zip = storedZip(inner);
    const QByteArray older = templateHeader(0x0300, 1, int32_t(zip.size()), 1, 1, 1, 1).raw(zip);
    InfoRecord& r = otherRecord();
    TemplateFile::read(older, r, doc);
    EXPECT_EQ(r.widthMm, 100);
    EXPECT_EQ(r.heightTw, 2834);
    EXPECT_EQ(r.blocks.size(), 2u);
    TemplateData data;
    TemplateFile::parse(older, data, nullptr);
    EXPECT_EQ(data.version, 0x0300);
}

TEST_F(TemplateFileTest, NamesFromTheFileNeverLeaveTheirFolders) {
    QTemporaryDir sandbox;
    const QString home = sandbox.path() + "/a/home";
    ProgramFolderOverride folder(home);
    registerTestBlocks();
    // A picture where an unchecked "<library>/../evil.bmp" would find it.
    writeFile(home + "/evil.bmp", bmpBytes(0x00FF00));
    writeFile(home + "/底图模板/evil.bmp", bmpBytes(0x00FF00));
    struct Case {
        QByteArray category, name, extension;
    };
    const Case cases[] = {
        {"..", "evil", "bmp"},
        {"../..", "home/evil", "bmp"},
        {"", "../../evil", "/../../x"},
        {"a/b", "c\\d", "e:f"},
        {"..", "..", ".."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.category + " " + c.name + " " + c.extension).toStdString());
        Bytes body;
        body.gbkText(c.category).gbkText(c.name).gbkText(c.extension).text("t");
        body.i32(3).raw("xyz").i32(0).i32(0);
        CPatDoc target;
        target.newDocument();
        InfoRecord& r = *target.records.front();
        TemplateFile::read(templateHeader(800, 0, 0).raw(body.data()), r, target);
        EXPECT_EQ(r.background.category, QByteArray()) << "taken from the bytes inside";
        EXPECT_EQ(target.backgrounds.entry(r.background.key)->fileBytes(), "xyz");
        // The run's own folder in PEMO-TEMP, and beside it only its lock.
        const QString run = QDir(sandbox.path()).relativeFilePath(tempFolder());
        for (const QString& f : filesBelow(sandbox.path())) {
            EXPECT_TRUE(f.startsWith(run + "/IMAGE") || f == run + ".lock" || f.endsWith("evil.bmp"))
                << qPrintable(f);
        }
    }
}

TEST_F(TemplateFileTest, TemplateNames) {
    struct Case {
        const char* name;
        bool valid;
    };
    const Case cases[] = {
        {"模板1", true}, {"sale 2", true}, {"", false},    {" ", false},
        {"a.b", false},  {"a\\b", false},  {"a:b", false}, {"a-b", false},
        {"a/b", false},  {".", false},     {"-", false},   {"ab\n", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TemplateFile::isValidName(QString::fromUtf8(c.name)), c.valid) << c.name;
    }

    struct FileCase {
        const char* fileName;
        const char* name;
    };
    const FileCase files[] = {
        {"背景-模板1", "模板1"}, {"a-b-c", "c"}, {"无横线", "无横线"}, {"-x", "x"}, {"x-", ""},
    };
    for (const FileCase& f : files) {
        EXPECT_EQ(TemplateFile::nameFromFileName(QString::fromUtf8(f.fileName)),
                  QString::fromUtf8(f.name))
            << f.fileName;
    }
    EXPECT_EQ(TemplateFile::folderFor(gbk("节日"), gbk("春节")),
              programFolder() + QString::fromUtf8("/底图模板/节日/春节-TMPL"));
    EXPECT_EQ(libraryBackground("节日", "春节", "jpg"),
              programFolder() + QString::fromUtf8("/底图模板/节日/春节.jpg"));
}

TEST_F(TemplateFileTest, SavingToTheLibraryWritesTemplateAndPreview) {
    InfoRecord& r = designedRecord();
    writeFile(libraryBackground("节日", "春节", "bmp"), bmpBytes(0xFFCC00));
    QImage preview(4, 3, QImage::Format_RGB32);
    preview.fill(Qt::white);
    const QString folder = TemplateFile::folderFor(gbk("节日"), gbk("春节"));
    const QString name = QString::fromUtf8("模板1");

    const QString path = TemplateFile::saveToLibrary(r, doc, name, preview);
    EXPECT_EQ(path, folder + QString::fromUtf8("/春节-模板1.vxt"));
    EXPECT_EQ(readFile(path), TemplateFile::write(r, doc, gbk("模板1")));
    EXPECT_EQ(TemplateFile::nameFromFileName(QFileInfo(path).completeBaseName()), name);
    const QImage shown(folder + QString::fromUtf8("/春节-模板1.bmp"));
    EXPECT_EQ(shown.size(), QSize(4, 3));

    // Saving again replaces the file and leaves nothing else behind.
    r.appendBlock(makeBlock(BlockKind::Ellipse, 6, {0, 0, 100, 100}));
    EXPECT_EQ(TemplateFile::saveToLibrary(r, doc, name, preview), path);
    EXPECT_EQ(readFile(path), TemplateFile::write(r, doc, gbk("模板1")));
    EXPECT_EQ(filesBelow(folder), (QStringList{QString::fromUtf8("春节-模板1.bmp"),
                                               QString::fromUtf8("春节-模板1.vxt")}));

    InfoRecord& other = otherRecord();
    TemplateFile::apply(path, other, doc);
    EXPECT_EQ(other.blocks.size(), 3u);
    EXPECT_THROW(TemplateFile::apply(folder + "/missing.vxt", other, doc), IoError);
    EXPECT_THROW(TemplateFile::saveToLibrary(r, doc, "a-b", preview), FormatError);
    EXPECT_FALSE(QFileInfo::exists(folder + QString::fromUtf8("/春节-a-b.vxt")));
    QDir(QFileInfo(folder).path()).removeRecursively();
}

// The library lists a template only beside its background: a background that came out
// of a template file (no category; its folder would be the library's top folder, where
// it would show as a category) or one deleted from the library gets no template.
TEST_F(TemplateFileTest, SavingRefusesABackgroundOutsideTheLibrary) {
    InfoRecord& r = designedRecord();
    QImage preview(4, 3, QImage::Format_RGB32);
    preview.fill(Qt::white);
    const QString category = QFileInfo(TemplateFile::folderFor(gbk("节日"), gbk("春节"))).path();
    const QString top = QFileInfo(category).path();
    QDir().mkpath(category);
    const auto entries = [&top] {
        QStringList out;
        QDirIterator it(top, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) out << it.next();
        out.sort();
        return out;
    };
    for (const bool withCategory : {false, true}) {
        SCOPED_TRACE(withCategory);
        r.background.category = withCategory ? gbk("节日") : QByteArray();
        const QStringList before = entries();
        EXPECT_THROW(TemplateFile::saveToLibrary(r, doc, QString::fromUtf8("模板1"), preview),
                     IoError);
        EXPECT_EQ(entries(), before);
    }
    QDir(category).removeRecursively();
}

}  // namespace
