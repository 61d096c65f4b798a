#include "RecentColourList.h"

#include "core/codecs/Archive.h"

namespace pemo {

void RecentColourList::store(ArchiveWriter& out) const {
    for (uint32_t c : recent) out.writeUInt32(c);
    for (int32_t n : counts) out.writeInt32(n);
}

void RecentColourList::load(ArchiveReader& in) {
    for (uint32_t& c : recent) c = in.readUInt32();
    for (int32_t& n : counts) n = in.readInt32();
}

}  // namespace pemo
