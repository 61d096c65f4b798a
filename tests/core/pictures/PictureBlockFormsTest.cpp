#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "core/blocks/BlockList.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Archive.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/EditCommands.h"
#include "core/document/TemplateFile.h"

using namespace pemo;
using namespace pemo::picturetest;
using test::Bytes;

namespace {

class PictureBlockForms : public testing::Test {
protected:
    void SetUp() override { registerPictureBlock(); }

    // A turned inserted picture placed by a drag leftwards.
    std::unique_ptr<PictureBlock> sample(int32_t kind, const QByteArray& key) {
        auto b = std::make_unique<PictureBlock>();
        b->kind = kind;
        b->setPictureKey(key);
        b->setCorners(BlockHandle::BottomRight, {1000, 2000}, {900, 2600}, {1800, 2100},
                      {1700, 2700});
        b->sizeWidth = 805;
        b->sizeHeight = 608;
        b->placementDrag = {300, 10, 20, 200};
        b->aspectMode = 1;
        b->selected = true;
        return b;
    }

    static Bytes head(const Block& b) {
        Bytes x;
        x.i32(b.kind).i32(b.aspectMode).i32(b.layer);
        return x;
    }
    static Bytes corners(Bytes x, QPoint origin = QPoint()) {
        const int ox = origin.x(), oy = origin.y();
        return x.i32(1000 - ox).i32(2000 - oy).i32(900 - ox).i32(2600 - oy).i32(1800 - ox)
            .i32(2100 - oy).i32(1700 - ox).i32(2700 - oy);
    }
    static Bytes drag(Bytes x) { return x.i32(300).i32(10).i32(20).i32(200); }

    QTemporaryDir library;
};

}  // namespace

TEST_F(PictureBlockForms, DefaultsAndTheFourFormsByteForByte) {
    const PictureBlock fresh;
    EXPECT_EQ(fresh.layer, 3);
    EXPECT_TRUE(fresh.pictureKey().isEmpty());
    EXPECT_EQ(fresh.placementDrag, (std::array<int32_t, 4>{0, 0, 0, 0}));

    const auto b = sample(BlockKind::InsertedPicture, "K1");
    // The frame is the corners' bounding box: (900, 2000) to (1800, 2700).
    const auto frame = [](Bytes x, QPoint o = QPoint()) {
        return x.i32(900 - o.x()).i32(2000 - o.y()).i32(1800 - o.x()).i32(2700 - o.y())
            .i32(805).i32(608);
    };
    struct Case {
        BlockForm form;
        QByteArray expected;
    };
    const QPoint origin(500, 1000);
    const Case cases[] = {
        {BlockForm::Snapshot,
         drag(corners(frame(head(*b)).i32(1).i32(0)).gbkText("K1"))},
        {BlockForm::Document, drag(corners(frame(head(*b)).zeros(8)).gbkText("K1"))},
        // Not exported yet: the local key is empty.
        {BlockForm::Template, drag(corners(frame(head(*b)).zeros(8)).gbkText(""))},
        {BlockForm::Clip,
         drag(corners(frame(head(*b), origin).i32(500).i32(1000), origin).gbkText(""))},
    };
    for (const Case& c : cases) {
        ArchiveWriter out;
        switch (c.form) {
            case BlockForm::Snapshot: b->storeSnapshot(out); break;
            case BlockForm::Document: b->store(out); break;
            case BlockForm::Template: b->storeTemplate(out); break;
            case BlockForm::Clip: b->storeClip(out, origin.x(), origin.y()); break;
        }
        EXPECT_EQ(out.take(), c.expected) << int(c.form);
    }

    // Reading gives the same fields back; nothing is recomputed.
    PictureStore local, images;
    for (BlockForm form : {BlockForm::Snapshot, BlockForm::Document, BlockForm::Clip}) {
        ArchiveWriter out;
        if (form == BlockForm::Snapshot) b->storeSnapshot(out);
        if (form == BlockForm::Document) b->store(out);
        if (form == BlockForm::Clip) b->storeClip(out, 0, 0);
        ArchiveReader in(out.take());
        PictureBlock back;
        QPoint o;
        if (form == BlockForm::Snapshot) back.loadSnapshot(in);
        if (form == BlockForm::Document) back.load(in);
        if (form == BlockForm::Clip) back.loadClip(in, local, images, o);
        EXPECT_EQ(back.corners(), b->corners());
        EXPECT_EQ(back.frame, b->frame);
        EXPECT_EQ(back.placementDrag, b->placementDrag);
        EXPECT_EQ(back.pictureKey(), form == BlockForm::Clip ? QByteArray() : QByteArray("K1"));
        EXPECT_EQ(in.remaining(), 0);
    }
}

