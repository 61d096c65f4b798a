#include "BlockFactory.h"

#include <map>

#include "BlockKind.h"

namespace pemo {

namespace {

std::map<int32_t, BlockFactory::Creator>& creators() {
    static std::map<int32_t, BlockFactory::Creator> table;
    return table;
}

}  // namespace

void BlockFactory::setCreator(int32_t classBit, Creator creator) {
    creators()[classBit] = std::move(creator);
}

std::unique_ptr<Block> BlockFactory::create(int32_t kind) {
    registerBlockClasses();
    for (int32_t bit : {BlockKind::GraphicBit, BlockKind::TextBit, BlockKind::PictureBit}) {
        if (kind & bit) {
            const auto it = creators().find(bit);
            if (it == creators().end()) return nullptr;
            auto block = it->second();
            block->kind = kind;
            return block;
        }
    }
    return nullptr;
}

}  // namespace pemo
