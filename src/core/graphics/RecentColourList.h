#pragma once

#include <array>
#include <cstdint>

namespace pemo {

class ArchiveReader;
class ArchiveWriter;

// The colour picker's 35 recently used colours (0x00BBGGRR) with their use counts;
// 0xFFFFFF marks an empty slot. A document owns one and stores it.
class RecentColourList {
public:
    static constexpr int kSlotCount = 35;
    static constexpr uint32_t kEmpty = 0xFFFFFF;

    RecentColourList() {
        recent.fill(kEmpty);
        counts.fill(0);
    }

    void store(ArchiveWriter& out) const;
    void load(ArchiveReader& in);

    std::array<uint32_t, kSlotCount> recent;
    std::array<int32_t, kSlotCount> counts;
};

}  // namespace pemo
