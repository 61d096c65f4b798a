// Documents of many large pictures: the file is read and written a window at a time, the
// pictures passed between it and their private copies in slices, so a document far
// larger than the memory left to the program opens and saves, byte for byte the same.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "FileTestSupport.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"

using namespace pemo;
using namespace pemo::filetest;

namespace {

constexpr int kPictures = 16;
constexpr qsizetype kPictureBytes = qsizetype(4) << 20;

// Noise, so that the packed body is as large as the pictures.
QByteArray noise(qsizetype n, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray out(n, Qt::Uninitialized);
    auto* words = reinterpret_cast<quint32*>(out.data());
    for (qsizetype i = 0; i < n / 4; ++i) words[i] = quint32(random());
    return out;
}

// A document of kPictures records, each with a product picture of its own.
void buildLarge(CPatDoc& doc) {
    doc.newDocument();
    for (int i = 0; i < kPictures; ++i) {
        if (i > 0) doc.records.push_back(doc.newRecord());
        PictureDescription d;
        d.kind = PictureDescription::LibraryPicture;
        d.name = "p" + QByteArray::number(i);
        d.extension = ".jpg";
        const QByteArray key = "k" + QByteArray::number(i);
        doc.images.addBytes(key, d, noise(kPictureBytes, unsigned(i)));
        InfoRecord& record = *doc.records.back();
        record.productPicture = key;
        auto product = std::make_unique<PictureBlock>();
        product->kind = BlockKind::ProductPicture;
        product->setRect({100, 100, 2000, 2000});
        product->setPictureKey(key);
        record.appendBlock(std::move(product));
    }
}

// The program's own picture blocks, whatever another test registered before.
void useProgramPictureBlocks() {
    registerBlockClasses();
    BlockFactory::setCreator(BlockKind::PictureBit, [] { return std::make_unique<PictureBlock>(); });
}

bool sameFiles(const QString& a, const QString& b) {
    QFile x(a), y(b);
    if (!x.open(QIODevice::ReadOnly) || !y.open(QIODevice::ReadOnly) || x.size() != y.size()) return false;
    while (!x.atEnd()) {
        if (x.read(1 << 20) != y.read(1 << 20)) return false;
    }
    return true;
}

// Leaves the process only `room` bytes of address space beyond what it has now.
void limitMemoryTo(rlim_t room) {
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + room;
    const rlimit rl{limit, limit};
    setrlimit(RLIMIT_AS, &rl);
}

}  // namespace

TEST(LargeDocument, OpensAndSavesInFarLessMemoryThanItsSize) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto openAndSaveAgain = [] {
        useProgramPictureBlocks();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("large.vxq"));
        const QString again = dir.filePath(QStringLiteral("again.vxq"));
        {
            CPatDoc doc;
            buildLarge(doc);
            DocumentFile::save(doc, path);
        }
        if (QFileInfo(path).size() < kPictures * kPictureBytes) std::exit(3);
        // A quarter of the document's size: a reader that holds the file, its body or
        // all its pictures at once runs out.
        limitMemoryTo(rlim_t(kPictures * kPictureBytes / 4));
        {
            CPatDoc doc;
            DocumentFile::open(doc, path);
            if (doc.images.size() != kPictures) std::exit(4);
            DocumentFile::save(doc, again);
        }
        std::exit(sameFiles(path, again) ? 0 : 5);
    };
    EXPECT_EXIT(openAndSaveAgain(), ::testing::ExitedWithCode(0), "");
}

// The streamed writer and the one that builds the file in memory agree, packed or not,
// and what is saved reads back into the same pictures.
TEST(LargeDocument, SavedFileIsTheFileBuiltInMemory) {
    useProgramPictureBlocks();
    QTemporaryDir dir;
    CPatDoc doc;
    buildLarge(doc);
    const QString path = dir.filePath(QStringLiteral("large.vxq"));
    DocumentFile::save(doc, path);
    EXPECT_TRUE(readFile(path) == DocumentFile::write(doc, true));

    CPatDoc reread;
    DocumentFile::open(reread, path);
    ASSERT_EQ(reread.images.size(), kPictures);
    for (int i = 0; i < kPictures; i += 5) {
        EXPECT_TRUE(reread.images.entries()[size_t(i)]->fileBytes() == noise(kPictureBytes, unsigned(i))) << i;
    }
    EXPECT_TRUE(DocumentFile::write(reread, false) == DocumentFile::write(doc, false));
}
