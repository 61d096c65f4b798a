#pragma once

// Small block classes for the fuzz targets and the seed writer. The program's own
// classes register themselves as they are built (graphic blocks have); until then these
// stand in for text and pictures so block lists get past the factory. The plain block
// keeps the base forms; the picture block adds one picture key to each form and, in the
// template and clipboard forms, takes its picture from the stream's own store into the
// images.

#include <QByteArray>
#include <QPoint>
#include <memory>

#include "core/blocks/Block.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Archive.h"
#include "core/pictures/PictureStore.h"

namespace pemo::fuzz {

class PlainBlock : public Block {};

class KeyedPictureBlock : public Block {
public:
    void loadSnapshot(ArchiveReader& in) override {
        Block::loadSnapshot(in);
        key_ = in.readText();
    }
    void storeSnapshot(ArchiveWriter& out) const override {
        Block::storeSnapshot(out);
        out.writeText(key_);
    }
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
        key_ = take(local, images);
    }
    void exportPictures(PictureStore& local, const PictureStore& images) const override {
        const StoredPicture* picture = images.entry(key_);
        if (picture && !local.contains(key_)) {
            local.addBytes(key_, picture->description(), picture->fileBytes());
        }
    }
    void loadClip(ArchiveReader& in, const PictureStore& local, PictureStore& images,
                  QPoint& origin) override {
        Block::loadClip(in, local, images, origin);
        key_ = in.readText();
        key_ = take(local, images);
    }
    void storeClip(ArchiveWriter& out, int32_t originX, int32_t originY) const override {
        Block::storeClip(out, originX, originY);
        out.writeText(key_);
    }
    QByteArray pictureKey() const override { return key_; }
    void setPictureKey(const QByteArray& key) override { key_ = key; }

private:
    QByteArray take(const PictureStore& local, PictureStore& images) const {
        return local.contains(key_) ? images.add(local.descriptionOf(key_)) : QByteArray();
    }

    QByteArray key_;
};

inline void registerFuzzBlocks() {
    registerBlockClasses();
    BlockFactory::setCreator(BlockKind::TextBit, [] { return std::make_unique<PlainBlock>(); });
    BlockFactory::setCreator(BlockKind::PictureBit,
                             [] { return std::make_unique<KeyedPictureBlock>(); });
}

}  // namespace pemo::fuzz
