#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>

#include "Bytes.h"
#include "FileTestSupport.h"
#include "core/codecs/Gzip.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentDump.h"
#include "core/document/DocumentFile.h"

using namespace pemo;
using namespace pemo::filetest;
using pemo::test::Bytes;
using pemo::test::gbk;

namespace {

constexpr int kHeader = 31;

QByteArray dumpOf(const CPatDoc& doc) {
    return QJsonDocument(DocumentDump::document(doc, 0)).toJson(QJsonDocument::Compact);
}

// The 31-byte header as written.
Bytes header(uint16_t version, int32_t packed, int32_t bodySize, int32_t packedSize) {
    Bytes b;
    b.u8(8).raw("QRWNPEMF").u16(version).i32(packed).i32(bodySize).i32(packedSize).zeros(2);
    return b;
}

QByteArray withVersion(QByteArray file, uint16_t version) {
    file[9] = char(version & 0xFF);
    file[10] = char(version >> 8);
    return file;
}

QByteArray keysOf(const PictureStore& store) {
    QByteArray out;
    for (const auto& e : store.entries())
        out += e->key() + ";";
    return out;
}

class DocumentFileTest : public ::testing::Test {
protected:
    void SetUp() override { registerTestBlocks(); }

    QString pictureFile(const QString& name, QRgb colour) {
        const QString path = library_.path() + "/" + name + ".bmp";
        writeFile(path, bmpBytes(colour));
        return path;
    }
    QByteArray addImage(CPatDoc& doc, const QString& name, QRgb colour) {
        return doc.images.add(PictureDescription::ofFile(pictureFile(name, colour),
                                                         PictureDescription::LibraryPicture,
                                                         "drinks", name.toLatin1()));
    }
    void applyBackground(CPatDoc& doc, InfoRecord& record, const QString& name, QRgb colour) {
        record.applyBackground(
            PictureDescription::ofFile(pictureFile(name, colour), PictureDescription::Background,
                                       gbk("节日"), gbk("春节") + name.toLatin1()),
            doc.backgrounds);
    }

    // Two records: the first with a background, values, a text block and a picture
    // block; the second with a value only. One image is in the store but unused.
    void buildSmall(CPatDoc& doc) {
        doc.newDocument();
        InfoRecord& r0 = *doc.records.front();
        applyBackground(doc, r0, "bg", 0xFFCC00);
        r0.values[0] = gbk("可口可乐");
        r0.values[InfoRecord::kCurrentPrice] = "3.50";
        r0.values[InfoRecord::kDiscount] = gbk("八折");
        r0.appendBlock(makeBlock(BlockKind::FirstVariable, 8, {100, 200, 1540, 920}));
        Block& picture =
            r0.appendBlock(makeBlock(BlockKind::InsertedPicture, 3, {-10, 0, 2000, 3000}));
        picture.setPictureKey(addImage(doc, "cola", 0xFF0000));
        addImage(doc, "unused", 0x00FF00);
        auto r1 = doc.newRecord();
        r1->values[0] = "tea";
        doc.records.push_back(std::move(r1));
    }

