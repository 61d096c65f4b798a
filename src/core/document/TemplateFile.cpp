#include "TemplateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "CPatDoc.h"
#include "DocumentFile.h"
#include "core/codecs/Archive.h"
#include "core/codecs/BmpWriter.h"
#include "core/codecs/Gbk.h"
#include "core/codecs/Gzip.h"
#include "core/codecs/ZipExtract.h"
#include "core/platform/Folders.h"
#include "core/platform/ProgramInfo.h"
#include "core/platform/SafeFile.h"
#include "core/platform/SourceFile.h"

namespace pemo {

namespace {

const QString kLibraryFolder = QString::fromUtf8("底图模板");

QString safe(const QByteArray& gbk) { return safeFileNamePart(Gbk::toUnicode(gbk)); }

// Takes the template's background into the document: from the library when the
// file is still there, else from the bytes the template carries.
BackgroundRef takeBackground(const TemplateData& data, CPatDoc& doc) {
    BackgroundRef ref;
    ref.templateName = data.backgroundTemplateName;
    if (data.backgroundName.isEmpty() && data.backgroundBytes.isEmpty()) return ref;

    const QByteArray& category = data.backgroundCategory;
    const QByteArray& name = data.backgroundName;
    const QString libraryFile = TemplateFile::backgroundFile(category, name, data.backgroundExtension);
    PictureDescription d;
    QString tempFile;
    if (!category.isEmpty() && QFileInfo::exists(libraryFile)) {
        d = PictureDescription::ofFile(libraryFile, PictureDescription::Background, category,
                                       name);
    } else {
        ensureTempFolder();
        tempFile = QStringLiteral("%1/%2-%3.%4")
                       .arg(tempFolder(), safe(name), newUniqueName(),
                            safe(data.backgroundExtension));
        QFile out(tempFile);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(data.backgroundBytes) != data.backgroundBytes.size()) {
            throw FormatError(QString::fromUtf8("无法写入临时文件 %1。").arg(tempFile));
        }
        out.close();
        const QString baseName = QFileInfo(tempFile).fileName();
        d = PictureDescription::ofFile(tempFile, PictureDescription::Background, QByteArray(),
                                       Gbk::fromUnicode(baseName.left(baseName.size() - 4)));
    }
    ref.category = d.category;
    ref.name = d.name;
    ref.extension = d.extension;
    ref.key = doc.backgrounds.add(d);
    ref.present = doc.backgrounds.contains(ref.key) ? 1 : 0;
    if (!tempFile.isEmpty()) deleteFileForced(tempFile);
    return ref;
}

void parseTemplate(const QByteArray& bytes, TemplateData& data, PictureStore* images, bool nested) {
    ArchiveReader in(bytes);
    if (in.readText() != TemplateFile::kMagic) throw FormatError();
    const int version = in.readUInt16();
    if (version > kStreamVersion) throw FormatError(newerVersionText("模板", version));
    if (!nested) data.version = version;
    data.widthMm = in.readInt32();
    data.heightMm = in.readInt32();
    data.widthTw = in.readInt32();
    data.heightTw = in.readInt32();
    const int32_t packed = in.readInt32();
    in.skipReserved(4);
    const int32_t payloadSize = in.readInt32();
    if (packed) {
        if (nested || payloadSize < 0 || payloadSize > in.remaining()) throw FormatError();
        const auto inner = ZipExtract::firstEntry(in.readBytes(payloadSize), kMaxGunzipSize);
        if (!inner) throw FormatError();
        parseTemplate(*inner, data, images, true);
        return;
    }
    if (!InfoRecord::isValidPageSize(data.widthMm, data.heightMm, data.widthTw, data.heightTw)) {
        throw FormatError();
    }
    data.backgroundCategory = in.readText();
    data.backgroundName = in.readText();
    data.backgroundExtension = in.readText();
    data.backgroundTemplateName = in.readText();
    const int32_t byteCount = in.readInt32();
    if (byteCount < 0 || byteCount > in.remaining()) throw FormatError();
    data.backgroundBytes = in.readBytes(byteCount);
    data.pictures.read(in);
    data.blocks = readBlockList(in, BlockForm::Template, &data.pictures, images);
}

}  // namespace

QString TemplateFile::folderFor(const QByteArray& category, const QByteArray& backgroundName) {
    return QStringLiteral("%1/%2/%3/%4-TMPL")
        .arg(programFolder(), kLibraryFolder, safe(category), safe(backgroundName));
}

QString TemplateFile::backgroundFile(const QByteArray& category, const QByteArray& name,
                                     const QByteArray& extensionWithoutDot) {
    return QStringLiteral("%1/%2/%3/%4.%5")
        .arg(programFolder(), kLibraryFolder, safe(category), safe(name),
             safe(extensionWithoutDot));
}

QString TemplateFile::nameFromFileName(const QString& baseName) {
    const int dash = baseName.lastIndexOf(QLatin1Char('-'));
    return dash < 0 ? baseName : baseName.mid(dash + 1);
}

