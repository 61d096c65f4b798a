#include "ZintLibrary.h"

#include <zint.h>

#include <QByteArray>

#include "core/platform/RuntimeLibrary.h"

namespace {

// The callers fill in the library's symbol structure, whose layout changes from one
// minor version to the next: a library is used only in the version of the header the
// program was built with (zintconfig.h says it from 2.12 on; the older header is 2.11's).
#if __has_include(<zintconfig.h>)
#include <zintconfig.h>
constexpr int kHeaderVersion = ZINT_VERSION_MAJOR * 100 + ZINT_VERSION_MINOR;
#else
constexpr int kHeaderVersion = 211;
#endif

// The file to open instead, for a test or a build of one's own; empty for none.
const QByteArray kOwnLibrary = qgetenv("PEMO_ZINT_LIBRARY");

bool fitsHeader(const pemo::RuntimeLibrary& library) {
    const auto version = library.function<int(void)>("ZBarcode_Version");
    // 21101 is 2.11.1.
    return version && version() / 100 == kHeaderVersion;
}

}  // namespace

// The sonames Debian 12 (2.11) and Debian 13 (2.15) ship, then the development link.
PEMO_RUNTIME_LIBRARY(zint,
                     kOwnLibrary.isEmpty()
                         ? std::initializer_list<const char*>{"libzint.so.2.11", "libzint.so.2.15", "libzint.so"}
                         : std::initializer_list<const char*>{kOwnLibrary.constData()},
                     fitsHeader)

PEMO_RUNTIME_FUNCTION(zint, nullptr, struct zint_symbol*, ZBarcode_Create, (void), ())
PEMO_RUNTIME_FUNCTION(zint, void(), void, ZBarcode_Delete, (struct zint_symbol * symbol), (symbol))
PEMO_RUNTIME_FUNCTION(zint, ZINT_ERROR_MEMORY, int, ZBarcode_Encode_and_Buffer_Vector,
                      (struct zint_symbol * symbol, const unsigned char* source, int length,
                       int rotate_angle),
                      (symbol, source, length, rotate_angle))

namespace pemo {

bool ZintLibrary::loaded() { return zint().loaded(); }

QString ZintLibrary::missingText() { return QString::fromUtf8("条码库没有安装"); }

}  // namespace pemo