TEST_F(PictureBlockForms, TemplateWithTwoInsertedPicturesSharingOneLocalEntry) {
    const QString file = savePicture(library, "red.bmp", filled(4, 3, Qt::red));
    CPatDoc doc;
    InfoRecord& record = *doc.records.emplace_back(std::make_unique<InfoRecord>());
    const QByteArray key = doc.images.add(describe(file, "红"));
    ASSERT_FALSE(key.isEmpty());
    auto a = sample(BlockKind::InsertedPicture, key);
    auto b = sample(BlockKind::InsertedPicture, key);
    b->placementDrag = {300, 10, 20, 200};
    auto logo = sample(BlockKind::Logo1, QByteArray());

    PictureStore local;
    for (const Block* block : {static_cast<Block*>(a.get()), static_cast<Block*>(b.get()), static_cast<Block*>(logo.get())}) {
        block->exportPictures(local, doc.images);
    }
    ASSERT_EQ(local.size(), 1);
    const QByteArray localKey = local.entries()[0]->key();
    EXPECT_EQ(a->localKey(), localKey);
    EXPECT_EQ(b->localKey(), localKey);
    EXPECT_TRUE(logo->localKey().isEmpty());

    // The stream part after the background: the local store, then the blocks.
    ArchiveWriter out;
    local.write(out, false);
    writeBlockList(out, {a.get(), b.get(), logo.get()}, BlockForm::Template);
    const QByteArray bmp = local.entries()[0]->fileBytes();
    Bytes expected;
    expected.i32(1).gbkText(localKey).i32(2).gbkText("").gbkText(test::gbk("红")).gbkText(".bmp")
        .i32(4).i32(3).i32(int32_t(bmp.size())).raw(bmp).i32(3);
    for (const PictureBlock* p : {a.get(), b.get(), logo.get()}) {
        expected.i32(p->kind).raw(drag(corners(head(*p).i32(900).i32(2000).i32(1800).i32(2700)
                                                   .i32(805).i32(608).zeros(8))
                                           .gbkText(p == logo.get() ? QByteArray() : localKey)));
    }
    EXPECT_EQ(out.take(), QByteArray(expected));

    // The whole template read back into another document: one picture, both blocks on it.
    record.appendBlock(std::move(a));
    record.appendBlock(std::move(b));
    record.appendBlock(std::move(logo));
    const QByteArray templ = TemplateFile::write(record, doc, test::gbk("双图"));
    CPatDoc other;
    InfoRecord& into = *other.records.emplace_back(std::make_unique<InfoRecord>());
    TemplateFile::read(templ, into, other);
    ASSERT_EQ(into.blocks.size(), 3u);
    EXPECT_EQ(other.images.size(), 1);
    const QByteArray taken = other.images.entries()[0]->key();
    EXPECT_EQ(into.blocks[0]->pictureKey(), taken);
    EXPECT_EQ(into.blocks[1]->pictureKey(), taken);
    EXPECT_TRUE(into.blocks[2]->pictureKey().isEmpty());
    EXPECT_EQ(other.images.entries()[0]->fileBytes(), bmp);
}

