#include "DocumentFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>

#include "CPatDoc.h"
#include "OutputPlaceholders.h"
#include "TemplateFile.h"
#include "TypingRecord.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Archive.h"
#include "core/codecs/GunzipDevice.h"
#include "core/codecs/Gzip.h"
#include "core/codecs/GzipDevice.h"
#include "core/codecs/ZipExtract.h"
#include "core/platform/ProgramInfo.h"
#include "core/platform/SafeFile.h"
#include "core/platform/SourceFile.h"

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

void readBody(ArchiveReader& in, DocumentContent& content) {
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

void readFile(QIODevice& file, qint64 size, DocumentContent& content, bool nested);

void readFile(const QByteArray& bytes, DocumentContent& content, bool nested) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    readFile(buffer, bytes.size(), content, nested);
}

// Reads a complete document file of size bytes from file, a window at a time: the body
// is inflated as it is read and pictures go to their private copies in slices. nested
// is set while reading the file that an older ZIP-packed file carries, which may not be
// packed again.
void readFile(QIODevice& file, qint64 size, DocumentContent& content, bool nested) {
    // The header alone first, so that the file stands where the body begins.
    const QByteArray headBytes = file.read(std::min<qint64>(size, DocumentFile::kHeaderSize));
    ArchiveReader head(headBytes);
    if (head.readText() != DocumentFile::kMagic) throw FormatError();
    const int version = head.readUInt16();
    if (version > kStreamVersion) throw FormatError(newerVersionText("文件", version));
    if (!nested) content.version = version;
    const int32_t packed = head.readInt32();
    const int32_t bodySize = head.readInt32();
    const int32_t packedSize = head.readInt32();
    head.skipReserved(2);
    ArchiveReader in(file, size - headBytes.size());

    if (version == DocumentFile::kZipVersion) {
        const int32_t payloadSize = in.readInt32();
        if (!packed) {
            readBody(in, content);
            return;
        }
        if (nested || payloadSize < 0 || payloadSize > in.remaining()) throw FormatError();
        const auto inner = ZipExtract::firstEntry(in.readBytes(payloadSize), kMaxGunzipSize);
        if (!inner) throw FormatError();
        readFile(*inner, content, true);
        return;
    }
    if (bodySize == 0) {
        readBody(in, content);
        return;
    }
    if (packedSize < 0 || packedSize > in.remaining()) throw FormatError();
    // Deflate packs at most 1032 bytes into one. A body size the packed bytes cannot
    // hold marks a damaged file; it is refused before anything of it is read.
    if (bodySize < 0 || qint64(bodySize) > qint64(packedSize) * kMaxDeflateRatio) {
        throw FormatError();
    }
    // Nothing was read past the header: the packed bytes start where the file stands.
    GunzipDevice gunzip(file, packedSize);
    ArchiveReader body(gunzip, bodySize);
    readBody(body, content);
    if (!gunzip.finishExactly(bodySize)) throw FormatError();
}

}  // namespace

QString newerVersionText(const char* what, int version) {
    return QString::fromUtf8("本软件的版本号是3.2；该%1的版本号时%2.%3，请升级软件。")
        .arg(QString::fromUtf8(what))
        .arg(version / 256, 0, 16)
        .arg(version % 256, 0, 16);
}

namespace {

// Runs write into a byte array.
QByteArray collected(const std::function<bool(QIODevice&)>& write) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return bytes;
}

bool put(QIODevice& out, const QByteArray& bytes) { return out.write(bytes) == bytes.size(); }

}  // namespace

QByteArray DocumentFile::writeBody(CPatDoc& doc) {
    return collected([&](QIODevice& out) { return writeBody(doc, out); });
}

bool DocumentFile::writeBody(CPatDoc& doc, QIODevice& out) {
    // Every record is stored with its own values (and product picture), also the one that
    // template mode shows with the placeholders' names.
    const OutputPlaceholders values(doc, false);
    clearPictureMarks(doc);
    for (const auto& r : doc.records) markPicturesOf(doc, *r);
    if (!writeHead(doc, static_cast<int32_t>(doc.records.size()), out)) return false;
    for (const auto& r : doc.records) {
        if (!put(out, recordForm(*r))) return false;
    }
    return true;
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
    return collected([&](QIODevice& out) { return writeHead(doc, recordCount, out); });
}

bool DocumentFile::writeHead(CPatDoc& doc, int32_t recordCount, QIODevice& out) {
    doc.images.countMarked();
    doc.backgrounds.countMarked();
    ArchiveWriter colours;
    doc.recentColours.store(colours);
    if (!put(out, colours.data()) || !doc.images.write(out, true) || !doc.backgrounds.write(out, true)) {
        return false;
    }
    ArchiveWriter tail;
    doc.variableNames.store(tail);
    tail.writeInt32(recordCount);
    return put(out, tail.data());
}