    QTemporaryDir library_;
};

TEST_F(DocumentFileTest, UncompressedFileMatchesLayoutByteForByte) {
    CPatDoc doc;
    buildSmall(doc);
    doc.recentColours.recent[0] = 0x0000FF;
    doc.recentColours.counts[0] = 4;
    const InfoRecord& r0 = *doc.records[0];
    const StoredPicture& image = *doc.images.entry(r0.blocks[1]->pictureKey());
    const StoredPicture& background = *doc.backgrounds.entry(r0.background.key);

    Bytes body;
    body.i32(0x0000FF);
    for (int i = 1; i < 35; ++i)
        body.i32(0xFFFFFF);
    body.i32(4).zeros(34);
    // images: only the picture the block uses
    body.i32(1).gbkText(image.key()).i32(2).text("drinks").text("cola").text(".bmp").i32(2).i32(2);
    body.i32(int32_t(bmpBytes(0xFF0000).size())).raw(bmpBytes(0xFF0000));
    body.i32(1).gbkText(background.key()).i32(1).text("节日").text("春节bg").text(".bmp");
    body.i32(2).i32(2).i32(int32_t(bmpBytes(0xFFCC00).size())).raw(bmpBytes(0xFFCC00));
    body.i32(10);
    for (const char* name : {"商品名称", "商品说明", "商品规格", "商品单位", "商品等级", "商品产地",
                             "生产日期", "促销信息", "商品属性", "其他信息"}) {
        body.text(name);
    }
    body.i32(2);
    body.i32(190).i32(280).i32(10771).i32(15874);
    body.gbkText(background.key()).text("节日").text("春节bg").text(".bmp").text("");
    body.text("可口可乐");
    for (int i = 1; i < 11; ++i)
        body.text("");
    body.text("3.50").text("八折").zeros(17);
    body.i32(2);
    blockBytes(body, BlockKind::FirstVariable, 8, {100, 200, 1540, 920});
    const QByteArray key = image.key();
    blockBytes(body, BlockKind::InsertedPicture, 3, {-10, 0, 2000, 3000}, &key);
    body.i32(190).i32(280).i32(10771).i32(15874);
    for (int i = 0; i < 5; ++i)
        body.text("");
    body.text("tea");
    for (int i = 1; i < 13; ++i)
        body.text("");
    body.zeros(17).i32(0);

    const QByteArray expected = header(800, 0, 0, 0).raw(body);
    const QByteArray written = DocumentFile::write(doc, false);
    EXPECT_EQ(written.toHex(), expected.toHex());
    EXPECT_EQ(DocumentFile::writeBody(doc), body.data());
}

TEST_F(DocumentFileTest, CompressedFileCarriesOneGzipMemberOfTheBody) {
    CPatDoc doc;
    buildSmall(doc);
    const QByteArray plain = DocumentFile::write(doc, false);
    const QByteArray packed = DocumentFile::write(doc, true);

    ArchiveReader in(packed);
    EXPECT_EQ(in.readText(), "QRWNPEMF");
    EXPECT_EQ(in.readUInt16(), 800);
    EXPECT_EQ(in.readInt32(), 1);
    const int32_t bodySize = in.readInt32();
    const int32_t packedSize = in.readInt32();
    EXPECT_EQ(in.readInt32(), 0);
    EXPECT_EQ(in.readInt32(), 0);
    const QByteArray payload = packed.mid(kHeader);
    EXPECT_EQ(bodySize, plain.size() - kHeader);
    EXPECT_EQ(packedSize, payload.size());
    EXPECT_EQ(payload.left(10).toHex(), "1f8b080000000000000b");
    EXPECT_EQ(gunzipExactly(payload, bodySize), plain.mid(kHeader));

    // Read back, the document writes the same bytes again.
    for (const QByteArray& file : {plain, packed}) {
        CPatDoc reread;
        EXPECT_EQ(DocumentFile::read(reread, file), 800);
        EXPECT_EQ(DocumentFile::write(reread, false), plain);
        EXPECT_FALSE(reread.isModified());
    }
}

TEST_F(DocumentFileTest, MarkPassDropsPicturesNothingUses) {
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& r0 = *doc.records.front();
    applyBackground(doc, r0, "replaced", 0x111111);
    applyBackground(doc, r0, "kept", 0x222222);
    const QByteArray keptBackground = r0.background.key;
    // A product picture without a product-picture block still travels in the file.
    const QByteArray product = addImage(doc, "product", 0x333333);
    r0.productPicture = product;
    addImage(doc, "unused", 0x444444);

    auto r1 = doc.newRecord();
    // Template mode empties the product-picture block; the record's picture is
    // what the file keeps in it.
    const QByteArray shown = addImage(doc, "shown", 0x555555);
    Block& block = r1->appendBlock(makeBlock(BlockKind::ProductPicture, 3, {0, 0, 100, 100}));
    r1->productPicture = shown;
    Block& inserted = r1->appendBlock(makeBlock(BlockKind::InsertedPicture, 3, {0, 0, 10, 10}));
    const QByteArray insertedKey = addImage(doc, "inserted", 0x666666);
    inserted.setPictureKey(insertedKey);
    doc.records.push_back(std::move(r1));

    const QByteArray file = DocumentFile::write(doc);
    EXPECT_EQ(block.pictureKey(), shown) << "a record off the screen shows its own picture";
    EXPECT_EQ(doc.images.size(), 4) << "the mark pass leaves the document's own stores alone";

    CPatDoc reread;
    DocumentFile::read(reread, file);
    EXPECT_EQ(keysOf(reread.backgrounds), keptBackground + ";");
    EXPECT_EQ(keysOf(reread.images), product + ";" + shown + ";" + insertedKey + ";");
    EXPECT_EQ(reread.records[0]->background.present, 1);
    EXPECT_EQ(reread.records[1]->productPicture, shown);
    EXPECT_EQ(reread.records[1]->blocks[0]->pictureKey(), shown);
    EXPECT_EQ(reread.images.entry(shown)->fileBytes(), bmpBytes(0x555555));
}

TEST_F(DocumentFileTest, ReopenedRecordsAreQueuedOnceWithFirstCurrentAndNoHistory) {
    CPatDoc doc;
    buildSmall(doc);
    doc.records.push_back(doc.newRecord());
    // A product: an empty last record is the import's record for typing (tested below).
    doc.records[2]->values[0] = "milk";
    doc.records[0]->copies = 0;
    doc.records[1]->copies = 7;
    doc.setCurrentIndex(2);
    doc.records[0]->takeUndoSnapshot();
    doc.records[0]->takeUndoSnapshot();
    doc.records[1]->inPlaceEditing = true;
    doc.records[0]->selectBlock(doc.records[0]->blocks[0].get());
    doc.records[0]->blocks[1]->locked = true;

    CPatDoc reread;
    DocumentFile::read(reread, DocumentFile::write(doc));
    ASSERT_EQ(reread.recordCount(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const InfoRecord& r = *reread.records[size_t(i)];
        EXPECT_EQ(r.copies, 1);
        EXPECT_EQ(r.current, i == 0);
        EXPECT_EQ(r.undoHistory.count(), 0);
        EXPECT_EQ(r.undoHistory.undoIndex(), -1);
        EXPECT_FALSE(r.inPlaceEditing);
        EXPECT_TRUE(r.selection.empty());
        for (const auto& b : r.blocks) {
            EXPECT_FALSE(b->selected);
            EXPECT_FALSE(b->locked);
            EXPECT_TRUE(b->handles().empty());
        }
    }
    EXPECT_EQ(reread.currentIndex(), 0);
}

TEST_F(DocumentFileTest, HeaderDecidesWhetherTheFileIsTaken) {
    CPatDoc source;
    buildSmall(source);
    const QByteArray good = DocumentFile::write(source);
    const QString bad = QString::fromUtf8("非法文件");
    struct Case {
        const char* name;
        QByteArray bytes;
        QString refusal;  // empty: taken
    };
    const Case cases[] = {
        {"3.21", withVersion(good, 0x0321),
         QString::fromUtf8("本软件的版本号是3.2；该文件的版本号时3.21，请升级软件。")},
        {"4.0", withVersion(good, 0x0400),
         QString::fromUtf8("本软件的版本号是3.2；该文件的版本号时4.0，请升级软件。")},
        {"ff.ff", withVersion(good, 0xFFFF),
         QString::fromUtf8("本软件的版本号是3.2；该文件的版本号时ff.ff，请升级软件。")},
        {"template magic", Bytes().u8(8).raw("QRWNPEMT").raw(good.mid(9)), bad},
        {"lower-case magic", Bytes().u8(8).raw("qrwnpemf").raw(good.mid(9)), bad},
        {"magic without its length", good.mid(1), bad},
        {"empty file", QByteArray(), bad},
        {"magic only", good.left(9), bad},
        {"3.2", good, {}},
        {"3.10", withVersion(good, 0x0310), {}},
        {"version 0", withVersion(good, 0), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPatDoc doc;
        buildSmall(doc);
        doc.setModified(true);
        const QByteArray before = dumpOf(doc);
        const QStringList tempBefore = tempFiles();
        if (c.refusal.isEmpty()) {
            EXPECT_NO_THROW(DocumentFile::read(doc, c.bytes));
            continue;
        }
        try {
            DocumentFile::read(doc, c.bytes);
            ADD_FAILURE() << "taken";
        } catch (const FormatError& e) {
            EXPECT_EQ(e.message(), c.refusal);
        }
        EXPECT_EQ(dumpOf(doc), before);
        EXPECT_TRUE(doc.isModified());
        EXPECT_EQ(tempFiles(), tempBefore);
    }
}

TEST_F(DocumentFileTest, EveryTruncationIsRefused) {
    CPatDoc source;
    buildSmall(source);
    for (bool compress : {false, true}) {
        const QByteArray file = DocumentFile::write(source, compress);
        CPatDoc doc;
        buildSmall(doc);
        const QByteArray before = dumpOf(doc);
        const QStringList tempBefore = tempFiles();
        for (qsizetype n = 0; n < file.size(); ++n) {
            EXPECT_THROW(DocumentFile::read(doc, file.left(n)), FormatError)
                << "compressed " << compress << ", length " << n;
        }
        EXPECT_EQ(dumpOf(doc), before);
        EXPECT_EQ(tempFiles(), tempBefore) << "picture copies of a refused file are removed";
    }
}

// Damaged files built by hand around a small valid body: each changes one size or count.
struct Damage {
    const char* name;
    std::function<QByteArray()> file;
};

struct BodyFields {
    int32_t pictureCount = 1;
    int32_t pictureBytes = -100;  // -100: the real count
    int32_t nameCount = 1;
    int32_t recordCount = 1;
    int32_t widthMm = 190;
    QByteArray keyPrefix = QByteArray::fromHex("03");
    int32_t blockCount = 1;
    int32_t listKind = BlockKind::FixedText;
    int32_t baseKind = BlockKind::FixedText;
    int32_t layer = 8;
};

QByteArray bodyOf(const BodyFields& f) {
    const QByteArray picture = bmpBytes(0x123456);
    Bytes b;
    for (int i = 0; i < 35; ++i)
        b.i32(0xFFFFFF);
    b.zeros(35);
    b.i32(f.pictureCount).raw(f.keyPrefix).raw("key").i32(2).text("c").text("n").text(".bmp");
    b.i32(2).i32(2).i32(f.pictureBytes == -100 ? int32_t(picture.size()) : f.pictureBytes);
    b.raw(picture);
    b.i32(0);
    b.i32(f.nameCount).text("name");
    b.i32(f.recordCount);
    b.i32(f.widthMm).i32(280).i32(10771).i32(15874);
    for (int i = 0; i < 18; ++i)
        b.text("");
    b.zeros(17).i32(f.blockCount);
    b.i32(f.listKind).i32(f.baseKind).i32(3).i32(f.layer).zeros(6).zeros(8);
    return b;
}

QByteArray plainFile(const BodyFields& f) {
    return header(800, 0, 0, 0).raw(bodyOf(f));
}

QByteArray packedFile(qsizetype bodyDelta, qsizetype packedDelta, int flipAt = -1) {
    const QByteArray body = bodyOf({});
    QByteArray payload = gzipCompress(body);
    if (flipAt >= 0)
        payload[flipAt] = char(payload[flipAt] ^ 0x55);
    return header(800, 1, int32_t(body.size() + bodyDelta), int32_t(payload.size() + packedDelta))
        .raw(payload);
}

std::vector<Damage> damages() {
    auto plain = [](auto change) {
        return [change] {
            BodyFields f;
            change(f);
            return plainFile(f);
        };
    };
    return {
        {"picture count beyond the bytes left",
         plain([](BodyFields& f) { f.pictureCount = 1000000; })},
        {"negative picture count", plain([](BodyFields& f) { f.pictureCount = -1; })},
        {"picture bytes beyond the end", plain([](BodyFields& f) { f.pictureBytes = 0x7FFFFFFF; })},
        {"negative picture bytes", plain([](BodyFields& f) { f.pictureBytes = -5; })},
        {"name count beyond the bytes left",
         plain([](BodyFields& f) { f.nameCount = 0x10000000; })},
        {"negative name count", plain([](BodyFields& f) { f.nameCount = INT32_MIN; })},
        {"record count beyond the bytes left",
         plain([](BodyFields& f) { f.recordCount = 100000; })},
        {"negative record count", plain([](BodyFields& f) { f.recordCount = -1; })},
        {"block count beyond the bytes left",
         plain([](BodyFields& f) { f.blockCount = 0x01000000; })},
        {"negative block count", plain([](BodyFields& f) { f.blockCount = -2; })},
        {"key longer than the file", plain([](BodyFields& f) {
             f.keyPrefix = QByteArray::fromHex(
                 "ffffff"
                 "ffffff7f");
         })},
        {"key of 65533 bytes",
         plain([](BodyFields& f) { f.keyPrefix = QByteArray::fromHex("fffdff"); })},
        {"Unicode key longer than the file", plain([](BodyFields& f) {
             f.keyPrefix = QByteArray::fromHex(
                 "fffeff"
                 "ffffff"
                 "ffffff7f");
         })},
        {"page width 0", plain([](BodyFields& f) { f.widthMm = 0; })},
        {"negative page width", plain([](BodyFields& f) { f.widthMm = -190; })},
        {"block layer 15", plain([](BodyFields& f) { f.layer = 15; })},
        {"kind without a class bit",
         plain([](BodyFields& f) { f.listKind = f.baseKind = 0x00000001; })},
        {"stored kind of another class",
         plain([](BodyFields& f) { f.baseKind = BlockKind::InsertedPicture; })},
        {"body size one more than the packed body", [] { return packedFile(1, 0); }},
        {"body size one less than the packed body", [] { return packedFile(-1, 0); }},
        {"negative body size", [] { return packedFile(-100000, 0); }},
        {"body size of 1 GiB",
         [] { return packedFile(0, 0).replace(15, 4, Bytes().i32(1 << 30).data()); }},
        {"body size INT32_MAX",
         [] { return packedFile(0, 0).replace(15, 4, Bytes().i32(INT32_MAX).data()); }},
        {"packed size beyond the file", [] { return packedFile(0, 1); }},
        {"negative packed size", [] { return packedFile(0, -100000); }},
        {"packed size cuts the member short", [] { return packedFile(0, -8); }},
        {"damaged deflate data", [] { return packedFile(0, 0, 14); }},
        {"damaged CRC-32",
         [] { return packedFile(0, 0, int(gzipCompress(bodyOf({})).size()) - 6); }},
    };
}

TEST_F(DocumentFileTest, DamagedSizesAndCountsAreRefused) {
    ASSERT_NO_THROW({
        CPatDoc doc;
        DocumentFile::read(doc, plainFile({}));
        DocumentFile::read(doc, packedFile(0, 0));
    }) << "the undamaged files are taken";
    const QStringList tempBefore = tempFiles();
    for (const Damage& d : damages()) {
        SCOPED_TRACE(d.name);
        CPatDoc doc;
        buildSmall(doc);
        const QByteArray before = dumpOf(doc);
        try {
            DocumentFile::read(doc, d.file());
            ADD_FAILURE() << "taken";
        } catch (const FormatError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8("非法文件"));
        }
        EXPECT_EQ(dumpOf(doc), before);
    }
    EXPECT_EQ(tempFiles(), tempBefore);
}

// The damaged files again, in a child whose address space leaves no room for a buffer
// of hundreds of megabytes: a reader that sizes a buffer from a damaged count dies.
TEST_F(DocumentFileTest, DamagedFilesNeverAllocateHugeBuffers) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto readAllWithLimitedMemory = [] {
        registerTestBlocks();
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(256) << 20);
        const rlimit rl{limit, limit};
        setrlimit(RLIMIT_AS, &rl);
        for (const Damage& d : damages()) {
            CPatDoc doc;
            try {
                DocumentFile::read(doc, d.file());
            } catch (const FormatError&) {
            }
        }
        std::exit(0);
    };
    EXPECT_EXIT(readAllWithLimitedMemory(), ::testing::ExitedWithCode(0), "");
}

