// Opening and saving a large document: 10,000 records of 13 values and four blocks
// each, over one background, with a product picture on every record.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "core/blocks/Block.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Archive.h"
#include "core/codecs/BmpWriter.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"

namespace pemo {
namespace {

constexpr int kRecords = 10000;

// Stands in for the program's block classes: the base forms, plus a picture key for
// picture kinds.
class BenchBlock : public Block {
public:
    void load(ArchiveReader& in) override {
        Block::load(in);
        if (BlockKind::isPicture(kind))
            key_ = in.readText();
    }
    void store(ArchiveWriter& out) const override {
        Block::store(out);
        if (BlockKind::isPicture(kind))
            out.writeText(key_);
    }
    void markPicturesUsed(PictureStore& images) const override { images.mark(key_); }
    QByteArray pictureKey() const override { return key_; }
    void setPictureKey(const QByteArray& key) override { key_ = key; }

private:
    QByteArray key_;
};

QByteArray gbk(const char* utf8) {
    return Gbk::fromUnicode(QString::fromUtf8(utf8));
}

std::unique_ptr<Block> block(int32_t kind, int32_t i) {
    auto b = BlockFactory::create(kind);
    b->layer = BlockKind::isText(kind) ? 8 : 3;
    b->frame = {100 + i % 50, 200, 3000 + i % 70, 1500};
    b->sizeWidth = b->frame.width();
    b->sizeHeight = b->frame.height();
    return b;
}

struct Fixture {
    QTemporaryDir home;
    QString path;
    std::unique_ptr<CPatDoc> doc = std::make_unique<CPatDoc>();

    Fixture() {
        qputenv("PEMO_HOME", home.path().toUtf8());
        registerBlockClasses();
        for (int32_t bit : {BlockKind::GraphicBit, BlockKind::TextBit, BlockKind::PictureBit}) {
            BlockFactory::setCreator(bit, [] { return std::make_unique<BenchBlock>(); });
        }
        QImage picture(200, 150, QImage::Format_RGB32);
        picture.fill(0x3366CC);
        const QString bg = home.path() + "/bg.bmp";
        const QString product = home.path() + "/product.bmp";
        BmpWriter::write(picture, bg);
        BmpWriter::write(picture.scaled(64, 64), product);
        const auto background = PictureDescription::ofFile(bg, PictureDescription::Background,
                                                           gbk("节日"), gbk("春节"));
        const QByteArray productKey = doc->images.add(PictureDescription::ofFile(
            product, PictureDescription::LibraryPicture, gbk("饮料"), gbk("可乐")));

        const char* names[] = {"可口可乐 500毫升", "康师傅红烧牛肉面", "伊利纯牛奶 250毫升",
                               "农夫山泉 550毫升", "旺旺雪饼 520克"};
        for (int i = 0; i < kRecords; ++i) {
            auto r = doc->newRecord();
            r->applyBackground(background, doc->backgrounds);
            r->values[0] = gbk(names[i % 5]);
            r->values[1] = gbk("促销商品，限时特价");
            r->values[2] = gbk("规格") + QByteArray::number(i % 12 + 1);
            r->values[3] = gbk("瓶");
            r->values[4] = gbk("一级");
            r->values[5] = gbk("中国上海");
            r->values[6] = "2026-12-09";
            r->values[7] = gbk("买二送一");
            r->values[8] = gbk("食品");
            r->values[9] = QByteArray::number(690000000 + i);
            r->values[10] = QByteArray::number(3 + i % 40) + ".50";
            r->values[11] = QByteArray::number(2 + i % 40) + ".80";
            r->values[12] = gbk("八折");
            r->appendBlock(block(BlockKind::FirstVariable, i));
            r->appendBlock(block(BlockKind::CurrentPrice, i));
            r->appendBlock(block(BlockKind::Rectangle, i));
            r->appendBlock(block(BlockKind::ProductPicture, i)).setPictureKey(productKey);
            r->productPicture = productKey;
            doc->records.push_back(std::move(r));
        }
        doc->records.front()->current = true;
        path = home.path() + "/large.vxq";
        DocumentFile::save(*doc, path);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_SaveDocument(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        DocumentFile::save(*f.doc, f.path);
    state.counters["bytes"] = double(QFileInfo(f.path).size());
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_OpenDocument(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        CPatDoc doc;
        DocumentFile::open(doc, f.path);
        benchmark::DoNotOptimize(doc.records.size());
    }
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

void BM_WriteUncompressed(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(DocumentFile::write(*f.doc, false));
}
BENCHMARK(BM_WriteUncompressed)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pemo

BENCHMARK_MAIN();
