#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>
#include <QString>

#include "core/pictures/PictureStore.h"
#include "core/blocks/BlockList.h"

namespace pemo {

class CPatDoc;
class InfoRecord;

// What a template file holds, as read.
struct TemplateData {
    int version = 0;
    int32_t widthMm = 0, heightMm = 0, widthTw = 0, heightTw = 0;
    QByteArray backgroundCategory;
    QByteArray backgroundName;
    QByteArray backgroundExtension;  // without its leading dot
    QByteArray backgroundTemplateName;
    QByteArray backgroundBytes;
    PictureStore pictures;  // the template's own picture store
    BlockPtrList blocks;
};

// The template file (".vxt"): one page — its size, background and blocks — kept in
// the background library beside the background it was designed on.
class TemplateFile {
public:
    static constexpr const char* kMagic = "QRWNPEMT";

    // Reads a template into a record: page size, background and blocks are replaced,
    // selection and undo emptied; values, product picture, copies and the current flag
    // stay. The background comes from the library when its file is still there, else
    // from the bytes in the template. Throws FormatError with the text to show; the
    // record is then left unchanged.
    static void read(const QByteArray& bytes, InfoRecord& record, CPatDoc& doc);
    // Reads a template's parts without taking anything into a document (blocks that
    // take pictures add them to images when given). Throws FormatError.
    static void parse(const QByteArray& bytes, TemplateData& data, PictureStore* images);
    static void apply(const QString& path, InfoRecord& record, CPatDoc& doc);
    // The page size in millimetres from a template file's header, without reading its
    // body; none when the file cannot be read, is not a template, is newer than this
    // program or holds an impossible size.
    static std::optional<QSize> readPageSize(const QString& path);

    // The template of a record's page, named templateName.
    static QByteArray write(const InfoRecord& record, const CPatDoc& doc,
                            const QByteArray& templateName);

    // The library folder of a background's templates:
    // <program folder>/底图模板/<category>/<name>-TMPL.
    static QString folderFor(const QByteArray& category, const QByteArray& backgroundName);
    // The library file of a background: <program folder>/底图模板/<category>/<name>.<ext>.
    static QString backgroundFile(const QByteArray& category, const QByteArray& name,
                                  const QByteArray& extensionWithoutDot);
    // The template's name as the library reads it: the part of the file's base name
    // after its last "-".
    static QString nameFromFileName(const QString& baseName);
    // A template name may not be empty, nor hold ".", "\\", ":", "-", "/" or any
    // character not allowed in file names.
    static bool isValidName(const QString& name);
    // Writes the template and its preview picture (same name, ".bmp") into the
    // background's template folder; returns the template file's path. Throws
    // FormatError with the text to show.
    static QString saveToLibrary(const InfoRecord& record, const CPatDoc& doc,
                                 const QString& templateName, const QImage& preview);
};

}  // namespace pemo
