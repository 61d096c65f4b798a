#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class QIODevice;

namespace pemo {

class CPatDoc;
class InfoRecord;

// The document file (".vxq"): a 31-byte header, then the body, packed as one gzip
// member when compression succeeds.
class DocumentFile {
public:
    static constexpr const char* kMagic = "QRWNPEMF";
    static constexpr int kHeaderSize = 31;
    // The older layout whose payload is a ZIP archive holding a complete file.
    static constexpr int kZipVersion = 0x0300;

    // The whole file. Runs the mark pass first: pictures no block or background uses
    // any more are left out.
    static QByteArray write(CPatDoc& doc, bool compress = true);
    // The body alone (recent colours, picture stores, variable names, records), after
    // a mark pass.
    static QByteArray writeBody(CPatDoc& doc);
    // The same onto a device, pictures passed on from their private copies a slice at a
    // time; false when out refuses bytes.
    static bool writeBody(CPatDoc& doc, QIODevice& out);
    // writeBody in pieces, for a body taken a few records at a time: clear the picture
    // marks, mark the pictures of every record and take its form, then the head (recent
    // colours, the marked pictures, the variable names, the record count). The head
    // followed by the records' forms is writeBody's body, byte for byte, provided every
    // record holds its values (not the placeholders' names) while its form is taken.
    static void clearPictureMarks(CPatDoc& doc);
    static void markPicturesOf(CPatDoc& doc, const InfoRecord& record);
    static QByteArray recordForm(const InfoRecord& record);
    static QByteArray bodyHead(CPatDoc& doc, int32_t recordCount);
    static bool writeHead(CPatDoc& doc, int32_t recordCount, QIODevice& out);
    // The whole file around a body writeBody made. Touches no document, so it may run
    // on any thread (the recovery copies are packed off the window's thread).
    static QByteArray pack(const QByteArray& body, bool compress = true);
    // The same around a body in parts (a SlicedBody's), never joined.
    static QByteArray pack(const std::vector<QByteArray>& bodyParts, bool compress = true);
    static bool writeFile(QIODevice& out, const std::vector<QByteArray>& bodyParts, bool compress = true);
    // The whole file onto out (which must allow seeking back to fill in the packed sizes),
    // the body deflated as writeBodyTo produces it; false when out refuses bytes or
    // writeBodyTo returns false.
    static bool writeFile(QIODevice& out, bool compress, const std::function<bool(QIODevice&)>& writeBodyTo);

    // Replaces the document's contents with the file's. Throws FormatError with the
    // text to show when the bytes are refused; the document is then left as it was.
    // Returns the file's version word.
    static int read(CPatDoc& doc, const QByteArray& bytes);

    // Reads or writes a file on disk, a window at a time (pictures go between the file and
    // their private copies in slices). Writing goes through a temporary file renamed
    // over the target once complete. Both throw FormatError with the text to show.
    static int open(CPatDoc& doc, const QString& path);
    // The bytes of a document or template file on disk. The header is checked before
    // anything else is read, so a file of another kind costs nine bytes, whatever its size;
    // what is not a regular file (a folder, a pipe, a device) or is larger than any
    // document can be is refused as well (FormatError); a file that cannot be opened or
    // read throws IoError.
    static QByteArray readFromDisk(const QString& path);
    static constexpr qint64 kMaxFileSize = qint64(1) << 30;
    static void save(CPatDoc& doc, const QString& path);
};

// "本软件的版本号是3.2；该<what>的版本号时%x.%x，请升级软件。"
QString newerVersionText(const char* what, int version);

}  // namespace pemo
