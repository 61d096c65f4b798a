#include "HeadlessCommands.h"
#include "PdfExport.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <cstdio>

#include "blocks/BlockFactory.h"
#include "codecs/Archive.h"
#include "document/CPatDoc.h"
#include "document/DocumentDump.h"
#include "document/DocumentFile.h"
#include "document/TemplateFile.h"
#include "platform/ProgramInfo.h"

namespace pemo {

namespace {

constexpr int kOk = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

void printError(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

int usage() {
    printError(QStringLiteral("usage: pemo --dump FILE | pemo --export OUT.vxq FILE | pemo --export OUT.pdf FILE [options]"));
    return kUsage;
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FormatError(QString::fromUtf8("无法打开文件 %1。").arg(path));
    }
    return file.readAll();
}

bool isTemplate(const QByteArray& bytes) {
    return bytes.startsWith(QByteArray("\x08") + TemplateFile::kMagic);
}

// Opens a document, or reads a template into a new one-record document.
int openInto(CPatDoc& doc, const QString& path) {
    const QByteArray bytes = readWhole(path);
    if (!isTemplate(bytes)) return DocumentFile::read(doc, bytes);
    doc.newDocument();
    InfoRecord& record = *doc.currentRecord();
    TemplateFile::read(bytes, record, doc);
    record.refreshPlaceholders(false, doc.placeholderSources());
    return kStreamVersion;
}

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

int exportFile(const QString& out, const QString& in) {
    const QString suffix = QFileInfo(out).suffix().toLower();
    if (suffix != QStringLiteral("vxq")) {
        printError(QString::fromUtf8("不支持的输出格式：%1").arg(out));
        return kUsage;
    }
    CPatDoc doc;
    doc.newDocument();
    openInto(doc, in);
    DocumentFile::save(doc, out);
    return kOk;
}

}  // namespace

std::optional<int> runHeadlessCommand(const QStringList& arguments) {
    const QString command = arguments.value(1);
    if (command != QStringLiteral("--dump") && command != QStringLiteral("--export")) {
        return std::nullopt;
    }
    registerBlockClasses();
    try {
        if (command == QStringLiteral("--dump")) {
            if (arguments.size() != 3) return usage();
            return dump(arguments.at(2));
        }
        if (arguments.value(2).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
            return exportPdf(arguments.mid(2), [](CPatDoc& doc, const QString& path) { openInto(doc, path); });
        }
        if (arguments.size() != 4) return usage();
        return exportFile(arguments.at(2), arguments.at(3));
    } catch (const FormatError& error) {
        printError(error.message());
        return kRefused;
    }
}

}  // namespace pemo
