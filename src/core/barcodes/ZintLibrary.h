#pragma once

#include <QString>

namespace pemo {

// libzint, which encodes barcodes and QR codes, opened when a code is first encoded
// instead of linked.
class ZintLibrary {
public:
    // Whether the library is there, in a version whose symbol layout is the one the
    // program was built with.
    static bool loaded();
    // "条码库没有安装": what stands instead of a symbol, and what the check says once.
    static QString missingText();
};

}  // namespace pemo