QByteArray olderFile(int32_t packed, const QByteArray& payload,
                     std::optional<int32_t> payloadSize = std::nullopt) {
    return header(0x0300, packed, 0, 0)
        .i32(payloadSize.value_or(int32_t(payload.size())))
        .raw(payload);
}

TEST_F(DocumentFileTest, OlderLayoutCarriesACompleteFileInAZipArchive) {
    CPatDoc source;
    buildSmall(source);
    const QByteArray plain = DocumentFile::write(source, false);
    const QByteArray body = plain.mid(kHeader);
    const QByteArray zip = storedZip(plain);
    QByteArray damagedZip = zip;
    damagedZip[45] = char(damagedZip[45] ^ 1);  // inside the entry's data: CRC mismatch

    struct Case {
        const char* name;
        QByteArray file;
        bool taken;
    };
    const Case cases[] = {
        {"stored entry holding a plain file", olderFile(1, zip), true},
        {"stored entry holding a compressed file",
         olderFile(1, storedZip(DocumentFile::write(source))), true},
        {"plain body", olderFile(0, body, 12345), true},
        {"archive nested in the inner file", olderFile(1, storedZip(olderFile(1, zip))), false},
        {"entry data damaged", olderFile(1, damagedZip), false},
        {"payload size beyond the file", olderFile(1, zip, int32_t(zip.size()) + 1), false},
        {"negative payload size", olderFile(1, zip, INT32_MIN), false},
        {"not an archive", olderFile(1, body), false},
        {"archive holding a template",
         olderFile(1, storedZip(Bytes().u8(8).raw("QRWNPEMT").raw(plain.mid(9)))), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPatDoc doc;
        if (!c.taken) {
            EXPECT_THROW(DocumentFile::read(doc, c.file), FormatError);
            continue;
        }
        EXPECT_EQ(DocumentFile::read(doc, c.file), 0x0300);
        EXPECT_EQ(DocumentFile::write(doc, false), plain);
    }
}

// Picture keys, names and extensions come from the file; none of them may steer the
// private copies out of the temp folder.
TEST_F(DocumentFileTest, PictureCopiesStayInsideTheTempFolder) {
    QTemporaryDir sandbox;
    const QString home = sandbox.path() + "/a/b/home";
    ProgramFolderOverride folder(home);
    const QByteArray hostile[] = {"../../evil", "a/b", "..\\..\\evil", "/tmp/evil", "C:evil", "",
                                  ".",          "..",  "../",          "a\nb",      "*?<>|"};
    Bytes images;
    images.i32(int32_t(std::size(hostile)));
    for (const QByteArray& text : hostile) {
        images.gbkText(text)
            .i32(2)
            .gbkText(text)
            .gbkText(text)
            .gbkText(text)
            .i32(0)
            .i32(0)
            .i32(3)
            .raw("abc");
    }
    Bytes body;
    for (int i = 0; i < 35; ++i)
        body.i32(0xFFFFFF);
    body.zeros(35).raw(images).raw(images).i32(0).i32(0);

    CPatDoc doc;
    DocumentFile::read(doc, header(800, 0, 0, 0).raw(body));
    EXPECT_EQ(doc.images.size() + doc.backgrounds.size(), 2 * int(std::size(hostile)));
    // The run's own folder in PEMO-TEMP, and beside it only its lock.
    const QString run = QDir(sandbox.path()).relativeFilePath(tempFolder());
    ASSERT_TRUE(run.startsWith("a/b/home/PEMO-TEMP/")) << qPrintable(run);
    const QStringList files = filesBelow(sandbox.path());
    EXPECT_EQ(files.size(), 2 * qsizetype(std::size(hostile)) + 1);
    for (const QString& f : files) {
        if (f == run + ".lock") continue;
        EXPECT_TRUE(f.startsWith(run + "/IMAGE")) << qPrintable(f);
        EXPECT_EQ(f.count('/'), 5) << qPrintable(f);
    }
    for (const auto& e : doc.images.entries())
        EXPECT_EQ(e->fileBytes(), "abc");
    doc.clear();
    EXPECT_EQ(filesBelow(sandbox.path()), QStringList{run + ".lock"}) << "clearing removes the copies";
}

// Without a temp folder the pictures of a file have nowhere to go; taking the file
// anyway would lose them on the next save.
TEST_F(DocumentFileTest, FileIsRefusedWhenItsPicturesCannotBeCopied) {
    CPatDoc source;
    buildSmall(source);
    const QByteArray file = DocumentFile::write(source);
    QTemporaryDir sandbox;
    ProgramFolderOverride folder(sandbox.path() + "/home");
    writeFile(sandbox.path() + "/home/PEMO-TEMP", "a file where the folder should be");
    // Nor can the per-user folder the program falls back on be made.
    writeFile(sandbox.path() + "/cache", "a file where the folder should be");
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", (sandbox.path() + "/cache").toUtf8());

    CPatDoc doc;
    doc.newDocument();
    doc.records.front()->values[0] = "kept";
    try {
        DocumentFile::read(doc, file);
        ADD_FAILURE() << "taken";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().contains("PEMO-TEMP")) << e.message().toStdString();
    }
    qputenv("XDG_CACHE_HOME", savedCache);
    ASSERT_EQ(doc.recordCount(), 1);
    EXPECT_EQ(doc.records.front()->values[0], "kept");
}

