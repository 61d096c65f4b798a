// Caret movement of RichText. The caret never stops inside a placeholder value: a
// run of items tagged with another kind than fixed text is entered only at its
// first item or left after its last.
#include <limits>

#include "RichText.h"

namespace pemo {

namespace {

// The item nearest a point among those considered, an item whose line (or column) holds
// the point beating every other; among the others the smallest distance across the
// lines wins, then the smaller distance.
struct NearestItem {
    int best = -1;
    bool bestHolds = false;
    int64_t bestDist = std::numeric_limits<int64_t>::max();
    int64_t bestAcross = std::numeric_limits<int64_t>::max();

    void consider(int i, int64_t dist, bool holds, int64_t across) {
        if (holds) {
            if (!bestHolds || dist < bestDist) {
                best = i;
                bestHolds = true;
                bestDist = dist;
            }
        } else if (!bestHolds && (across < bestAcross || (across == bestAcross && dist <= bestDist))) {
            best = i;
            bestAcross = across;
            bestDist = dist;
        }
    }
};


int64_t square(int64_t v) {
    return v * v;
}

}  // namespace

bool RichText::canHoldCaret(const TextItem& item) const {
    if (item.isEnd())
        return true;
    if (ItemClass::isReserved(item.itemClass()))
        return false;  // never placed
    if (item.itemClass() == ItemClass::Space && item.advance == 0)
        return false;
    return item.isFixed();
}

int RichText::runStart(int index) const {
    const int32_t kind = items_[size_t(index)]->kind;
    while (index > 0 && !items_[size_t(index - 1)]->isFixed() &&
           items_[size_t(index - 1)]->kind == kind && !items_[size_t(index - 1)]->isEnd())
        --index;
    return index;
}

int RichText::firstFixedAfterRun(int index) const {
    const int32_t kind = items_[size_t(index)]->kind;
    while (index < endIndex() && !items_[size_t(index)]->isFixed() &&
           items_[size_t(index)]->kind == kind)
        ++index;
    return index;
}

void RichText::moveCaret(int index, bool extend) {
    caret_ = TextPosition{std::clamp(index, 0, endIndex()), true};
    if (!extend)
        anchor_ = caret_;
    syncTypingStyle();
}

void RichText::caretTextStart(bool extend) {
    moveCaret(0, extend);
}

void RichText::caretTextEnd(bool extend) {
    moveCaret(endIndex(), extend);
}

void RichText::caretLineStart(bool extend) {
    const int ci = std::clamp(caret_.index, 0, endIndex());
    const TextItem& c = *items_[size_t(ci)];
    auto sameLine = [&](const TextItem& it) {
        return vertical_ ? it.x == c.x : it.lineTop == c.lineTop;
    };
    int j = ci;
    while (j > 0 && sameLine(*items_[size_t(j - 1)]))
        --j;
    if (!items_[size_t(j)]->isFixed())
        j = runStart(j);
    moveCaret(j, extend);
}

void RichText::caretLineEnd(bool extend) {
    const int ci = std::clamp(caret_.index, 0, endIndex());
    const TextItem& c = *items_[size_t(ci)];
    auto sameLine = [&](const TextItem& it) {
        return vertical_ ? it.x == c.x : it.lineTop == c.lineTop;
    };
    int j = ci;
    while (j < endIndex() && sameLine(*items_[size_t(j + 1)]))
        ++j;
    if (j == ci) {
        j = endIndex();
    } else if (!items_[size_t(j)]->isFixed()) {
        j = firstFixedAfterRun(j);
    }
    moveCaret(j, extend);
}

void RichText::caretLeft(bool extend) {
    const int ci = std::clamp(caret_.index, 0, endIndex());
    const TextItem& c = *items_[size_t(ci)];
    if (vertical_) {
        const TextPosition p = caretFromPoint(c.x - lineGap_ - c.height, c.y);
        moveCaret(p.index, extend);
        return;
    }
    if (!caret_.before) {
        moveCaret(c.isFixed() ? ci : runStart(ci), extend);
        return;
    }
    int j = ci - 1;
    while (j >= 0 && items_[size_t(j)]->x == c.x && items_[size_t(j)]->lineTop == c.lineTop)
        --j;
    if (j < 0) {
        moveCaret(0, extend);
        return;
    }
    moveCaret(items_[size_t(j)]->isFixed() ? j : runStart(j), extend);
}

void RichText::caretRight(bool extend) {
    if (vertical_) {
        const TextItem& c = *items_[size_t(std::clamp(caret_.index, 0, endIndex()))];
        const TextPosition p = caretFromPoint(c.x + c.lineHeight + lineGap_, c.y);
        moveCaret(p.index, extend);
        return;
    }
    int ci = caret_.before ? caret_.index : caret_.index + 1;
    ci = std::clamp(ci, 0, endIndex());
    int j = ci + 1;
    while (j <= endIndex() && items_[size_t(j)]->x == items_[size_t(j - 1)]->x &&
           items_[size_t(j)]->lineTop == items_[size_t(j - 1)]->lineTop)
        ++j;
    if (j > endIndex()) {
        moveCaret(endIndex(), extend);
        return;
    }
    moveCaret(items_[size_t(j)]->isFixed() ? j : firstFixedAfterRun(j), extend);
}

void RichText::caretUp(bool extend) {
    const int ci = std::clamp(caret_.index, 0, endIndex());
    const TextItem& c = *items_[size_t(ci)];
    if (vertical_) {
        if (!caret_.before) {
            moveCaret(c.isFixed() ? ci : runStart(ci), extend);
            return;
        }
        const int j = std::max(0, ci - 1);
        moveCaret(items_[size_t(j)]->isFixed() ? j : runStart(j), extend);
        return;
    }
    const int dx = caret_.before ? c.advance / 4 : 3 * c.advance / 4;
    // The point just above the line; with lines that touch or overlap (a gap of 0 or
    // less) one twip above its top, so the caret does not stay on its own line.
    const int py = lineGap_ > 0 ? c.lineTop - lineGap_ : c.lineTop - 1;
    const TextPosition p = caretFromPoint(c.x + dx, py);
    moveCaret(p.index, extend);
}

void RichText::caretDown(bool extend) {
    int ci = std::clamp(caret_.index, 0, endIndex());
    const TextItem& c = *items_[size_t(ci)];
    if (vertical_) {
        if (!caret_.before)
            ci = std::min(ci + 1, endIndex());
        const int next = std::min(ci + 1, endIndex());
        if (items_[size_t(next)]->isFixed() || items_[size_t(ci)]->isFixed()) {
            moveCaret(next, extend);
        } else {
            moveCaret(firstFixedAfterRun(next), extend);
        }
        return;
    }
    const int dx = caret_.before ? c.advance / 4 : 3 * c.advance / 4;
    const TextPosition p =
        caretFromPoint(c.x + dx, c.lineTop + c.lineHeight + std::max(lineGap_, 0));
    moveCaret(p.index, extend);
}

TextPosition RichText::caretFromPoint(int x, int y) const {
    return vertical_ ? caretFromPointVertical(x, y) : caretFromPointHorizontal(x, y);
}

TextPosition RichText::caretFromPointHorizontal(int px, int py) const {
    const int ci = std::clamp(caret_.index, 0, endIndex());
    const TextItem& c = *items_[size_t(ci)];
    const int n = itemCount();

    int start = 0;
    int step = 1;
    if (c.x < px && c.lineTop < py) {
        start = ci;
    } else if (px < c.x && py < c.lineTop) {
        start = ci;
        step = -1;
    } else if (c.lineTop <= py && py <= c.lineTop + c.lineHeight) {
        start = ci;
        step = c.x < px ? 1 : -1;
    }
    for (int i = start; i >= 0 && i < n; i += step) {
        const TextItem& it = *items_[size_t(i)];
        if (!canHoldCaret(it) || ItemClass::isEndOrBreak(it.itemClass()))
            continue;
        if (py < it.lineTop || py >= it.lineTop + it.lineHeight)
            continue;
        const int half = it.advance / 2;
        if (it.x <= px && px < it.x + half)
            return {i, true};
        if (it.x + half <= px && px < it.x + half * 2)
            return {std::min(i + 1, endIndex()), true};
    }

    // No cell holds the point: the nearest item, preferring those on the point's line.
    NearestItem nearest;
    auto consider = [&](int i) {
        const TextItem& it = *items_[size_t(i)];
        const int64_t cx = int64_t(it.x) + it.advance / 2;
        const int64_t cy = int64_t(it.lineTop) + it.lineHeight / 2;
        nearest.consider(i, square(cx - px) + square(cy - py),
                         it.lineTop <= py && py <= int64_t(it.lineTop) + it.lineHeight,
                         std::abs(cy - py));
    };
    if (canHoldCaret(c))
        consider(ci);
    for (int i = 0; i < n; ++i) {
        if (i != ci && canHoldCaret(*items_[size_t(i)]))
            consider(i);
    }
    return {nearest.best < 0 ? endIndex() : nearest.best, true};
}

TextPosition RichText::caretFromPointVertical(int px, int py) const {
    // The nearest item, preferring those in the point's column.
    NearestItem nearest;
    for (int i = 0; i < itemCount(); ++i) {
        const TextItem& it = *items_[size_t(i)];
        if (!canHoldCaret(it))
            continue;
        const int64_t cx = int64_t(it.x) + it.height / 2;
        const int64_t cy = int64_t(it.y) + it.advance / 2;
        nearest.consider(i, square(cx - px) + square(cy - py),
                         it.x <= px && px <= int64_t(it.x) + it.height, std::abs(cx - px));
    }
    return {nearest.best < 0 ? endIndex() : nearest.best, true};
}

void RichText::setCaretAt(int x, int y, bool extend) {
    caret_ = caretFromPoint(x, y);
    if (!extend)
        anchor_ = caret_;
    syncTypingStyle();
}

void RichText::extendSelectionTo(int x, int y) {
    caret_ = caretFromPoint(x, y);
    syncTypingStyle();
}

}  // namespace pemo
