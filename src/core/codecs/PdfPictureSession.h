#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

#include "JpegHeader.h"

class QIODevice;

namespace pemo {

// JPEG pictures go into a PDF as the files they are, never decoded and encoded again:
// while a session is active, a JPEG drawn on a PDF painter draws a tiny stand-in image
// instead, and finish() writes the completed PDF with every stand-in replaced by its
// JPEG file (white made transparent by a colour-key mask where the picture asks for
// it). Each file appears once, however often it is drawn.
class PdfPictureSession {
public:
    PdfPictureSession();
    ~PdfPictureSession();
    PdfPictureSession(const PdfPictureSession&) = delete;
    PdfPictureSession& operator=(const PdfPictureSession&) = delete;

    // The session being written, or null.
    static PdfPictureSession* active();

    // The stand-in for a JPEG file (the same image for the same file and keying); null
    // for JPEGs that cannot go in unchanged (CMYK).
    const QImage* standIn(const QString& file, const JpegHeader& header, bool whiteTransparent);
    int standInCount() const { return static_cast<int>(entries_.size()); }

    // Writes the PDF that Qt produced with the stand-ins replaced. False with a message
    // when a picture file cannot be read whole or the PDF is not as Qt writes it.
    bool finish(const QByteArray& pdf, QIODevice& out, QString* error) const;

    // Stand-ins are 1 pixel high and kFirstStandInWidth + their index wide.
    static constexpr int kFirstStandInWidth = 7919;

private:
    struct Entry {
        QString file;
        JpegHeader header;
        bool whiteTransparent = false;
        QImage standIn;
    };
    std::vector<Entry> entries_;
};

}  // namespace pemo
