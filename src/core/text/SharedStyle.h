#pragma once

#include <memory>

#include "CharStyle.h"

namespace pemo {

// A character's style held by reference: the characters of a text share a handful of
// styles, so each one keeps a pointer to an unchangeable style instead of its own copy
// (a document of 20,000 signs holds millions of characters). Reading goes through
// `->` or `*`; assigning a style that equals the held one keeps the shared one; edit()
// gives a private copy to change.
class SharedStyle {
public:
    SharedStyle() : style_(defaultStyle()) {}
    SharedStyle(const CharStyle& style) : style_(recent(style)) {}  // NOLINT

    SharedStyle& operator=(const CharStyle& style) {
        if (!sameIncludingLocalKey(*style_, style))
            style_ = recent(style);
        return *this;
    }

    const CharStyle& operator*() const { return *style_; }
    const CharStyle* operator->() const { return style_.get(); }
    operator const CharStyle&() const { return *style_; }  // NOLINT

    // A copy of its own to change, for this character only.
    CharStyle& edit() {
        if (style_.use_count() != 1)
            style_ = std::make_shared<CharStyle>(*style_);
        return *style_;
    }

    bool sharesWith(const SharedStyle& other) const { return style_ == other.style_; }

    bool operator==(const SharedStyle& other) const {
        return style_ == other.style_ || *style_ == *other.style_;
    }
    bool operator!=(const SharedStyle& other) const { return !(*this == other); }
    bool operator==(const CharStyle& other) const { return *style_ == other; }
    bool operator!=(const CharStyle& other) const { return !(*style_ == other); }

private:
    static bool sameIncludingLocalKey(const CharStyle& a, const CharStyle& b) {
        return &a == &b || (a == b && a.localKey == b.localKey);
    }
    // The style shared with an equal one made lately on this thread, or a new one: the
    // signs of a document repeat the same few styles, fitted sizes included.
    static std::shared_ptr<CharStyle> recent(const CharStyle& style);
    static const std::shared_ptr<CharStyle>& defaultStyle() {
        static const auto style = std::make_shared<CharStyle>();
        return style;
    }

    std::shared_ptr<CharStyle> style_;  // never changed while shared
};

}  // namespace pemo
