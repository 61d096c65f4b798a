#pragma once

#include <QByteArray>
#include <optional>

namespace pemo {

// What a JPEG file's frame header says: enough to embed the file unchanged in a PDF.
struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;  // 1 grey, 3 colour (4, CMYK, is not embedded unchanged)

    // The header of a JPEG file; none when the bytes are no JPEG or its frame header is
    // missing or damaged.
    static std::optional<JpegHeader> read(const QByteArray& bytes);
};

}  // namespace pemo
