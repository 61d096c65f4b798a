#include "TextFormat.h"

#include <algorithm>
#include <array>

#include "InfoRecord.h"
#include "core/barcodes/BarcodeStyle.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/text/PriceItem.h"
#include "core/text/RichText.h"

namespace pemo::FormatCommand {

namespace {

constexpr std::array<int, 10> kLineSpacings{-25, -12, 1, 9, 16, 25, 50, 75, 100, 150};
constexpr std::array<int, 7> kCharSpacings{0, 25, 50, 75, 100, 150, 200};

bool isCharacterCommand(int id) {
    return id == ChineseFace || id == WesternFace || id == Size || id == Bold || id == Italic ||
           id == Underline || id == TextColour || id == ChooseTextColour ||
           id == CharSpacingMenu || (id >= FirstCharSpacing && id <= LastCharSpacing);
}

bool isBlockCommand(int id) {
    return id == AlignmentMenu || (id >= Fill && id <= Centre) || id == LineSpacingMenu ||
           (id >= FirstLineSpacing && id <= LastLineSpacing);
}

// A character attribute of the edited text's selection (or typing style).
bool applyCharacter(InfoRecord& record, int code, int value, bool autoFit) {
    TextBlock* block = editedBlock(record);
    if (!block) return false;
    record.takeUndoSnapshot();
    block->content()->applyStyle(code, value, autoFit);
    return true;
}

// Size and colour also apply to a text block selected as a whole: to all of its text.
bool appliesToWholeBlock(int id) { return id == Size || id == TextColour || id == ChooseTextColour; }

bool applyToSelectedText(InfoRecord& record, int code, int value, bool autoFit) {
    if (editedBlock(record)) return applyCharacter(record, code, value, autoFit);
    TextBlock* block = liveTextBlock(record);
    if (!block) return false;
    record.takeUndoSnapshot();
    block->content()->applyStyleToAll(code, value, autoFit);
    return true;
}

// A layout attribute of the one live text block, fitted again afterwards.
template <typename Change>
bool applyBlock(InfoRecord& record, bool autoFit, Change change) {
    TextBlock* block = liveTextBlock(record);
    if (!block) return false;
    record.takeUndoSnapshot();
    change(*block->content());
    block->content()->fitToFrame(autoFit);
    return true;
}

}  // namespace

const std::vector<int>& sizeChoices() {
    static const std::vector<int> sizes = [] {
        std::vector<int> list{5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18};
        for (int points = RichText::kFitMinimum; points <= kMaxSize; points += 4) list.push_back(points);
        return list;
    }();
    return sizes;
}

QString sizeProblem(const QString& typed) {
    bool number = false;
    const int points = typed.trimmed().toInt(&number);
    if (typed.trimmed().isEmpty()) return QString::fromUtf8("请输入字号（%1到%2磅）。").arg(kMinSize).arg(kMaxSize);
    if (!number) return QString::fromUtf8("字号只能是整数磅数，例如 9 或 24。");
    if (points < kMinSize) return QString::fromUtf8("字号最小为%1磅：更小的字印出来看不清。").arg(kMinSize);
    if (points > kMaxSize) return QString::fromUtf8("字号最大为%1磅。").arg(kMaxSize);
    return {};
}

int lineSpacingOf(int id) {
    return id >= FirstLineSpacing && id <= LastLineSpacing ? kLineSpacings[size_t(id - FirstLineSpacing)] : 0;
}

int charSpacingOf(int id) {
    return id >= FirstCharSpacing && id <= LastCharSpacing ? kCharSpacings[size_t(id - FirstCharSpacing)] : 0;
}

int alignmentOf(int id) {
    switch (id) {
        case Fill: return RichText::Fill;
        case Left: return RichText::Left;
        case Right: return RichText::Right;
        case Centre: return RichText::Centre;
        default: return 0;
    }
}

TextBlock* liveTextBlock(const InfoRecord& record) {
    if (record.selection.size() != 1) return nullptr;
    Block* block = record.selection.front();
    if (!BlockKind::isText(block->kind) || !block->isLiveText()) return nullptr;
    auto* text = dynamic_cast<TextBlock*>(block);
    return text && text->content() ? text : nullptr;
}

TextBlock* editedBlock(const InfoRecord& record) {
    return record.inPlaceEditing ? liveTextBlock(record) : nullptr;
}

TextBlock* priceBlock(const InfoRecord& record) {
    TextBlock* block = liveTextBlock(record);
    return block && BlockKind::isPrice(block->kind) ? block : nullptr;
}

bool isEnabled(int id, const InfoRecord& record) {
    if (id == AutoFit) return true;
    if (appliesToWholeBlock(id)) return liveTextBlock(record) != nullptr;
    if (isCharacterCommand(id)) return editedBlock(record) != nullptr;
    if (isBlockCommand(id)) return liveTextBlock(record) != nullptr;
    if (id == Vertical) {
        const TextBlock* block = liveTextBlock(record);
        return block && !BlockKind::isPrice(block->kind);
    }
    if (id == PriceFormat) return priceBlock(record) != nullptr;
    return false;
}

bool isChecked(int id, const InfoRecord& record, bool autoFit) {
    if (id == AutoFit) return autoFit;
    if (const TextBlock* block = editedBlock(record)) {
        const CharStyle& style = block->content()->typingStyle;
        if (id == Bold) return style.bold;
        if (id == Italic) return style.italic;
        if (id == Underline) return style.underline;
        if (id >= FirstCharSpacing && id <= LastCharSpacing) return style.charSpacing == charSpacingOf(id);
    }
    if (const TextBlock* block = liveTextBlock(record)) {
        const RichText& text = *block->content();
        if (id >= Fill && id <= Centre) return text.alignment() == alignmentOf(id);
        if (id >= FirstLineSpacing && id <= LastLineSpacing) return text.lineSpacing() == lineSpacingOf(id);
        if (id == Vertical) return text.isVertical();
    }
    return false;
}

bool run(int id, InfoRecord& record, bool autoFit) {
    if (!isEnabled(id, record)) return false;
    if (id == Bold || id == Italic || id == Underline) {
        const CharStyle& style = editedBlock(record)->content()->typingStyle;
        const int code = id == Bold ? RichText::Bold : id == Italic ? RichText::Italic : RichText::Underline;
        const bool now = id == Bold ? style.bold : id == Italic ? style.italic : style.underline;
        return applyCharacter(record, code, now ? 0 : 1, autoFit);
    }
    if (id >= FirstCharSpacing && id <= LastCharSpacing) {
        return applyCharacter(record, RichText::CharSpacing, charSpacingOf(id), autoFit);
    }
    if (id >= Fill && id <= Centre) {
        return applyBlock(record, autoFit, [id](RichText& t) { t.setAlignment(alignmentOf(id)); });
    }
    if (id >= FirstLineSpacing && id <= LastLineSpacing) {
        return applyBlock(record, autoFit, [id](RichText& t) { t.setLineSpacing(lineSpacingOf(id)); });
    }
    if (id == Vertical) {
        return applyBlock(record, autoFit, [](RichText& t) { t.setVertical(!t.isVertical()); });
    }
    return false;
}

bool applyFace(int id, InfoRecord& record, const QByteArray& face, bool autoFit) {
    TextBlock* block = editedBlock(record);
    if (!block || face.isEmpty() || (id != ChineseFace && id != WesternFace)) return false;
    record.takeUndoSnapshot();
    RichText& content = *block->content();
    const int code = id == ChineseFace ? RichText::ChineseFace : RichText::WesternFace;
    // A barcode is the whole block: a barcode face turns all of it into the symbol, and a
    // real face chosen for a barcode turns all of it back into text.
    const auto barcode = BarcodeFace::fromFaceName(face);
    const auto current = BarcodeStyle::lookOf(content);
    if (barcode) {
        BarcodeStyle::apply(content, *barcode, current ? current->showText : true, autoFit);
    } else if (current) {
        BarcodeStyle::clear(content, code, face, autoFit);
    } else {
        content.applyStyle(code, face, autoFit);
    }
    return true;
}

bool applySize(InfoRecord& record, int points, bool autoFit) {
    return applyToSelectedText(record, RichText::Size, std::clamp(points, kMinSize, kMaxSize), autoFit);
}

bool applyTextColour(InfoRecord& record, int32_t colour, bool autoFit) {
    return applyToSelectedText(record, RichText::TextColour, colour, autoFit);
}

const CharStyle* shownStyle(const InfoRecord& record) {
    if (const TextBlock* block = editedBlock(record)) return &*block->content()->typingStyle;
    if (const TextBlock* block = liveTextBlock(record)) return &*block->content()->item(0).style;
    return nullptr;
}

bool applyPriceFormat(InfoRecord& record, int32_t priceStyle, int32_t lineColour, bool autoFit) {
    TextBlock* block = priceBlock(record);
    if (!block) return false;
    PriceItem* price = block->content()->firstPriceItem(block->kind);
    if (!price) return false;
    record.takeUndoSnapshot();
    price->priceStyle = priceStyle;
    price->lineColour = lineColour;
    block->content()->fitToFrame(autoFit);
    return true;
}

}  // namespace pemo::FormatCommand
