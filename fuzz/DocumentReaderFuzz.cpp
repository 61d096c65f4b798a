// Feeds arbitrary bytes to the document reader, on a fresh document each time.
#include <cstddef>
#include <cstdint>

#include "core/platform/FileError.h"
#include "core/blocks/BlockFactory.h"
#include "FuzzHome.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pemo::fuzz::useScratchHome();
    pemo::registerBlockClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pemo::CPatDoc doc;
    try {
        pemo::DocumentFile::read(doc,
                                 QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        // A document that was taken must write out again.
        pemo::DocumentFile::write(doc, false);
    } catch (const pemo::FileError&) {
    }
    return 0;
}