QByteArray DocumentFile::write(CPatDoc& doc, bool compress) {
    return collected([&](QIODevice& out) {
        return writeFile(out, compress, [&](QIODevice& body) { return writeBody(doc, body); });
    });
}

QByteArray DocumentFile::pack(const QByteArray& body, bool compress) {
    return pack(std::vector<QByteArray>{body}, compress);
}

QByteArray DocumentFile::pack(const std::vector<QByteArray>& bodyParts, bool compress) {
    return collected([&](QIODevice& out) { return writeFile(out, bodyParts, compress); });
}

bool DocumentFile::writeFile(QIODevice& out, const std::vector<QByteArray>& bodyParts, bool compress) {
    return writeFile(out, compress, [&](QIODevice& body) {
        return std::all_of(bodyParts.begin(), bodyParts.end(), [&](const QByteArray& part) { return put(body, part); });
    });
}

bool DocumentFile::writeFile(QIODevice& out, bool compress,
                             const std::function<bool(QIODevice&)>& writeBodyTo) {
    const qint64 start = out.pos();
    std::optional<GzipDevice> gzip;
    if (compress) gzip.emplace(out);
    const bool packed = gzip && gzip->isReady();
    // The sizes of a packed body are known once it is written; they are filled in then.
    const auto header = [&](int32_t bodySize, int32_t packedSize) {
        ArchiveWriter h;
        h.writeText(kMagic);
        h.writeUInt16(kStreamVersion);
        h.writeInt32(packed ? 1 : 0);
        h.writeInt32(bodySize);
        h.writeInt32(packedSize);
        h.writeReserved(2);
        return h.take();
    };
    if (!put(out, header(0, 0))) return false;
    if (!packed) return writeBodyTo(out);
    if (!writeBodyTo(*gzip) || !gzip->finish()) return false;
    const qint64 end = out.pos();
    return out.seek(start) &&
           put(out, header(static_cast<int32_t>(gzip->contentSize()), static_cast<int32_t>(gzip->packedSize()))) &&
           out.seek(end);
}

namespace {

int adopt(CPatDoc& doc, DocumentContent& content) {
    doc.clear();
    doc.recentColours = content.colours;
    doc.images = std::move(content.images);
    doc.backgrounds = std::move(content.backgrounds);
    doc.variableNames = content.variableNames;
    doc.records = std::move(content.records);
    if (doc.records.empty()) doc.records.push_back(doc.newRecord());
    doc.records.front()->current = true;
    TypingRecord::parkAfterOpen(doc);
    doc.setModified(false);
    return content.version;
}

QString cannotOpenText(const QString& path) { return QString::fromUtf8("无法打开文件 %1。").arg(path); }

// Opens a document or template file on disk for reading, at its start, after checking
// what it is (see DocumentFile::readFromDisk).
void openOnDisk(const QString& path, QFile& file) {
    const SourceFile::Opened opened = SourceFile::openRegular(file, path, DocumentFile::kMaxFileSize);
    switch (opened.refusal) {
    case SourceFile::Refusal::None: break;
    case SourceFile::Refusal::CannotOpen: throw IoError(cannotOpenText(path));
    case SourceFile::Refusal::NotRegular:
        throw IoError(QString::fromUtf8("%1 是%2，不是普通文件，无法打开。").arg(path, opened.kind));
    case SourceFile::Refusal::TooLarge: throw FormatError();
    }
    // A length byte of 8, then the document's or the template's magic.
    const QByteArray head = file.read(9);
    if (head != QByteArray("\x08") + DocumentFile::kMagic &&
        head != QByteArray("\x08") + TemplateFile::kMagic) {
        throw FormatError();
    }
    if (!file.seek(0)) throw IoError(cannotOpenText(path));
}

}  // namespace

int DocumentFile::read(CPatDoc& doc, const QByteArray& bytes) {
    DocumentContent content;
    readFile(bytes, content, false);
    return adopt(doc, content);
}

int DocumentFile::open(CPatDoc& doc, const QString& path) {
    QFile file;
    openOnDisk(path, file);
    DocumentContent content;
    try {
        readFile(file, std::min(file.size(), kMaxFileSize), content, false);
    } catch (const FormatError&) {
        if (file.error() != QFileDevice::NoError) throw IoError(cannotOpenText(path));
        throw;
    }
    return adopt(doc, content);
}

QByteArray DocumentFile::readFromDisk(const QString& path) {
    QFile file;
    openOnDisk(path, file);
    // What the file holds: asking for the largest size allowed would reserve it all.
    QByteArray bytes = file.read(std::min(file.size(), kMaxFileSize));
    if (file.error() != QFileDevice::NoError) throw IoError(cannotOpenText(path));
    return bytes;
}

void DocumentFile::save(CPatDoc& doc, const QString& path) {
    SafeFile::write(path, [&](QIODevice& out) {
        return writeFile(out, true, [&](QIODevice& body) { return writeBody(doc, body); });
    });
    doc.setModified(false);
}

}  // namespace pemo
