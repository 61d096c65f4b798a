#include "DocumentFile.h"

#include <QFile>
#include <QFileInfo>

#include "CPatDoc.h"
#include "OutputPlaceholders.h"
#include "TemplateFile.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Archive.h"
#include "core/codecs/Gzip.h"
#include "core/codecs/ZipExtract.h"
#include "core/platform/ProgramInfo.h"
#include "core/platform/SafeFile.h"

namespace pemo {

namespace {

// Deflate never packs more than 1032 bytes into one.
constexpr qint64 kMaxDeflateRatio = 1032;

// Everything a document file holds, read aside so a refused file changes nothing.
struct DocumentContent {
    int version = 0;
    RecentColourList colours;
    PictureStore images;
    PictureStore backgrounds;
    VariableNameList variableNames;
    std::vector<std::unique_ptr<InfoRecord>> records;
};

void checkPageSize(int32_t wMm, int32_t hMm, int32_t wTw, int32_t hTw) {
    if (!InfoRecord::isValidPageSize(wMm, hMm, wTw, hTw)) throw FormatError();
}

void writeRecord(ArchiveWriter& out, const InfoRecord& r) {
    out.writeInt32(r.widthMm);
    out.writeInt32(r.heightMm);
    out.writeInt32(r.widthTw);
    out.writeInt32(r.heightTw);
    out.writeText(r.background.key);
    out.writeText(r.background.category);
    out.writeText(r.background.name);
    out.writeText(r.background.extension);
    out.writeText(r.background.templateName);
    for (const QByteArray& v : r.values) out.writeText(v);
    out.writeReserved(17);
    writeBlockList(out, r.blocks, BlockForm::Document);
}

std::unique_ptr<InfoRecord> readRecord(ArchiveReader& in, const PictureStore& backgrounds,
                                       PictureStore& images) {
    auto r = std::make_unique<InfoRecord>();
    r->widthMm = in.readInt32();
    r->heightMm = in.readInt32();
    r->widthTw = in.readInt32();
    r->heightTw = in.readInt32();
    checkPageSize(r->widthMm, r->heightMm, r->widthTw, r->heightTw);
    r->background.key = in.readText();
    r->background.category = in.readText();
    r->background.name = in.readText();
    r->background.extension = in.readText();
    r->background.templateName = in.readText();
    r->background.present = backgrounds.contains(r->background.key) ? 1 : 0;
    for (QByteArray& v : r->values) v = in.readText();
    in.skipReserved(17);
    r->blocks = readBlockList(in, BlockForm::Document, nullptr, &images);
    if (const Block* product = r->firstBlockOfKind(BlockKind::ProductPicture)) {
        r->productPicture = product->pictureKey();
    }
    return r;
}

void readBody(const QByteArray& body, DocumentContent& content) {
    ArchiveReader in(body);
    content.colours.load(in);
    content.images.read(in);
    content.backgrounds.read(in);
    content.variableNames.load(in);
    // A record takes at least 4 × 4 + 18 × 1 + 17 × 4 + 4 bytes.
    const int32_t count = in.readCount(106);
    content.records.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        content.records.push_back(readRecord(in, content.backgrounds, content.images));
    }
}

// Reads a complete document file; nested is set while reading the file that an
// older ZIP-packed file carries, which may not be packed again.
void readFile(const QByteArray& bytes, DocumentContent& content, bool nested) {
    ArchiveReader in(bytes);
    if (in.readText() != DocumentFile::kMagic) throw FormatError();
    const int version = in.readUInt16();
    if (version > kStreamVersion) throw FormatError(newerVersionText("文件", version));
    if (!nested) content.version = version;
    const int32_t packed = in.readInt32();
    const int32_t bodySize = in.readInt32();
    const int32_t packedSize = in.readInt32();
    in.skipReserved(2);

    if (version == DocumentFile::kZipVersion) {
        const int32_t payloadSize = in.readInt32();
        if (!packed) {
            readBody(in.readBytes(in.remaining()), content);
            return;
        }
        if (nested || payloadSize < 0 || payloadSize > in.remaining()) throw FormatError();
        const auto inner = ZipExtract::firstEntry(in.readBytes(payloadSize), kMaxGunzipSize);
        if (!inner) throw FormatError();
        readFile(*inner, content, true);
        return;
    }
    if (bodySize == 0) {
        readBody(in.readBytes(in.remaining()), content);
        return;
    }
    if (packedSize < 0 || packedSize > in.remaining()) throw FormatError();
    // Deflate packs at most 1032 bytes into one. A body size the packed bytes cannot
    // hold marks a damaged file; it is refused before a buffer of that size is made.
    if (bodySize < 0 || qint64(bodySize) > qint64(packedSize) * kMaxDeflateRatio) {
        throw FormatError();
    }
    const auto body = gunzipExactly(in.readBytes(packedSize), bodySize);
    if (!body) throw FormatError();
    readBody(*body, content);
}

}  // namespace