TEST_F(DocumentFileTest, SaveReplacesTheFileAndOpenReadsIt) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/价签.vxq";
    CPatDoc doc;
    buildSmall(doc);
    doc.setModified(true);
    writeFile(path, "old contents");
    DocumentFile::save(doc, path);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(filesBelow(dir.path()), QStringList{"价签.vxq"});

    CPatDoc reread;
    EXPECT_EQ(DocumentFile::open(reread, path), 800);
    EXPECT_EQ(DocumentFile::write(reread, false), DocumentFile::write(doc, false));
    EXPECT_THROW(DocumentFile::open(reread, dir.path() + "/missing.vxq"), IoError);
    EXPECT_THROW(DocumentFile::save(doc, dir.path() + "/no/such/folder/x.vxq"), IoError);
}

TEST_F(DocumentFileTest, DocumentWithoutRecordsGetsOne) {
    Bytes body;
    for (int i = 0; i < 35; ++i)
        body.i32(0xFFFFFF);
    body.zeros(35).i32(0).i32(0).i32(0).i32(0);
    CPatDoc doc;
    DocumentFile::read(doc, header(800, 0, 0, 0).raw(body));
    ASSERT_EQ(doc.recordCount(), 1);
    EXPECT_TRUE(doc.records[0]->current);
    EXPECT_EQ(doc.variableNames.names().size(), 0);
}

}  // namespace

