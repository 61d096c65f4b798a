#include "PdfPictureSession.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <algorithm>
#include <map>
#include <optional>

namespace pemo {

namespace {

PdfPictureSession* gActive = nullptr;

// One change to the PDF's bytes: [start, end) replaced by text, or by a file's content.
struct Edit {
    qsizetype start = 0;
    qsizetype end = 0;
    QByteArray text;
    QString file;
    qint64 fileSize = 0;
    qint64 size() const { return file.isEmpty() ? text.size() : fileSize; }
};

std::optional<qint64> numberAt(const QByteArray& pdf, qsizetype at, qsizetype* after = nullptr) {
    qsizetype i = at;
    while (i < pdf.size() && pdf[i] == ' ') ++i;
    const qsizetype begin = i;
    while (i < pdf.size() && pdf[i] >= '0' && pdf[i] <= '9') ++i;
    if (i == begin || i - begin > 12) return std::nullopt;
    if (after) *after = i;
    return pdf.mid(begin, i - begin).toLongLong();
}

}  // namespace

PdfPictureSession::PdfPictureSession() { gActive = this; }

PdfPictureSession::~PdfPictureSession() {
    if (gActive == this) gActive = nullptr;
}

PdfPictureSession* PdfPictureSession::active() { return gActive; }

const QImage* PdfPictureSession::standIn(const QString& file, const JpegHeader& header,
                                         bool whiteTransparent) {
    if (header.components != 1 && header.components != 3) return nullptr;
    for (const Entry& e : entries_) {
        if (e.file == file && e.whiteTransparent == whiteTransparent) return &e.standIn;
    }
    // One bit a pixel, so that thousands of stand-ins take little memory; black and white,
    // so that the PDF writer takes it for a stencil and never tries (and loads the image
    // plugins for) a JPEG form of it.
    QImage image(kFirstStandInWidth + static_cast<int>(entries_.size()), 1, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(0);
    entries_.push_back({file, header, whiteTransparent, image});
    return &entries_.back().standIn;
}

bool PdfPictureSession::finish(const QByteArray& pdf, QIODevice& out, QString* error) const {
    const auto fail = [&](const QString& message) {
        if (error) *error = message;
        return false;
    };
    const QString damaged = QString::fromUtf8("PDF 文件不完整。");
    // The cross-reference table: the offset of every object.
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    const auto xrefAt = startxref < 0 ? std::nullopt : numberAt(pdf, startxref + 10);
    if (!xrefAt || *xrefAt >= pdf.size() || !pdf.mid(*xrefAt).startsWith("xref\n0 ")) return fail(damaged);
    qsizetype pos = 0;
    const auto count = numberAt(pdf, *xrefAt + 7, &pos);
    if (!count) return fail(damaged);
    const qsizetype table = pdf.indexOf('\n', pos) + 1;
    constexpr int kEntry = 20;
    if (table <= 0 || table + *count * kEntry > pdf.size()) return fail(damaged);
    std::vector<qint64> offsets(size_t(*count), 0);
    for (qint64 k = 0; k < *count; ++k) {
        const auto o = numberAt(pdf, table + k * kEntry);
        if (!o || *o >= pdf.size()) return fail(damaged);
        offsets[size_t(k)] = *o;
    }

    std::vector<Edit> edits;
    for (qint64 k = 1; k < *count; ++k) {
        const qsizetype at = offsets[size_t(k)];
        const QByteArray head = QByteArray::number(k) + " 0 obj\n";
        const QByteArray image = "<<\n/Type /XObject\n/Subtype /Image\n/Width ";
        if (pdf.mid(at, head.size() + image.size()) != head + image) continue;
        qsizetype after = 0;
        const auto width = numberAt(pdf, at + head.size() + image.size(), &after);
        if (!width || pdf.mid(after, 11) != "\n/Height 1\n") continue;
        const qint64 index = *width - kFirstStandInWidth;
        if (index < 0 || index >= qint64(entries_.size())) continue;
        const Entry& e = entries_[size_t(index)];
        const qsizetype dictStart = at + head.size();
        const qsizetype lengthKey = pdf.indexOf("/Length ", dictStart);
        const qsizetype streamKey = pdf.indexOf(">>\nstream\n", dictStart);
        if (lengthKey < 0 || streamKey < 0 || lengthKey > streamKey) return fail(damaged);
        const auto lengthObject = numberAt(pdf, lengthKey + 8);
        if (!lengthObject || *lengthObject <= 0 || *lengthObject >= *count) return fail(damaged);
        const qsizetype lengthAt = offsets[size_t(*lengthObject)];
        const QByteArray lengthHead = QByteArray::number(*lengthObject) + " 0 obj\n";
        if (pdf.mid(lengthAt, lengthHead.size()) != lengthHead) return fail(damaged);
        qsizetype lengthEnd = 0;
        const auto oldLength = numberAt(pdf, lengthAt + lengthHead.size(), &lengthEnd);
        const qsizetype dataStart = streamKey + 10;
        if (!oldLength || dataStart + *oldLength > pdf.size()) return fail(damaged);

        const QFileInfo info(e.file);
        if (!info.isFile()) return fail(QString::fromUtf8("无法读取图片文件 %1。").arg(e.file));
        QByteArray dict = "<<\n/Type /XObject\n/Subtype /Image\n/Width " + QByteArray::number(e.header.width) +
                          "\n/Height " + QByteArray::number(e.header.height) + "\n/BitsPerComponent 8\n";
        const bool grey = e.header.components == 1;
        dict += grey ? "/ColorSpace /DeviceGray\n" : "/ColorSpace /DeviceRGB\n";
        // Pure white is transparent, as on the screen.
        if (e.whiteTransparent) dict += grey ? "/Mask [255 255]\n" : "/Mask [255 255 255 255 255 255]\n";
        dict += "/Length " + QByteArray::number(*lengthObject) + " 0 R\n/Filter /DCTDecode\n>>\nstream\n";
        edits.push_back({dictStart, dataStart, dict, {}, 0});
        edits.push_back({dataStart, dataStart + *oldLength, {}, e.file, info.size()});
        edits.push_back({lengthAt + lengthHead.size(), lengthEnd, QByteArray::number(info.size()), {}, 0});
    }
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.start < b.start; });

