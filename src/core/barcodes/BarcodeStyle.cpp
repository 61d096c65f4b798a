#include "BarcodeStyle.h"

#include "core/text/RichText.h"

namespace pemo {

namespace {

const CharStyle& leadingStyle(const RichText& content) {
    return content.itemCount() > 1 ? *content.item(0).style : *content.typingStyle;
}

// Runs change over the whole text (and the typing style), keeping the selection.
template <typename Change>
void onWholeText(RichText& content, Change change) {
    const TextPosition anchor = content.anchor();
    const TextPosition caret = content.caret();
    content.selectAll();
    change();
    // An empty text has nothing to select: what is typed next takes the style.
    content.setSelection(TextPosition{0, true}, TextPosition{0, true});
    change();
    content.setSelection(anchor, caret);
}

}  // namespace

std::optional<BarcodeFace::Symbology> BarcodeStyle::symbologyOf(const RichText& content) {
    return BarcodeFace::fromFaceName(leadingStyle(content).westernFace);
}

std::optional<BarcodeStyle::Look> BarcodeStyle::lookOf(const RichText& content) {
    const auto symbology = symbologyOf(content);
    if (!symbology) return std::nullopt;
    const CharStyle& style = leadingStyle(content);
    Look look;
    look.symbology = *symbology;
    look.showText = style.italic == 0;
    look.ink = colour(style.textColour);
    if (content.transparent == 0) look.paper = colour(content.backgroundColour);
    return look;
}

void BarcodeStyle::apply(RichText& content, BarcodeFace::Symbology symbology, bool showText, bool autoFit) {
    const QByteArray face = BarcodeFace::gbkName(symbology);
    onWholeText(content, [&] {
        content.applyStyle(RichText::ChineseFace, face, autoFit);
        content.applyStyle(RichText::WesternFace, face, autoFit);
        content.applyStyle(RichText::Italic, showText ? 0 : 1, autoFit);
    });
}

void BarcodeStyle::clear(RichText& content, int faceCode, const QByteArray& face, bool autoFit) {
    const CharStyle& leading = leadingStyle(content);
    const bool chinese = faceCode == RichText::ChineseFace;
    const QByteArray& other = chinese ? leading.westernFace : leading.chineseFace;
    const bool otherWasBarcode = BarcodeFace::fromFaceName(other).has_value();
    const int otherCode = chinese ? RichText::WesternFace : RichText::ChineseFace;
    const QByteArray otherDefault = chinese ? CharStyle().westernFace : CharStyle::defaultChineseFace();
    onWholeText(content, [&] {
        content.applyStyle(faceCode, face, autoFit);
        if (otherWasBarcode) content.applyStyle(otherCode, otherDefault, autoFit);
        content.applyStyle(RichText::Italic, 0, autoFit);
    });
}

QColor BarcodeStyle::colour(int32_t stored) {
    const auto c = uint32_t(stored);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

}  // namespace pemo
