#include "InsertCommands.h"

#include "InfoRecord.h"
#include "core/blocks/BlockKind.h"

namespace pemo::InsertCommand {

int32_t kindOf(int id) {
    if (id >= FirstVariable && id <= LastVariable) return BlockKind::FirstVariable + (id - FirstVariable);
    if (id == ProductPicture) return BlockKind::ProductPicture;
    if (id >= FirstPhrase && id <= LastPhrase) return BlockKind::FixedText + (id - FirstPhrase);
    if (id >= FirstPrice && id <= LastPrice) return BlockKind::OriginalPrice + (id - FirstPrice);
    if (id >= FirstMallInfo && id <= LastMallInfo) return BlockKind::FirstMallInfo + (id - FirstMallInfo);
    if (id == Logo1) return BlockKind::Logo1;
    if (id == Logo2) return BlockKind::Logo2;
    return 0;
}

bool isGreyed(int id, const InfoRecord& record) {
    const int32_t kind = kindOf(id);
    if (kind == 0 || BlockKind::isPhraseTool(kind) || id == Logo1 || id == Logo2) return false;
    return record.firstBlockOfKind(kind) != nullptr;
}

}  // namespace pemo::InsertCommand