TEST_F(PictureBlockForms, StreamsBringPicturesOnlyForInsertedPictures) {
    const QString file = savePicture(library, "p.bmp", filled(2, 2, Qt::blue));
    PictureStore images;
    const QByteArray key = images.add(describe(file));
    struct Case {
        int32_t kind;
        bool bringsPicture;
    };
    for (const Case c : {Case{BlockKind::InsertedPicture, true}, Case{BlockKind::ProductPicture, false},
                         Case{BlockKind::Logo2, false}}) {
        const auto block = sample(c.kind, key);
        PictureStore local;
        block->exportPictures(local, images);
        EXPECT_EQ(local.size(), c.bringsPicture ? 1 : 0);
        ArchiveWriter out;
        block->storeClip(out, 0, 0);
        PictureStore into;
        PictureBlock pasted;
        pasted.kind = c.kind;
        ArchiveReader in(out.take());
        QPoint origin;
        pasted.loadClip(in, local, into, origin);
        EXPECT_EQ(into.size(), c.bringsPicture ? 1 : 0) << c.kind;
        EXPECT_EQ(pasted.pictureKey().isEmpty(), !c.bringsPicture) << c.kind;
    }
    // A local key that names nothing (a damaged stream) gives no picture.
    auto dangling = sample(BlockKind::InsertedPicture, key);
    ArchiveWriter out;
    dangling->storeTemplate(out);
    PictureStore empty, into;
    ArchiveReader in(out.take());
    PictureBlock back;
    back.kind = BlockKind::InsertedPicture;
    back.loadTemplate(in, empty, into);
    EXPECT_TRUE(back.pictureKey().isEmpty());
    EXPECT_EQ(into.size(), 0);
}

TEST_F(PictureBlockForms, PastedInsertedPictureCopiesItsPictureUnderANewKey) {
    const QString file = savePicture(library, "p.bmp", filled(2, 2, Qt::blue));
    CPatDoc doc;
    InfoRecord& record = *doc.records.emplace_back(std::make_unique<InfoRecord>());
    record.current = true;
    const QByteArray key = doc.images.add(describe(file));
    Block& placed = record.appendBlock(sample(BlockKind::InsertedPicture, key));
    record.selectBlock(&placed);
    const QByteArray clip = EditCommands::copySelection(record, doc);
    ASSERT_FALSE(clip.isEmpty());
    EditCommands::paste(record, doc, clip, false);
    ASSERT_EQ(record.blocks.size(), 2u);
    const QByteArray pastedKey = record.blocks[1]->pictureKey();
    EXPECT_NE(pastedKey, key);
    EXPECT_TRUE(doc.images.contains(pastedKey));
    EXPECT_EQ(doc.images.entry(pastedKey)->fileBytes(), doc.images.entry(key)->fileBytes());
}

TEST_F(PictureBlockForms, DocumentWithTextPictureAndLogoBlocksReopensUnchanged) {
    const QString file = savePicture(library, "p.jpg", filled(8, 8, Qt::green));
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& record = *doc.currentRecord();
    auto picture = PictureBlock::create(BlockKind::InsertedPicture, describe(file), doc.images);
    ASSERT_TRUE(picture);
    picture->setRect({100, 200, 1100, 900});
    picture->placementDrag = {50, 60, 10, 90};
    record.appendBlock(std::move(picture));
    auto logo = PictureBlock::create(BlockKind::Logo1, PictureDescription(), doc.images);
    logo->setRect({2000, 200, 3000, 700});
    record.appendBlock(std::move(logo));
    auto product = PictureBlock::create(BlockKind::ProductPicture, describe(file), doc.images);
    record.productPicture = product->pictureKey();
    record.appendBlock(std::move(product));
    record.appendBlock(TextBlock::create(BlockKind::FixedText, {0, 0, 3000, 800}, "abc", true));

    const QByteArray first = DocumentFile::write(doc, false);
    CPatDoc again;
    DocumentFile::read(again, first);
    EXPECT_EQ(again.images.size(), 1);
    ASSERT_EQ(again.records[0]->blocks.size(), 4u);
    EXPECT_EQ(again.records[0]->productPicture, again.records[0]->blocks[0]->pictureKey());
    EXPECT_EQ(DocumentFile::write(again, false), first);
}
