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
    static constexpr int kFixedCount = 183;
    static constexpr int kIndexCount = kFixedCount + kSlotCount;

    // The fixed palette, row by row as the picker shows it.
    static const std::array<uint32_t, kFixedCount>& fixedColours();

    RecentColourList() {
        recent.fill(kEmpty);
        counts.fill(0);
    }

    // Indices 0 to 182 are the fixed palette, 183 to 217 the recent slots; others give 0.
    uint32_t colourAt(int index) const;
    // Records one use of the colour and returns its index: a fixed colour changes nothing,
    // a recent one counts up, a new one takes the first empty slot or else the least used.
    int addColour(uint32_t colour);

    void store(ArchiveWriter& out) const;
    // Counts read below zero become zero.
    void load(ArchiveReader& in);

    std::array<uint32_t, kSlotCount> recent;
    std::array<int32_t, kSlotCount> counts;
};

}  // namespace pemo
