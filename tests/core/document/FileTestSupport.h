#pragma once

// Shared by the document and template file tests: two small block classes standing in
// for the program's own, hand-built picture files and ZIP archives, and folder listings.

#include <gtest/gtest.h>
#include <zlib.h>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <memory>

#include "Bytes.h"
#include "core/blocks/Block.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Archive.h"
#include "core/codecs/BmpWriter.h"
#include "core/pictures/PictureStore.h"
#include "core/platform/Folders.h"

namespace pemo::filetest {

// A block with the base forms only.
class PlainBlock : public Block {};

// A picture-bearing block: the base forms followed by its picture key. In the template
// form the key names a picture of the template's own store, which the block takes
// into the document's images on reading.
class KeyedPictureBlock : public Block {
public:
    void load(ArchiveReader& in) override {
        Block::load(in);
        key_ = in.readText();
    }
    void store(ArchiveWriter& out) const override {
        Block::store(out);
        out.writeText(key_);
    }
    void markPicturesUsed(PictureStore& images) const override { images.mark(key_); }
    void loadTemplate(ArchiveReader& in, const PictureStore& local, PictureStore& images) override {
        load(in);
        key_ = local.contains(key_) ? images.add(local.descriptionOf(key_)) : QByteArray();
    }
    void exportPictures(PictureStore& local, const PictureStore& images) const override {
        const StoredPicture* picture = images.entry(key_);
        if (picture && !local.contains(key_)) {
            local.addBytes(key_, picture->description(), picture->fileBytes());
        }
    }
    QByteArray pictureKey() const override { return key_; }
    void setPictureKey(const QByteArray& key) override { key_ = key; }

private:
    QByteArray key_;
};

// Text and graphic kinds make plain blocks, picture kinds keyed picture blocks. Called
// by every test before it reads, as other tests in this program may register their own.
inline void registerTestBlocks() {
    registerBlockClasses();
    BlockFactory::setCreator(BlockKind::GraphicBit, [] { return std::make_unique<PlainBlock>(); });
    BlockFactory::setCreator(BlockKind::TextBit, [] { return std::make_unique<PlainBlock>(); });
    BlockFactory::setCreator(BlockKind::PictureBit,
                             [] { return std::make_unique<KeyedPictureBlock>(); });
}

inline std::unique_ptr<Block> makeBlock(int32_t kind, int32_t layer, TwipsRect frame) {
    auto block = BlockFactory::create(kind);
    block->layer = layer;
    block->frame = frame;
    block->sizeWidth = frame.width();
    block->sizeHeight = frame.height();
    return block;
}

// The document form of a block as built by hand: its kind, then the 68-byte base part,
// then (picture kinds) its key.
inline void blockBytes(test::Bytes& b, int32_t kind, int32_t layer, TwipsRect f,
                       const QByteArray* key = nullptr) {
    b.i32(kind).i32(kind).i32(3).i32(layer);
    b.i32(f.left).i32(f.top).i32(f.right).i32(f.bottom).i32(f.width()).i32(f.height()).zeros(8);
    if (key)
        b.gbkText(*key);
}

inline QByteArray bmpBytes(QRgb colour, int width = 2, int height = 2) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return BmpWriter::encode(image);
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.section('/', 0, -2));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below dir, as paths relative to it, sorted.
inline QStringList filesBelow(const QString& dir) {
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(dir).relativeFilePath(it.next());
    out.sort();
    return out;
}

inline QStringList tempFiles() {
    return filesBelow(tempFolder());
}

// A ZIP archive with one stored entry, laid out by hand: local header, data, central
// directory, end record.
inline QByteArray storedZip(const QByteArray& content, const QByteArray& name = "VXQPEMO.tmp") {
    const auto crc = int32_t(
        crc32(0, reinterpret_cast<const Bytef*>(content.constData()), uInt(content.size())));
    const auto size = int32_t(content.size());
    test::Bytes local, central, end;
    local.i32(0x04034b50).u16(20).u16(0).u16(0).u16(0).u16(0x21).i32(crc).i32(size).i32(size);
    local.u16(uint16_t(name.size())).u16(0).raw(name).raw(content);
    central.i32(0x02014b50).u16(20).u16(20).u16(0).u16(0).u16(0).u16(0x21);
    central.i32(crc).i32(size).i32(size).u16(uint16_t(name.size())).u16(0).u16(0).u16(0).u16(0);
    central.i32(0).i32(0).raw(name);
    end.i32(0x06054b50).u16(0).u16(0).u16(1).u16(1);
    end.i32(int32_t(central.data().size())).i32(int32_t(local.data().size())).u16(0);
    return local.data() + central.data() + end.data();
}

// Points the program folder somewhere else for one test and back again afterwards.
class ProgramFolderOverride {
public:
    explicit ProgramFolderOverride(const QString& folder) : saved_(qgetenv("PEMO_HOME")) {
        QDir().mkpath(folder);
        qputenv("PEMO_HOME", folder.toUtf8());
    }
    ~ProgramFolderOverride() { qputenv("PEMO_HOME", saved_); }
    ProgramFolderOverride(const ProgramFolderOverride&) = delete;
    ProgramFolderOverride& operator=(const ProgramFolderOverride&) = delete;

private:
    QByteArray saved_;
};

}  // namespace pemo::filetest
