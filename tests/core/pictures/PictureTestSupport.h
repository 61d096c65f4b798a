#pragma once
// Shared by the picture tests: small picture files made on the spot, the real picture
// block class registered, and a program folder of the test's own.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "Bytes.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/pictures/PictureDescription.h"
#include "core/pictures/PictureStore.h"

namespace pemo::picturetest {

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A picture file of one colour (or the given image) saved in a format by extension.
inline QString savePicture(const QTemporaryDir& dir, const QString& name, const QImage& image) {
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

inline QImage filled(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline PictureDescription describe(const QString& path, const char* name = "图") {
    return PictureDescription::ofFile(path, PictureDescription::LibraryPicture, QByteArray(),
                                      test::gbk(name));
}

// A placeable WMF of 100 × 100 units at 96 units per inch: a red square from 25 to 75
// on white (nothing drawn elsewhere).
inline QByteArray redSquareWmf(const QByteArray& extraRecords = QByteArray()) {
    test::Bytes placeable;
    placeable.i32(int32_t(0x9AC6CDD7)).u16(0).u16(0).u16(0).u16(100).u16(100).u16(96).i32(0);
    const QByteArray head = placeable;
    uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2) {
        checksum ^= uint16_t(uint8_t(head[i]) | (uint8_t(head[i + 1]) << 8));
    }
    placeable.u16(checksum);
    test::Bytes records;
    records.i32(5).u16(0x020B).u16(0).u16(0);               // SETWINDOWORG
    records.i32(5).u16(0x020C).u16(100).u16(100);           // SETWINDOWEXT
    records.raw(extraRecords);
    records.i32(7).u16(0x02FC).u16(0).i32(0x0000FF).u16(0); // CREATEBRUSHINDIRECT red
    records.i32(4).u16(0x012D).u16(0);                      // SELECTOBJECT the brush
    records.i32(8).u16(0x02FA).u16(5).u16(0).u16(0).i32(0); // CREATEPENINDIRECT PS_NULL
    records.i32(4).u16(0x012D).u16(1);                      // SELECTOBJECT the pen
    records.i32(7).u16(0x041B).u16(75).u16(75).u16(25).u16(25);  // RECTANGLE
    records.i32(3).u16(0);                                  // EOF
    const QByteArray body = records;
    test::Bytes header;
    header.u16(1).u16(9).u16(0x0300).i32(int32_t((18 + body.size()) / 2)).u16(2).i32(8).u16(0);
    return QByteArray(placeable) + QByteArray(header) + body;
}

// An EMF of 100 × 100 device units, 26.46 mm square: a red square from 25 to 75.
inline QByteArray redSquareEmf() {
    test::Bytes records;
    records.i32(39).i32(24).i32(1).i32(0).i32(0x0000FF).i32(0);  // CREATEBRUSHINDIRECT
    records.i32(37).i32(12).i32(1);                              // SELECTOBJECT
    records.i32(37).i32(12).i32(int32_t(0x80000008));            // SELECTOBJECT NULL_PEN
    records.i32(43).i32(24).i32(25).i32(25).i32(75).i32(75);     // RECTANGLE
    records.i32(14).i32(20).i32(0).i32(16).i32(20);              // EOF
    const QByteArray body = records;
    const int32_t total = 88 + int32_t(body.size());
    test::Bytes header;
    header.i32(1).i32(88).i32(0).i32(0).i32(99).i32(99).i32(0).i32(0).i32(2646).i32(2646);
    header.i32(0x464D4520).i32(0x10000).i32(total).i32(6).u16(2).u16(0).i32(0).i32(0).i32(0);
    header.i32(1024).i32(768).i32(320).i32(240);
    return QByteArray(header) + body;
}

// Registers the program's picture block for this test program's readers.
inline void registerPictureBlock() {
    registerBlockClasses();
    BlockFactory::setCreator(BlockKind::PictureBit, [] { return std::make_unique<PictureBlock>(); });
}

}  // namespace pemo::picturetest
