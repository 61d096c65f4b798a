// Feeds arbitrary bytes to the block-list reader. The first byte chooses the stored
// form (snapshot, document, template, clipboard); the rest is the stream, which for
// the template and clipboard forms begins with the stream's own picture store.
#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/platform/FileError.h"
#include "core/blocks/BlockFactory.h"
#include "FuzzHome.h"
#include "core/blocks/BlockList.h"
#include "core/codecs/Archive.h"
#include "core/pictures/PictureStore.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pemo::fuzz::useScratchHome();
    pemo::registerBlockClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pemo;
    if (size < 1)
        return 0;
    const auto form = static_cast<BlockForm>(data[0] % 4);
    const QByteArray stream(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    PictureStore local;
    PictureStore images;
    std::vector<QPoint> origins;
    try {
        ArchiveReader in(stream);
        if (form == BlockForm::Template || form == BlockForm::Clip)
            local.read(in);
        BlockPtrList blocks = readBlockList(in, form, &local, &images, &origins);
        // What was read writes out again in the same form.
        ArchiveWriter out;
        writeBlockList(out, blocks, form);
    } catch (const FileError&) {
    }
    return 0;
}
