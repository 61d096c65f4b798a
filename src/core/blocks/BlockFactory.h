#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "Block.h"

namespace pemo {

// Creates the block class for a kind read from a stream, testing bit 24 (graphic)
// first, then bit 25 (text), then bit 26 (picture). None for a kind without a class
// bit or whose class is not available.
class BlockFactory {
public:
    using Creator = std::function<std::unique_ptr<Block>()>;

    static std::unique_ptr<Block> create(int32_t kind);

    // The block classes register themselves here (see registerBlockClasses).
    static void setCreator(int32_t classBit, Creator creator);
};

// Registers every block class that the program has; called once at start-up and by
// every reader before it creates blocks.
void registerBlockClasses();

}  // namespace pemo
