#include "BlockFactory.h"
#include "BlockKind.h"
#include "GraphicBlock.h"
#include "PictureBlock.h"
#include "TextBlock.h"

namespace pemo {

// The one place that knows every block class. Text, picture and graphic blocks add
// their creators here as they are built.
void registerBlockClasses() {
    static const bool registered = [] {
        BlockFactory::setCreator(BlockKind::TextBit, [] { return std::make_unique<TextBlock>(); });
        BlockFactory::setCreator(BlockKind::GraphicBit,
                                 [] { return std::make_unique<GraphicBlock>(); });
        BlockFactory::setCreator(BlockKind::PictureBit,
                                 [] { return std::make_unique<PictureBlock>(); });
        return true;
    }();
    (void)registered;
}

}  // namespace pemo
