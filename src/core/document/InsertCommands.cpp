#include "InsertCommands.h"

#include "InfoRecord.h"
#include "TextFormat.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/text/RichText.h"

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

bool insertAtCaret(int id, InfoRecord& record, bool templateMode, const PlaceholderSources& sources) {
    const bool placeholder = (id >= FirstVariable && id <= LastVariable) || (id >= FirstMallInfo && id <= LastMallInfo);
    TextBlock* block = FormatCommand::editedBlock(record);
    // A block shows one placeholder: only text of its own can take one.
    if (!placeholder || !block || block->kind != BlockKind::FixedText) return false;
    const int32_t kind = kindOf(id);
    record.takeUndoSnapshot();
    block->kind = kind;
    block->content()->insertText(record.placeholderText(kind, templateMode, sources), kind);
    return true;
}

}  // namespace pemo::InsertCommand
