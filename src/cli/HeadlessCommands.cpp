#include "HeadlessCommands.h"
#include "ImportCommand.h"
#include "PdfExport.h"
#include "ExportRecordsCommand.h"
#include "CheckCommand.h"
#include "UpdateCommand.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <climits>
#include <cstdio>

#include "CommandLine.h"
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

namespace pemo {

namespace {

constexpr int kOk = kExitOk;
constexpr int kRefused = kExitRefused;
constexpr int kUsage = kExitUsage;

int usage() { return usageError(); }

// What --export was asked to do; options may stand before or after the two paths.
struct ExportRequest {
    QString out;
    QString in;
    int record = 1;  // 1-based
    int dpi = 150;
    bool withBackground = true;
    bool templateMode = false;
    bool pictureOptions = false;  // any option that only a picture takes
};

constexpr int kMaxDpi = 1200;

// A whole number in [1, max] or nothing.
std::optional<int> positiveNumber(const QString& text, int max) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > max) return std::nullopt;
    return value;
}

std::optional<ExportRequest> parseExport(const QStringList& arguments) {
    ExportRequest request;
    QStringList paths;
    for (int i = 2; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QStringLiteral("--record") || a == QStringLiteral("--dpi")) {
            if (i + 1 >= arguments.size()) return std::nullopt;
            const std::optional<int> value =
                positiveNumber(arguments.at(++i), a == QStringLiteral("--dpi") ? kMaxDpi : INT_MAX);
            if (!value) return std::nullopt;
            (a == QStringLiteral("--dpi") ? request.dpi : request.record) = *value;
            request.pictureOptions = true;
        } else if (a == QStringLiteral("--no-background")) {
            request.withBackground = false;
            request.pictureOptions = true;
        } else if (a == QStringLiteral("--template-mode")) {
            request.templateMode = true;
            request.pictureOptions = true;
        } else if (a.startsWith(QStringLiteral("--"))) {
            return std::nullopt;
        } else {
            paths << a;
        }
    }
    if (paths.size() != 2) return std::nullopt;
    request.out = paths.at(0);
    request.in = paths.at(1);
    return request;
}

QByteArray readWhole(const QString& path) { return DocumentFile::readFromDisk(path); }

bool isTemplate(const QByteArray& bytes) {
    return bytes.startsWith(QByteArray("\x08") + TemplateFile::kMagic);
}

}  // namespace

int openDocument(CPatDoc& doc, const QString& path) {
    // A document (pictures and all) is read from the disk a window at a time.
    QFile head(path);
    if (!head.open(QIODevice::ReadOnly) || !isTemplate(head.read(9))) return DocumentFile::open(doc, path);
    head.close();
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
int exportPicture(const ExportRequest& request, const DocumentOpener& open) {
    CPatDoc doc;
    doc.newDocument();
    open(doc, request.in);
    const InfoRecord* record = doc.recordAt(request.record - 1);
    if (!record) {
        printError(QString::fromUtf8("文件只有%1项信息。").arg(doc.recordCount()));
        return kRefused;
    }
    const OutputPlaceholders texts(doc, request.templateMode);
    const QImage image = renderPageImage(*record, doc.backgrounds, request.dpi,
                                         request.withBackground, request.templateMode);
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

int exportFile(const ExportRequest& request, const DocumentOpener& open) {
    const QString suffix = QFileInfo(request.out).suffix().toLower();
    if (suffix == QStringLiteral("png") || suffix == QStringLiteral("bmp")) {
        return exportPicture(request, open);
    }
    if (suffix != QStringLiteral("vxq")) {
        printError(QString::fromUtf8("不支持的输出格式：%1").arg(request.out));
        return kUsage;
    }
    if (request.pictureOptions) return usage();
    CPatDoc doc;
    doc.newDocument();
    open(doc, request.in);
    DocumentFile::save(doc, request.out);
    return kOk;
}

}  // namespace

int runExport(const QStringList& arguments, const DocumentOpener& open) {
    if (arguments.value(2).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        return exportPdf(arguments.mid(2), open);
    }
    if (isRecordExportPath(arguments.value(2))) return exportRecords(arguments.mid(2), open);
    const std::optional<ExportRequest> request = parseExport(arguments);
    if (!request) return usage();
    return exportFile(*request, open);
}

std::optional<int> runHeadlessCommand(const QStringList& arguments) {
    const QString command = arguments.value(1);
    if (command != QStringLiteral("--dump") && command != QStringLiteral("--export") &&
        command != QStringLiteral("--import") && command != QStringLiteral("--check") &&
        command != QStringLiteral("--update")) {
        return std::nullopt;
    }
    registerBlockClasses();
    try {
        if (command == QStringLiteral("--dump")) {
            if (arguments.size() != 3) return usage();
            return dump(arguments.at(2));
        }
        if (command == QStringLiteral("--import")) return runImportCommand(arguments);
        if (command == QStringLiteral("--update")) return runUpdateCommand(arguments);
        if (command == QStringLiteral("--check")) {
            return runCheck(arguments.mid(2), [](CPatDoc& doc, const QString& path) { openDocument(doc, path); });
        }
        return runExport(arguments, [](CPatDoc& doc, const QString& path) { openDocument(doc, path); });
    } catch (const FileError& error) {
        printError(error.message());
        return kRefused;
    }
}

}  // namespace pemo
