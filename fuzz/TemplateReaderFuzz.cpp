// Feeds arbitrary bytes to the template reader.
#include <cstddef>
#include <cstdint>

#include "core/platform/FileError.h"
#include "core/blocks/BlockFactory.h"
#include "FuzzHome.h"
#include "core/document/TemplateFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pemo::fuzz::useScratchHome();
    pemo::registerBlockClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pemo::TemplateData parsed;
    pemo::PictureStore images;
    try {
        pemo::TemplateFile::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                                  parsed, &images);
    } catch (const pemo::FileError&) {
    }
    return 0;
}
