// Layout of RichText: measuring, break opportunities, lines (or columns) in four
// alignments, and fitting the font size to the frame.
#include <algorithm>
#include <cmath>

#include "PriceItem.h"
#include "RichText.h"
#include "TextMetrics.h"

namespace pemo {

namespace {

enum Result { Opportunity = 0, EndResult = 1, BreakResult = 2 };

constexpr int kMinSize = RichText::kFitMinimum;
constexpr int kMaxSize = RichText::kLargestSize;

}  // namespace

struct RichText::Segment {
    int end = 0;  // one past the last item taken
    int64_t width = 0;
    int height = 0;
    int ascent = 0;
    int spaces = 0;
    int others = 0;
    int result = Opportunity;
    bool stopped = false;  // forced split: stopped before an item that did not fit

    void add(const TextItem& item) {
        width += item.advance;
        height = std::max(height, int(item.height));
        ascent = std::max(ascent, int(item.ascent));
        if (item.itemClass() == ItemClass::Space) {
            ++spaces;
        } else {
            ++others;
        }
    }
};

void RichText::measureItems() {
    const bool vertical = vertical_ != 0;
    SharedStyle running = items_.front()->style;
    StyleMetrics m = metrics_->measure(*running, running->size);
    for (auto& ptr : items_) {
        TextItem& it = *ptr;
        const uint16_t c = it.itemClass();
        if (ItemClass::isEndOrBreak(c)) {
            // An end or a break carries the style of the text before it.
            it.style = running;
        } else if (it.style != running) {
            running = it.style;
            m = metrics_->measure(*running, running->size);
        }
        switch (c) {
            case ItemClass::End:
            case ItemClass::LineBreak:
                it.width = 0;
                it.height = m.westernHeight;
                it.ascent = m.westernAscent;
                break;
            case ItemClass::Space:
                it.width = m.westernHeight / 2;
                it.height = m.westernHeight;
                it.ascent = m.westernAscent;
                break;
            case ItemClass::Word:
            case ItemClass::Percent:
            case ItemClass::Digit:
            case ItemClass::Point:
                it.width = m.widthOf(it.lead);
                it.height = m.westernHeight;
                it.ascent = m.westernAscent;
                break;
            case ItemClass::Ideograph:
            case ItemClass::NonStarter:
            case ItemClass::Currency:
                it.width = m.chineseHeight;
                it.height = m.chineseHeight;
                it.ascent = m.chineseAscent;
                break;
            case ItemClass::Opening:
            case ItemClass::Closing:
                it.width = (vertical && c == ItemClass::Closing &&
                            CharClasses::isFullInVertical(it.lead, it.trail))
                               ? m.chineseHeight
                               : m.chineseHeight / 2;
                it.height = m.chineseHeight;
                it.ascent = m.chineseAscent;
                break;
            case ItemClass::Price:
                static_cast<PriceItem&>(it).measure(*metrics_);
                break;
            default:  // reserved classes keep what they hold
                continue;
        }
        if (ItemClass::isEndOrBreak(c)) {
            it.advance = 0;
        } else {
            it.advance = int32_t((int64_t(it.style->charSpacing) + 100) * it.width / 100);
        }
    }
}

void RichText::markBreaks() {
    int state = 0;
    for (auto& ptr : items_) {
        TextItem& it = *ptr;
        it.breakMark = 0;
        switch (it.itemClass()) {
            case ItemClass::End:
            case ItemClass::LineBreak:
                state = 0;
                break;
            case ItemClass::Space:
                if (state == 6)
                    it.breakMark = 1;
                if (state != 1 && state != 2)
                    state = 6;
                break;
            case ItemClass::Word:
                if (state != 2 && state != 4)
                    it.breakMark = 1;
                state = 4;
                break;
            case ItemClass::Percent:
            case ItemClass::NonStarter:
            case ItemClass::Closing:
                state = 1;
                break;
            case ItemClass::Digit:
                if (state != 2 && state != 5)
                    it.breakMark = 1;
                state = 5;
                break;
            case ItemClass::Point:
                state = state == 5 ? 5 : 1;
                break;
            case ItemClass::Ideograph:
            case ItemClass::Price:
                if (state != 2)
                    it.breakMark = 1;
                state = 3;
                break;
            case ItemClass::Currency:
            case ItemClass::Opening:
                if (state != 2)
                    it.breakMark = 1;
                state = 2;
                break;
            default:
                break;
        }
    }
}

// What a segment scan needs to know without walking the items: where the break marks
// and the line ends lie, and the running sum of the advances. Built once per layout,
// after the break marks; a forced split only marks the item the next scan starts at, so
// the index stays right for every scan that follows it.
struct RichText::SegmentIndex {
    std::vector<int64_t> advanceSum;  // [i]: advances of items 0 .. i-1
    std::vector<int> nextMark;        // [i]: first marked item at i or after, or n
    std::vector<int> nextEndOrBreak;  // [i]: first end item or line break at i or after, or n

