#include "SharedStyle.h"

#include <array>

namespace pemo {

std::shared_ptr<CharStyle> SharedStyle::recent(const CharStyle& style) {
    // A handful of styles, replaced in turn; the cache's own reference keeps them from
    // being changed in place by edit().
    constexpr size_t kRemembered = 32;
    thread_local std::array<std::shared_ptr<CharStyle>, kRemembered> remembered;
    thread_local size_t next = 0;
    for (const auto& known : remembered) {
        if (known && sameIncludingLocalKey(*known, style))
            return known;
    }
    auto made = std::make_shared<CharStyle>(style);
    remembered[next] = made;
    next = (next + 1) % kRemembered;
    return made;
}

}  // namespace pemo