bool TemplateFile::isValidName(const QString& name) {
    if (name.trimmed().isEmpty()) return false;
    for (QChar ch : name) {
        if (ch.unicode() < 0x20 || QStringLiteral(".\\:-/*?\"<>|").contains(ch)) return false;
    }
    bool gbk = false;
    Gbk::fromUnicode(name, &gbk);
    return gbk;
}

void TemplateFile::parse(const QByteArray& bytes, TemplateData& data, PictureStore* images) {
    parseTemplate(bytes, data, images, false);
}

void TemplateFile::read(const QByteArray& bytes, InfoRecord& record, CPatDoc& doc) {
    TemplateData data;
    parseTemplate(bytes, data, &doc.images, false);
    const BackgroundRef background = takeBackground(data, doc);
    record.clearSelection();
    record.widthMm = data.widthMm;
    record.heightMm = data.heightMm;
    record.widthTw = data.widthTw;
    record.heightTw = data.heightTw;
    record.background = background;
    record.blocks = std::move(data.blocks);
    record.resetUndo();
}

std::optional<QSize> TemplateFile::readPageSize(const QString& path) {
    // Magic (9 bytes), version and four sizes.
    constexpr qint64 kHeaderBytes = 9 + 2 + 16;
    try {
        ArchiveReader in(SourceFile::head(path, kHeaderBytes));
        if (in.readText() != kMagic) return std::nullopt;
        if (in.readUInt16() > kStreamVersion) return std::nullopt;
        const int32_t wMm = in.readInt32(), hMm = in.readInt32();
        const int32_t wTw = in.readInt32(), hTw = in.readInt32();
        if (!InfoRecord::isValidPageSize(wMm, hMm, wTw, hTw)) return std::nullopt;
        return QSize(wMm, hMm);
    } catch (const FileError&) {
        return std::nullopt;
    }
}

void TemplateFile::apply(const QString& path, InfoRecord& record, CPatDoc& doc) {
    read(DocumentFile::readFromDisk(path), record, doc);
}

QByteArray TemplateFile::write(const InfoRecord& record, const CPatDoc& doc,
                               const QByteArray& templateName) {
    ArchiveWriter body;
    QByteArray extension = record.background.extension;
    if (extension.startsWith('.')) extension.remove(0, 1);
    const StoredPicture* background = doc.backgrounds.entry(record.background.key);
    const QByteArray backgroundBytes = background ? background->fileBytes() : QByteArray();
    body.writeText(record.background.category);
    body.writeText(record.background.name);
    body.writeText(extension);
    body.writeText(templateName);
    body.writeInt32(static_cast<int32_t>(backgroundBytes.size()));
    body.writeBytes(backgroundBytes);
    PictureStore local;
    for (const auto& block : record.blocks) block->exportPictures(local, doc.images);
    local.write(body, false);
    writeBlockList(body, record.blocks, BlockForm::Template);

    ArchiveWriter out;
    out.writeText(kMagic);
    out.writeUInt16(kStreamVersion);
    out.writeInt32(record.widthMm);
    out.writeInt32(record.heightMm);
    out.writeInt32(record.widthTw);
    out.writeInt32(record.heightTw);
    out.writeInt32(0);
    out.writeReserved(4);
    // Readers ignore the payload size of a plain template; it holds the body's size.
    out.writeInt32(static_cast<int32_t>(body.size()));
    out.writeBytes(body.data());
    return out.take();
}

QString TemplateFile::saveToLibrary(const InfoRecord& record, const CPatDoc& doc,
                                    const QString& templateName, const QImage& preview) {
    if (!isValidName(templateName)) throw FormatError(QString::fromUtf8("模板名称不合法。"));
    // The library lists a template only beside its background. A background taken from
    // a template file rather than the library has no category: its folder would be the
    // library's top folder, where it would show as a category.
    QByteArray extension = record.background.extension;
    if (extension.startsWith('.')) extension.remove(0, 1);
    if (record.background.category.isEmpty() ||
        !QFileInfo::exists(
            backgroundFile(record.background.category, record.background.name, extension))) {
        throw IoError(QString::fromUtf8("底图(%1)不在底图库中, 保存的模板无法在模板库中显示。"
                                        "请先从底图库选择底图。")
                          .arg(Gbk::toUnicode(record.background.name)));
    }
    const QString folder = folderFor(record.background.category, record.background.name);
    if (!QDir().mkpath(folder)) {
        throw IoError(QString::fromUtf8("无法建立文件夹 %1。").arg(folder));
    }
    const QString base = QStringLiteral("%1/%2-%3")
                             .arg(folder, safe(record.background.name), templateName);
    const QString path = base + QStringLiteral(".vxt");
    const QByteArray bytes = write(record, doc, Gbk::fromUnicode(templateName));
    // The preview first: the library lists a template only beside its preview, so a
    // failure never leaves a template the library cannot show.
    if (!BmpWriter::write(preview, base + QStringLiteral(".bmp"))) {
        throw IoError(QString::fromUtf8("无法保存文件 %1。").arg(base + QStringLiteral(".bmp")));
    }
    SafeFile::write(path, bytes);
    return path;
}

}  // namespace pemo
