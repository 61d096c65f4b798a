// Writes the seed corpora of the fuzz targets: small valid documents, templates and
// block lists in every layout the readers take. Usage: pemo_fuzz_seeds CORPUS_DIR
#include <zlib.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Archive.h"
#include "core/codecs/BmpWriter.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/TemplateFile.h"

using namespace pemo;

namespace {

QString corpus;

void save(const QString& target, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(corpus + "/" + target);
    QFile file(corpus + "/" + target + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

QString pictureFile(const QString& dir, const QString& name, QRgb colour) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir + "/" + name + ".bmp";
    BmpWriter::write(image, path);
    return path;
}

// One stored entry: local header, data, central directory, end record.
QByteArray storedZip(const QByteArray& content) {
    const QByteArray name = "VXQPEMO.tmp";
    const auto crc = uint32_t(
        crc32(0, reinterpret_cast<const Bytef*>(content.constData()), uInt(content.size())));
    ArchiveWriter local, central, end;
    local.writeUInt32(0x04034b50);
    for (int v : {20, 0, 0, 0, 0x21})
        local.writeUInt16(uint16_t(v));
    local.writeUInt32(crc);
    local.writeInt32(int32_t(content.size()));
    local.writeInt32(int32_t(content.size()));
    local.writeUInt16(uint16_t(name.size()));
    local.writeUInt16(0);
    local.writeBytes(name);
    local.writeBytes(content);
    central.writeUInt32(0x02014b50);
    for (int v : {20, 20, 0, 0, 0, 0x21})
        central.writeUInt16(uint16_t(v));
    central.writeUInt32(crc);
    central.writeInt32(int32_t(content.size()));
    central.writeInt32(int32_t(content.size()));
    for (int v : {int(name.size()), 0, 0, 0, 0})
        central.writeUInt16(uint16_t(v));
    central.writeInt32(0);
    central.writeInt32(0);
    central.writeBytes(name);
    end.writeUInt32(0x06054b50);
    for (int v : {0, 0, 1, 1})
        end.writeUInt16(uint16_t(v));
    end.writeInt32(int32_t(central.size()));
    end.writeInt32(int32_t(local.size()));
    end.writeUInt16(0);
    return local.data() + central.data() + end.data();
}

QByteArray olderDocument(const QByteArray& inner) {
    const QByteArray zip = storedZip(inner);
    ArchiveWriter out;
    out.writeText(DocumentFile::kMagic);
    out.writeUInt16(DocumentFile::kZipVersion);
    out.writeInt32(1);
    out.writeReserved(4);
    out.writeInt32(int32_t(zip.size()));
    out.writeBytes(zip);
    return out.take();
}

QByteArray olderTemplate(const InfoRecord& record, const QByteArray& inner) {
    const QByteArray zip = storedZip(inner);
    ArchiveWriter out;
    out.writeText(TemplateFile::kMagic);
    out.writeUInt16(DocumentFile::kZipVersion);
    out.writeInt32(record.widthMm);
    out.writeInt32(record.heightMm);
    out.writeInt32(record.widthTw);
    out.writeInt32(record.heightTw);
    out.writeInt32(1);
    out.writeReserved(4);
    out.writeInt32(int32_t(zip.size()));
    out.writeBytes(zip);
    return out.take();
}

std::unique_ptr<Block> block(int32_t kind, int32_t layer, int32_t left, int32_t top) {
    auto b = BlockFactory::create(kind);
    b->layer = layer;
    b->frame = {left, top, left + 1440, top + 720};
    b->sizeWidth = 1440;
    b->sizeHeight = 720;
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    corpus = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir home;
    qputenv("PEMO_HOME", home.path().toUtf8());
    registerBlockClasses();

    const QString library = home.path() + "/lib";
    QDir().mkpath(library);
    CPatDoc doc;
    doc.newDocument();
    InfoRecord& first = *doc.records.front();
    first.applyBackground(PictureDescription::ofFile(pictureFile(library, "bg", 0xFFCC00),
                                                     PictureDescription::Background,
                                                     Gbk::fromUnicode(QString::fromUtf8("节日")),
                                                     Gbk::fromUnicode(QString::fromUtf8("春节"))),
                          doc.backgrounds);
    first.values[0] = Gbk::fromUnicode(QString::fromUtf8("可口可乐"));
    first.values[InfoRecord::kCurrentPrice] = "3.50";
    first.appendBlock(block(BlockKind::FirstVariable, 8, 100, 200));
    first.appendBlock(block(BlockKind::Rectangle, 6, 300, 400));
    Block& picture = first.appendBlock(block(BlockKind::ProductPicture, 3, 500, 600));
    picture.setPictureKey(doc.images.add(
        PictureDescription::ofFile(pictureFile(library, "cola", 0xFF0000),
                                   PictureDescription::LibraryPicture, "drinks", "cola")));
    first.productPicture = picture.pictureKey();
    auto second = doc.newRecord();
    second->values[0] = "tea";
    doc.records.push_back(std::move(second));

    const QByteArray plain = DocumentFile::write(doc, false);
    save("document", "plain.vxq", plain);
    save("document", "packed.vxq", DocumentFile::write(doc, true));
    save("document", "zip0300.vxq", olderDocument(plain));

    const QByteArray tmpl = TemplateFile::write(first, doc, "t1");
    save("template", "plain.vxt", tmpl);
    save("template", "zip0300.vxt", olderTemplate(first, tmpl));

    const char* const names[] = {"snapshot", "document", "template", "clip"};
    for (int form = 0; form < 4; ++form) {
        ArchiveWriter out;
        out.writeByte(uint8_t(form));
        const auto f = static_cast<BlockForm>(form);
        if (f == BlockForm::Template || f == BlockForm::Clip) {
            PictureStore local;
            for (const auto& b : first.blocks)
                b->exportPictures(local, doc.images);
            local.write(out, false);
        }
        std::vector<const Block*> list;
        for (const auto& b : first.blocks)
            list.push_back(b.get());
        writeBlockList(out, list, f, QPoint(100, 200));
        save("blocklist", QString::fromLatin1(names[form]), out.data());
    }
    return 0;
}