// Copies are not stored: the empty record an import leaves for typing would come back in
// the print queue and print a sign without a product. Only that record is kept out.
TEST_F(DocumentFileTest, TheEmptyRecordForTypingStaysOutOfTheQueueWhenReadBack) {
    const auto record = [](CPatDoc& doc, const char* name, bool otherDesign) {
        auto r = doc.newRecord();
        if (*name) r->values[0] = name;
        r->appendBlock(makeBlock(BlockKind::FirstVariable, 8, {100, 200, 1540, 920}));
        if (otherDesign) r->appendBlock(makeBlock(BlockKind::FirstVariable + 2, 8, {100, 1000, 1540, 1720}));
        doc.records.push_back(std::move(r));
    };
    struct Record {
        const char* name;
        bool otherDesign;
    };
    struct Case {
        const char* what;
        std::vector<Record> records;
        int lastCopies;
    };
    const Case cases[] = {
        {"products then the empty one", {{"cola", false}, {"tea", false}, {"", false}}, 0},
        {"one empty record", {{"", false}}, 1},
        {"signs without products", {{"", false}, {"", false}}, 1},
        {"an empty record of another design", {{"cola", false}, {"", true}}, 1},
        {"a product last", {{"cola", false}, {"", false}, {"tea", false}}, 1},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPatDoc doc;
        doc.records.clear();
        for (const Record& r : c.records) record(doc, r.name, r.otherDesign);
        const QString path = dir.filePath("typing.vxq");
        DocumentFile::save(doc, path);
        CPatDoc reread;
        DocumentFile::open(reread, path);
        ASSERT_EQ(reread.recordCount(), int(c.records.size()));
        EXPECT_EQ(reread.recordAt(reread.recordCount() - 1)->copies, c.lastCopies);
        EXPECT_FALSE(reread.isModified());
        for (int i = 0; i + 1 < reread.recordCount(); ++i) EXPECT_EQ(reread.recordAt(i)->copies, 1);
    }
}