    // New offsets: every edit before an offset moves it by its change of size.
    const auto moved = [&](qint64 offset) {
        qint64 shift = 0;
        for (const Edit& e : edits) {
            if (e.start >= offset) break;
            shift += e.size() - (e.end - e.start);
        }
        return offset + shift;
    };
    QByteArray xref = pdf.mid(*xrefAt, table - *xrefAt);
    for (qint64 k = 0; k < *count; ++k) {
        const QByteArray entry = pdf.mid(table + k * kEntry, kEntry);
        if (k == 0) {
            xref += entry;
            continue;
        }
        xref += QByteArray::number(moved(offsets[size_t(k)])).rightJustified(10, '0') + entry.mid(10);
    }
    const qsizetype tableEnd = table + *count * kEntry;
    xref += pdf.mid(tableEnd, startxref - tableEnd);
    xref += "startxref\n" + QByteArray::number(moved(*xrefAt)) + " \n%%EOF\n";

    // The bytes before the cross-reference table with the edits applied, then the table.
    qsizetype copied = 0;
    const auto write = [&](const QByteArray& bytes) { return out.write(bytes) == bytes.size(); };
    for (const Edit& e : edits) {
        if (!write(pdf.mid(copied, e.start - copied))) return fail(QString());
        if (e.file.isEmpty()) {
            if (!write(e.text)) return fail(QString());
        } else {
            QFile file(e.file);
            if (!file.open(QIODevice::ReadOnly)) {
                return fail(QString::fromUtf8("无法读取图片文件 %1。").arg(e.file));
            }
            const QByteArray bytes = file.readAll();
            if (bytes.size() != e.fileSize) return fail(QString::fromUtf8("无法读取图片文件 %1。").arg(e.file));
            if (!write(bytes)) return fail(QString());
        }
        copied = e.end;
    }
    if (!write(pdf.mid(copied, *xrefAt - copied)) || !write(xref)) return fail(QString());
    return true;
}

}  // namespace pemo