QString newerVersionText(const char* what, int version) {
    return QString::fromUtf8("本软件的版本号是3.2；该%1的版本号时%2.%3，请升级软件。")
        .arg(QString::fromUtf8(what))
        .arg(version / 256, 0, 16)
        .arg(version % 256, 0, 16);
}

QByteArray DocumentFile::writeBody(CPatDoc& doc) {
    // Every record is stored with its own values (and product picture), also the one that
    // template mode shows with the placeholders' names.
    const OutputPlaceholders values(doc, false);
    clearPictureMarks(doc);
    for (const auto& r : doc.records) markPicturesOf(doc, *r);
    QByteArray body = bodyHead(doc, static_cast<int32_t>(doc.records.size()));
    for (const auto& r : doc.records) body += recordForm(*r);
    return body;
}

void DocumentFile::clearPictureMarks(CPatDoc& doc) {
    doc.images.clearMarks();
    doc.backgrounds.clearMarks();
}

// A record's product picture counts even while template mode has emptied its block.
void DocumentFile::markPicturesOf(CPatDoc& doc, const InfoRecord& record) {
    doc.backgrounds.mark(record.background.key);
    doc.images.mark(record.productPicture);
    for (const auto& block : record.blocks) block->markPicturesUsed(doc.images);
}

QByteArray DocumentFile::recordForm(const InfoRecord& record) {
    ArchiveWriter out;
    writeRecord(out, record);
    return out.take();
}

QByteArray DocumentFile::bodyHead(CPatDoc& doc, int32_t recordCount) {
    doc.images.countMarked();
    doc.backgrounds.countMarked();
    ArchiveWriter out;
    doc.recentColours.store(out);
    doc.images.write(out, true);
    doc.backgrounds.write(out, true);
    doc.variableNames.store(out);
    out.writeInt32(recordCount);
    return out.take();
}

QByteArray DocumentFile::write(CPatDoc& doc, bool compress) { return pack(writeBody(doc), compress); }

QByteArray DocumentFile::pack(const QByteArray& body, bool compress) {
    bool packed = false;
    QByteArray payload;
    if (compress) payload = gzipCompress(body, &packed);

    ArchiveWriter out;
    out.writeText(kMagic);
    out.writeUInt16(kStreamVersion);
    out.writeInt32(packed ? 1 : 0);
    out.writeInt32(packed ? static_cast<int32_t>(body.size()) : 0);
    out.writeInt32(packed ? static_cast<int32_t>(payload.size()) : 0);
    out.writeReserved(2);
    out.writeBytes(packed ? payload : body);
    return out.take();
}

int DocumentFile::read(CPatDoc& doc, const QByteArray& bytes) {
    DocumentContent content;
    readFile(bytes, content, false);

    doc.clear();
    doc.recentColours = content.colours;
    doc.images = std::move(content.images);
    doc.backgrounds = std::move(content.backgrounds);
    doc.variableNames = content.variableNames;
    doc.records = std::move(content.records);
    if (doc.records.empty()) doc.records.push_back(doc.newRecord());
    doc.records.front()->current = true;
    doc.setModified(false);
    return content.version;
}

int DocumentFile::open(CPatDoc& doc, const QString& path) { return read(doc, readFromDisk(path)); }

QByteArray DocumentFile::readFromDisk(const QString& path) {
    const QFileInfo info(path);
    const QString cannotOpen = QString::fromUtf8("无法打开文件 %1。").arg(path);
    if (!info.exists()) throw IoError(cannotOpen);
    if (!info.isFile() || info.size() > kMaxFileSize) throw FormatError();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw IoError(cannotOpen);
    // A length byte of 8, then the document's or the template's magic.
    const QByteArray head = file.read(9);
    if (head != QByteArray("\x08") + kMagic && head != QByteArray("\x08") + TemplateFile::kMagic) {
        throw FormatError();
    }
    QByteArray bytes = head + file.read(kMaxFileSize - head.size());
    if (file.error() != QFileDevice::NoError) throw IoError(cannotOpen);
    return bytes;
}

void DocumentFile::save(CPatDoc& doc, const QString& path) {
    SafeFile::write(path, write(doc));
    doc.setModified(false);
}

}  // namespace pemo