    explicit SegmentIndex(const std::vector<std::unique_ptr<TextItem>>& items) {
        const size_t n = items.size();
        advanceSum.assign(n + 1, 0);
        nextMark.assign(n + 1, int(n));
        nextEndOrBreak.assign(n + 1, int(n));
        for (size_t i = 0; i < n; ++i)
            advanceSum[i + 1] = advanceSum[i] + items[i]->advance;
        for (size_t i = n; i-- > 0;) {
            nextMark[i] = items[i]->breakMark ? int(i) : nextMark[i + 1];
            nextEndOrBreak[i] =
                ItemClass::isEndOrBreak(items[i]->itemClass()) ? int(i) : nextEndOrBreak[i + 1];
        }
    }
};

RichText::Segment RichText::scanSegment(int from, const SegmentIndex& index) const {
    // The segment holds at most one marked item: it stops before the second one it meets
    // (the first is item `from` itself when that is marked), or after an end or a break.
    const int n = itemCount();
    Segment seg;
    int stop = from + 1 < n ? index.nextMark[size_t(from + 1)] : n;
    if (!items_[size_t(from)]->breakMark && stop < n)
        stop = index.nextMark[size_t(stop + 1)];
    const int endOrBreak = index.nextEndOrBreak[size_t(from)];
    if (endOrBreak < stop) {
        seg.end = endOrBreak + 1;
        seg.result = items_[size_t(endOrBreak)]->itemClass() == ItemClass::End ? EndResult
                                                                                 : BreakResult;
    } else {
        seg.end = stop;
        seg.result = stop >= n ? EndResult : Opportunity;
    }
    const int64_t width = index.advanceSum[size_t(seg.end)] - index.advanceSum[size_t(from)];
    if (width > available()) {
        // Too wide for any line: only the width and the result are looked at, and walking
        // a long unbreakable run for every line it is split into would be quadratic.
        seg.width = width;
        return seg;
    }
    for (int i = from; i < seg.end; ++i)
        seg.add(*items_[size_t(i)]);
    return seg;
}

RichText::Segment RichText::forcedSplit(int from) {
    Segment seg;
    const int limit = available();
    seg.add(*items_[size_t(from)]);
    int i = from + 1;
    for (; i < itemCount(); ++i) {
        TextItem& it = *items_[size_t(i)];
        if (ItemClass::isEndOrBreak(it.itemClass()))
            continue;
        if (int64_t(seg.width) + it.advance >= limit) {
            it.breakMark = 1;
            seg.stopped = true;
            break;
        }
        seg.add(it);
    }
    seg.end = i;
    return seg;
}

void RichText::placeLine(int start, int end, int width, int height, int ascent, int result,
                         int others, int spaces, bool paragraphStart) {
    const int avail = available();
    int placedAs = alignment_;
    if (placedAs == Fill && result != Opportunity)
        placedAs = Left;
    int64_t w = width;
    int64_t x0 = 0;
    if (placedAs == Right)
        x0 = avail - w;
    if (placedAs == Centre)
        x0 = (avail - w) / 2;

    int64_t last = 0;  // L: the natural width kept by the last visible item
    if ((placedAs == Right || placedAs == Centre || placedAs == Fill) && others + spaces > 1) {
        if (others == 0) {
            last = items_[size_t(end - 1)]->advance;
        } else {
            for (int k = end - 1; k > start; --k) {
                TextItem& it = *items_[size_t(k)];
                if (ItemClass::isEndOrBreak(it.itemClass()))
                    continue;
                if (it.itemClass() == ItemClass::Space) {
                    w -= it.advance;
                    if (placedAs == Right)
                        x0 += it.advance;
                    if (placedAs == Centre)
                        x0 += it.advance / 2;
                    it.advance = 0;
                    continue;
                }
                last = it.advance;
                break;
            }
        }
    }
    if (others >= 1 && !paragraphStart && (alignment_ == Left || alignment_ == Fill)) {
        for (int k = start; k < end && items_[size_t(k)]->itemClass() == ItemClass::Space; ++k) {
            w -= items_[size_t(k)]->advance;
            items_[size_t(k)]->advance = 0;
        }
    }
    int64_t room = avail - last;  // M
    w -= last;
    const bool stretch = placedAs == Fill;

    const int top = layoutTop_;
    const int baseline = vertical_ ? frameWidth_ - top - ascent : top + ascent;
    for (int k = start; k < end; ++k) {
        TextItem& it = *items_[size_t(k)];
        const uint16_t c = it.itemClass();
        if (ItemClass::isReserved(c))
            continue;
        if (vertical_) {
            it.x = baseline;
            it.y = int32_t(x0);
        } else {
            it.x = int32_t(x0);
            it.y = baseline;
        }
        it.ascent = baseline;
        it.lineTop = top;
        it.lineHeight = height;
        if (ItemClass::isEndOrBreak(c))
            continue;
        // Each item takes its share of the room left, so rounding never piles up
        // and the last visible item ends on the edge.
        int64_t drawn = it.advance;
        if (stretch && w > 0 && room > 0)
            drawn = int64_t(std::trunc(double(room) * it.advance / double(w)));
        it.drawnWidth = int32_t(drawn);
        x0 += drawn;
        room -= drawn;
        w -= it.advance;
    }
}

void RichText::layout() {
    ++layoutCount_;
    measureItems();
    markBreaks();
    lineGap_ = int32_t(int64_t(lineSpacing_) * fontSize_ * 20 / 100);
    layoutTop_ = 0;
    const int avail = available();
    const int n = itemCount();

    struct Line {
        int start = 0, width = 0, height = 0, ascent = 0, spaces = 0, others = 0;
        bool empty(int pos) const { return pos == start; }
    } line;
    bool paragraphStart = true;
    int pos = 0;
    auto newLine = [&](int start) { line = Line{start}; };

    const SegmentIndex index(items_);
    while (pos < n) {
        const Segment seg = scanSegment(pos, index);
        const bool fits = int64_t(line.width) + seg.width <= avail;
        if (seg.result != Opportunity) {
            if (fits) {
                const int h = std::max(line.height, seg.height);
                placeLine(line.start, seg.end, int(line.width + seg.width), h,
                          std::max(line.ascent, seg.ascent), seg.result, line.others + seg.others,
                          line.spaces + seg.spaces, paragraphStart);
                if (seg.result == EndResult) {
                    extent_ = layoutTop_ + h;
                    return;
                }
                layoutTop_ += h + lineGap_;
                newLine(seg.end);
                paragraphStart = true;
                pos = seg.end;
            } else if (line.empty(pos)) {
                const Segment split = forcedSplit(pos);
                placeLine(pos, split.end, int(split.width), split.height, split.ascent,
                          split.stopped ? Opportunity : seg.result, split.others, split.spaces,
                          paragraphStart);
                if (split.end >= n) {
                    extent_ = layoutTop_ + split.height;
                    return;
                }
                layoutTop_ += split.height + lineGap_;
                newLine(split.end);
                paragraphStart = true;
                pos = split.end;
            } else {
                placeLine(line.start, pos, line.width, line.height, line.ascent, Opportunity,
                          line.others, line.spaces, paragraphStart);
                layoutTop_ += line.height + lineGap_;
                newLine(pos);
                paragraphStart = false;
            }
        } else if (fits) {
            line.width += int(seg.width);
            line.height = std::max(line.height, seg.height);
            line.ascent = std::max(line.ascent, seg.ascent);
            line.spaces += seg.spaces;
            line.others += seg.others;
            pos = seg.end;
        } else if (line.empty(pos)) {
            const Segment split = forcedSplit(pos);
            line.width = int(split.width);
            line.height = split.height;
            line.ascent = split.ascent;
            line.spaces = split.spaces;
            line.others = split.others;
            pos = split.end;
        } else {
            placeLine(line.start, pos, line.width, line.height, line.ascent, Opportunity,
                      line.others, line.spaces, paragraphStart);
            layoutTop_ += line.height + lineGap_;
            newLine(pos);
            paragraphStart = false;
        }
    }
    // Only reached when the list does not close with an end item.
    placeLine(line.start, n, line.width, line.height, line.ascent, EndResult, line.others,
              line.spaces, paragraphStart);
    extent_ = layoutTop_ + line.height;
}

bool RichText::trySize(int newSize) {
    const int delta = newSize - int(fontSize_);
    if (int(typingStyle->size) + delta > kMaxSize)
        return false;
    for (const auto& item : items_) {
        if (int(item->style->size) + delta > kMaxSize)
            return false;
    }
    // Text of 20 points or more never shrinks below 20; small text never below 5.
    const int lowest = smallestItemSize() < kMinSize ? kSmallestSize : kMinSize;
    auto resize = [delta, lowest](CharStyle& s) {
        s.size = uint16_t(std::clamp(int(s.size) + delta, lowest, kMaxSize));
    };
    typingStyle.change(resize);
    restyleItems(0, itemCount(), resize);
    fontSize_ = uint16_t(std::max(0, newSize));
    layout();
    if (vertical_) {
        if (extent_ > frameWidth_)
            return false;
        for (const auto& item : items_) {
            if (item->advance > frameHeight_ || item->height > frameWidth_)
                return false;
        }
    } else {
        if (extent_ > frameHeight_)
            return false;
        for (const auto& item : items_) {
            if (item->advance > frameWidth_ || item->height > frameHeight_)
                return false;
        }
    }
    return true;
}

void RichText::fitToFrame(bool autoFit) {
    if (!autoFit) {
        layout();
        return;
    }
    if (smallestItemSize() < kMinSize) {
        fitSmallText();
        return;
    }
    if (trySize(kMaxSize))
        return;
    if (trySize(kMinSize)) {
        int a = kMinSize;
        int b = kMaxSize;
        // b - a stays a multiple of 4 of at least 8, so c lies strictly between them.
        while (b - a >= 8) {
            const int c = ((a + b) / 8) * 4;
            if (trySize(c)) {
                if (b == c + 4)
                    return;
                a = c;
            } else {
                if (c == a + 4)
                    break;
                b = c;
            }
        }
        trySize(a);
        return;
    }
    // Not even the smallest size fits: shrink a little further while there is room,
    // within the budget of ten layouts per fit.
    for (int tries = 0; tries < 8 && typingStyle->size > 24 && fontSize_ != 0; ++tries) {
        if (trySize(std::max(0, int(fontSize_) - 4)))
            return;
    }
}

int RichText::smallestItemSize() const {
    int smallest = kMaxSize;
    for (const auto& item : items_)
        smallest = std::min(smallest, int(item->style->size));
    return smallest;
}

void RichText::fitSmallText() {
    // The search moves every size by the same delta and looks for the largest size of
    // the smallest characters that fits: 19 first, then 5, then halving; at most seven
    // layouts. When not even 5 points fit, the text stays at 5.
    const auto trySmallest = [this](int points) {
        return trySize(int(fontSize_) + points - smallestItemSize());
    };
    if (trySmallest(kMinSize - 1) || !trySmallest(kSmallestSize))
        return;
    int fits = kSmallestSize;
    int fails = kMinSize - 1;
    while (fails - fits > 1) {
        const int middle = (fits + fails) / 2;
        if (trySmallest(middle)) {
            fits = middle;
        } else {
            fails = middle;
        }
    }
    if (smallestItemSize() != fits)
        trySmallest(fits);
}

}  // namespace pemo
