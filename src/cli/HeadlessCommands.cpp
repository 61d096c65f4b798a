#include "HeadlessCommands.h"
#include "ImportCommand.h"
#include "PdfExport.h"
#include "ExportRecordsCommand.h"
#include "CheckCommand.h"
#include "UpdateCommand.h"

#include <QJsonDocument>
#include <cstdio>
#include <new>

#include "ExitStatus.h"

#include "core/blocks/BlockFactory.h"
#include "core/codecs/Archive.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentDump.h"
#include "core/document/DocumentFile.h"
#include "core/document/OutputPlaceholders.h"
#include "core/document/PageDrawing.h"
#include "core/document/PagePictureFile.h"
#include "core/document/TemplateFile.h"
#include "core/platform/ProgramInfo.h"
#include "core/platform/SourceFile.h"

namespace pemo {

namespace {

constexpr int kOk = kExitOk;
constexpr int kRefused = kExitRefused;

QByteArray readWhole(const QString& path) { return DocumentFile::readFromDisk(path); }

bool isTemplate(const QByteArray& bytes) {
    return bytes.startsWith(QByteArray("\x08") + TemplateFile::kMagic);
}

}  // namespace

int openDocument(CPatDoc& doc, const QString& path) {
    // A document (pictures and all) is read from the disk a window at a time.
    if (!isTemplate(SourceFile::head(path, 9))) return DocumentFile::open(doc, path);
    const QByteArray bytes = readWhole(path);
    doc.newDocument();
    InfoRecord& record = *doc.currentRecord();
    TemplateFile::read(bytes, record, doc);
    record.refreshPlaceholders(false, doc.placeholderSources());
    return kStreamVersion;
}

namespace {

int dump(const QString& path) {
    const QByteArray bytes = readWhole(path);
    QJsonObject json;
    if (isTemplate(bytes)) {
        TemplateData data;
        PictureStore images;
        TemplateFile::parse(bytes, data, &images);
        json = DocumentDump::templateFile(data);
    } else {
        CPatDoc doc;
        const int version = DocumentFile::read(doc, bytes);
        json = DocumentDump::document(doc, version);
    }
    std::fputs(QJsonDocument(json).toJson(QJsonDocument::Indented).constData(), stdout);
    return kOk;
}

// One record's page as a picture at the requested resolution.
int exportPicture(const ExportRequest& request, const ExportRequest::Picture& picture, const DocumentOpener& open) {
    CPatDoc doc;
    doc.newDocument();
    open(doc, request.in);
    const InfoRecord* record = doc.recordAt(picture.record - 1);
    if (!record) {
        printError(QString::fromUtf8("文件只有%1项信息。").arg(doc.recordCount()));
        return kRefused;
    }
    const OutputPlaceholders texts(doc, picture.templateMode);
    const QImage image = renderPageImage(*record, doc.backgrounds, picture.dpi, picture.withBackground,
                                         picture.templateMode);
    if (image.isNull()) {
        printError(QString::fromUtf8("页面太大，无法生成图片。"));
        return kRefused;
    }
    if (!PagePictureFile::write(image, request.out)) {
        printError(QString::fromUtf8("无法写入文件 %1。").arg(request.out));
        return kRefused;
    }
    return kOk;
}

int exportDocument(const ExportRequest& request, const DocumentOpener& open) {
    CPatDoc doc;
    doc.newDocument();
    open(doc, request.in);
    DocumentFile::save(doc, request.out);
    return kOk;
}

}  // namespace

int runExport(const ExportRequest& request, const DocumentOpener& open) {
    if (const auto* picture = std::get_if<ExportRequest::Picture>(&request.form)) {
        return exportPicture(request, *picture, open);
    }
    if (const auto* job = std::get_if<ExportRequest::Pdf>(&request.form)) return exportPdf(request, *job, open);
    if (const auto* list = std::get_if<ExportRequest::List>(&request.form)) return exportList(request, *list, open);
    if (const auto* records = std::get_if<ExportRequest::Records>(&request.form)) {
        return exportRecords(request, *records, open);
    }
    return exportDocument(request, open);
}

namespace {

// The file a command reads first, to name in a message about the whole run.
QString mainInput(const CommandRequest& request) {
    if (const auto* dumping = std::get_if<DumpRequest>(&request)) return dumping->file;
    if (const auto* importing = std::get_if<ImportRequest>(&request)) return importing->source.data;
    if (const auto* updating = std::get_if<UpdateRequest>(&request)) return updating->document;
    if (const auto* checking = std::get_if<CheckRequest>(&request)) return checking->file;
    return std::get<ExportRequest>(request).in;
}

QString outOfMemoryText(const QString& file) {
    return QString::fromUtf8("内存不足：处理 %1 需要的内存超过了可用的内存，没有写出任何文件。").arg(file);
}

}  // namespace

int runHeadlessCommand(const CommandRequest& request) {
    registerBlockClasses();
    const DocumentOpener openFile = [](CPatDoc& doc, const QString& path) { openDocument(doc, path); };
    try {
        if (const auto* dumping = std::get_if<DumpRequest>(&request)) return dump(dumping->file);
        if (const auto* importing = std::get_if<ImportRequest>(&request)) return runImportCommand(*importing);
        if (const auto* updating = std::get_if<UpdateRequest>(&request)) return runUpdateCommand(*updating);
        if (const auto* checking = std::get_if<CheckRequest>(&request)) return runCheck(*checking, openFile);
        return runExport(std::get<ExportRequest>(request), openFile);
    } catch (const FileError& error) {
        printError(error.message());
        return kRefused;
    } catch (const std::bad_alloc&) {
        // Every output goes through a temporary file that the unwinding has removed.
        printError(outOfMemoryText(mainInput(request)));
        return kRefused;
    }
}

}  // namespace pemo
