// Editing operations of RichText: selection, typing, inserting, deleting, styles
// and placeholder values.
#include "PriceItem.h"
#include "RichText.h"

namespace pemo {

void RichText::setSelection(TextPosition anchor, TextPosition caret) {
    auto clamp = [this](TextPosition p) {
        p.index = std::clamp(p.index, 0, endIndex());
        return p;
    };
    anchor_ = clamp(anchor);
    caret_ = clamp(caret);
}

bool RichText::hasSelection() const {
    return !(anchor_ == caret_);
}

std::pair<int, int> RichText::selectionRange() const {
    auto lower = [](TextPosition p) { return p.index + (p.before ? 0 : 1); };
    if (anchor_.index < caret_.index)
        return {lower(anchor_), lower(caret_)};
    if (caret_.index < anchor_.index)
        return {lower(caret_), lower(anchor_)};
    return {caret_.index, caret_.index + 1};
}

void RichText::restyleItems(int first, int last, const std::function<void(CharStyle&)>& change) {
    std::optional<SharedStyle> before;
    std::optional<SharedStyle> after;
    for (int i = std::max(first, 0); i < std::min(last, itemCount()); ++i) {
        SharedStyle& style = items_[size_t(i)]->style;
        if (!before || !style.sharesWith(*before)) {
            before = style;
            CharStyle changed = *style;
            change(changed);
            after = SharedStyle(changed);
        }
        style = *after;
    }
}

void RichText::syncTypingStyle() {
    const int i = std::clamp(std::min(anchor_.index, caret_.index), 0, endIndex());
    typingStyle = items_[size_t(i)]->style;
    if (typingStyleListener_)
        typingStyleListener_(*typingStyle);
}

std::unique_ptr<TextItem> RichText::makeCharacter(uint8_t lead, uint8_t trail, int32_t kind,
                                                  const SharedStyle& style) const {
    uint16_t cls;
    if (lead >= 0x80) {
        cls = CharClasses::classOfDoubleByte(lead, trail);
    } else if (uint8_t fl, ft; CharClasses::fullWidthOf(lead, &fl, &ft)) {
        lead = fl;
        trail = ft;
        cls = CharClasses::classOfDoubleByte(lead, trail);
    } else {
        cls = CharClasses::classOfAscii(lead);
        trail = 0;
    }
    auto item = std::make_unique<TextItem>(cls);
    item->lead = lead;
    item->trail = trail;
    item->kind = kind;
    item->style = style;
    return item;
}

std::vector<std::unique_ptr<TextItem>> RichText::makeItems(const QByteArray& text, int32_t kind,
                                                           const SharedStyle& style) const {
    std::vector<std::unique_ptr<TextItem>> out;
    auto spaces = [&](int n) {
        for (int k = 0; k < n; ++k)
            out.push_back(makeCharacter(' ', 0, kind, style));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (b >= 0x80) {
            if (i + 1 >= text.size())
                break;  // a lone lead byte ends the text
            const auto t = static_cast<uint8_t>(text[++i]);
            if (b == 0xA1 && t == 0xA1) {
                spaces(2);
            } else {
                out.push_back(makeCharacter(b, t, kind, style));
            }
        } else if (b == '\t') {
            spaces(4);
        } else if (b == '\n' || b == '\r') {
            auto br = std::make_unique<TextItem>(ItemClass::LineBreak);
            br->kind = kind;
            br->style = style;
            out.push_back(std::move(br));
            if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (b >= 32 && b <= 126) {
            out.push_back(makeCharacter(b, 0, kind, style));
        }
    }
    return out;
}

void RichText::normalizeCaretForInsert() {
    caret_.index = std::clamp(caret_.index, 0, endIndex());
    // Nothing may follow the end item.
    if (caret_.index == endIndex() && !caret_.before)
        caret_.before = true;
}

void RichText::insertAtCaret(std::unique_ptr<TextItem> item) {
    normalizeCaretForInsert();
    if (caret_.before) {
        items_.insert(items_.begin() + caret_.index, std::move(item));
        caret_.index += 1;
    } else {
        caret_.index += 1;
        items_.insert(items_.begin() + caret_.index, std::move(item));
    }
}

void RichText::eraseItem(int index) {
    items_.erase(items_.begin() + index);
}

void RichText::typeCharacter(uint8_t lead, uint8_t trail) {
    // A double-byte character needs its second byte; half of one is dropped.
    if (lead >= 0x80 && trail < 0x40)
        return;
    if (hasSelection())
        deleteSelected();
    if (lead >= 0x80) {
        if (lead == 0xA1 && trail == 0xA1) {
            insertAtCaret(makeCharacter(' ', 0, TextKind::Fixed, typingStyle));
            insertAtCaret(makeCharacter(' ', 0, TextKind::Fixed, typingStyle));
        } else {
            insertAtCaret(makeCharacter(lead, trail, TextKind::Fixed, typingStyle));
        }
    } else if (lead == '\t') {
        for (int k = 0; k < 4; ++k)
            insertAtCaret(makeCharacter(' ', 0, TextKind::Fixed, typingStyle));
    } else if (lead == '\r') {
        auto br = std::make_unique<TextItem>(ItemClass::LineBreak);
        br->style = typingStyle;
        insertAtCaret(std::move(br));
    } else if (lead >= 32 && lead <= 126) {
        insertAtCaret(makeCharacter(lead, 0, TextKind::Fixed, typingStyle));
    }
    anchor_ = caret_;
    layout();
}

void RichText::insertText(const QByteArray& text, int32_t kind) {
    if (hasSelection())
        deleteSelected();
    for (auto& item : makeItems(text, kind, typingStyle))
        insertAtCaret(std::move(item));
    anchor_ = caret_;
    layout();
}

void RichText::deleteSelected() {
    auto [first, last] = selectionRange();
    first = std::clamp(first, 0, itemCount());
    last = std::clamp(last, first, itemCount());
    for (int i = first; i < last;) {
        if (items_[size_t(i)]->isEnd() || !items_[size_t(i)]->isFixed()) {
            ++i;
        } else {
            eraseItem(i);
            --last;
        }
    }
    caret_ = anchor_ = TextPosition{std::min(first, endIndex()), true};
    syncTypingStyle();
    layout();
}

void RichText::deleteForward() {
    if (hasSelection()) {
        deleteSelected();
        return;
    }
    if (!caret_.before)
        caret_ = TextPosition{caret_.index + 1, true};
    caret_.index = std::min(caret_.index, endIndex());
    const TextItem& at = *items_[size_t(caret_.index)];
    if (at.isEnd() || !at.isFixed())
        return;
    eraseItem(caret_.index);
    anchor_ = caret_;
    syncTypingStyle();
    layout();
}

void RichText::deleteBackward() {
    if (hasSelection()) {
        deleteSelected();
        return;
    }
    if (!caret_.before)
        caret_ = TextPosition{caret_.index + 1, true};
    caret_.index = std::min(caret_.index, endIndex());
    if (caret_.index == 0 || !items_[size_t(caret_.index - 1)]->isFixed())
        return;
    caret_.index -= 1;
    eraseItem(caret_.index);
    anchor_ = caret_;
    syncTypingStyle();
    layout();
}

void RichText::selectAll() {
    caret_ = TextPosition{0, true};
    anchor_ = TextPosition{endIndex(), true};
}

QByteArray RichText::selectedText() const {
    QByteArray out;
    if (!hasSelection())
        return out;
    auto [first, last] = selectionRange();
    last = std::min(last, itemCount());
    for (int i = std::max(first, 0); i < last; ++i) {
        const TextItem& it = *items_[size_t(i)];
        const uint16_t c = it.itemClass();
        if (c == ItemClass::LineBreak) {
            out.append('\n');
        } else if (c == ItemClass::Space || ItemClass::isSingleByte(c)) {
            out.append(char(it.lead));
        } else if (ItemClass::isDoubleByte(c)) {
            out.append(char(it.lead)).append(char(it.trail));
        } else if (c == ItemClass::Price) {
            out.append(static_cast<const PriceItem&>(it).valueText);
        }
    }
    return out;
}

bool RichText::isEmpty() const {
    for (const auto& item : items_) {
        const uint16_t c = item->itemClass();
        if (c >= ItemClass::LineBreak && c <= ItemClass::Price && !ItemClass::isReserved(c))
            return false;
    }
    return true;
}

bool RichText::isEmptyAfterCaret() const {
    for (int i = std::max(0, caret_.index); i < itemCount(); ++i) {
        const uint16_t c = items_[size_t(i)]->itemClass();
        if (c >= ItemClass::LineBreak && c <= ItemClass::Price && !ItemClass::isReserved(c))
            return false;
    }
    return true;
}

namespace {

void setField(CharStyle& s, int code, int value) {
    switch (code) {
        case RichText::Size:
            s.size = uint16_t(std::clamp(value, 0, 0xFFFF));
            break;
        case RichText::Bold:
            s.bold = value ? 1 : 0;
            break;
        case RichText::Italic:
            s.italic = value ? 1 : 0;
            break;
        case RichText::Underline:
            s.underline = value ? 1 : 0;
            break;
        case RichText::TextColour:
            s.textColour = value;
            break;
        case RichText::CharSpacing:
            s.charSpacing = int16_t(value);
            break;
        default:
            break;
    }
}

}  // namespace

bool RichText::applyStyle(int code, int value, bool autoFit) {
    if (!hasSelection()) {
        typingStyle.change([&](CharStyle& s) { setField(s, code, value); });
        return false;
    }
    auto [first, last] = selectionRange();
    restyleItems(first, last, [&](CharStyle& s) { setField(s, code, value); });
    syncTypingStyle();
    fitToFrame(autoFit);
    return true;
}

void RichText::applyStyleToAll(int code, int value, bool autoFit) {
    restyleItems(0, itemCount(), [&](CharStyle& s) { setField(s, code, value); });
    typingStyle.change([&](CharStyle& s) { setField(s, code, value); });
    fitToFrame(autoFit);
}

bool RichText::applyStyle(int code, const QByteArray& face, bool autoFit) {
    auto set = [&](CharStyle& s) {
        if (code == ChineseFace)
            s.chineseFace = face;
        if (code == WesternFace)
            s.westernFace = face;
    };
    if (!hasSelection()) {
        typingStyle.change(set);
        return false;
    }
    auto [first, last] = selectionRange();
    restyleItems(first, last, set);
    syncTypingStyle();
    fitToFrame(autoFit);
    return true;
}

bool RichText::applyArtSettings(const CharStyle& art, bool autoFit) {
    auto set = [&](CharStyle& s) {
        s.textColour = art.textColour;
        s.effect = art.effect;
        s.reserved = art.reserved;
        s.effectSize = art.effectSize;
        s.effectColour = art.effectColour;
        s.pattern = art.pattern;
        s.textureKey = art.textureKey;
    };
    if (!hasSelection()) {
        typingStyle.change(set);
        return false;
    }
    auto [first, last] = selectionRange();
    restyleItems(first, last, set);
    syncTypingStyle();
    fitToFrame(autoFit);
    return true;
}

bool RichText::placeholderRunEquals(int32_t kind,
                                    const std::vector<std::unique_ptr<TextItem>>& fresh) const {
    size_t next = 0;
    for (const auto& item : items_) {
        if (item->isEnd() || item->kind != kind)
            continue;
        if (next == fresh.size())
            return false;
        const TextItem& f = *fresh[next++];
        if (item->itemClass() != f.itemClass() || item->lead != f.lead || item->trail != f.trail)
            return false;
    }
    return next == fresh.size();
}

void RichText::setPlaceholderText(const QByteArray& text, int32_t kind, bool autoFit) {
    if (kind == TextKind::Fixed)
        return;  // fixed text is not a placeholder value
    int at = -1;
    for (int i = 0; i < itemCount(); ++i) {
        if (!items_[size_t(i)]->isEnd() && items_[size_t(i)]->kind == kind) {
            at = i;
            break;
        }
    }
    if (at < 0)
        return;
    const SharedStyle style = items_[size_t(at)]->style;
    auto fresh = makeItems(text, kind, style);
    if (placeholderRunEquals(kind, fresh))
        return;  // refreshing an unchanged value costs no layout

    // Positions keep pointing at the same fixed items around the value.
    auto shiftForRemoval = [](TextPosition& p, int removed) {
        if (p.index > removed)
            --p.index;
    };
    for (int i = itemCount() - 1; i >= 0; --i) {
        if (!items_[size_t(i)]->isEnd() && items_[size_t(i)]->kind == kind) {
            eraseItem(i);
            shiftForRemoval(caret_, i);
            shiftForRemoval(anchor_, i);
        }
    }
    const int added = int(fresh.size());
    items_.insert(items_.begin() + at, std::make_move_iterator(fresh.begin()),
                  std::make_move_iterator(fresh.end()));
    for (TextPosition* p : {&caret_, &anchor_}) {
        if (p->index > at)
            p->index += added;
        p->index = std::clamp(p->index, 0, endIndex());
    }
    fitToFrame(autoFit);
}

void RichText::setPriceText(const QByteArray& text, int32_t kind, bool autoFit) {
    PriceItem* price = firstPriceItem(kind);
    if (!price || price->valueText == text)
        return;
    price->valueText = text;
    fitToFrame(autoFit);
}

}  // namespace pemo
