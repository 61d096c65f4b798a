#include "RichText.h"

#include "PriceItem.h"
#include "TextMetrics.h"
#include "core/codecs/Archive.h"

namespace pemo {

namespace {

// itemClass, lead, trail, styleFollows and kind: the least an item takes in a stream.
constexpr qsizetype kMinItemBytes = 2 + 3 + 4;

std::unique_ptr<TextItem> newItemOfClass(uint16_t cls) {
    if (cls == ItemClass::Price)
        return std::make_unique<PriceItem>();
    return std::make_unique<TextItem>(cls);
}

}  // namespace

RichText::RichText() : metrics_(&TextMetrics::platform()) {
    auto end = std::make_unique<TextItem>(ItemClass::End);
    end->style = typingStyle;
    items_.push_back(std::move(end));
}

RichText::RichText(int frameWidth, int frameHeight, const QByteArray& text, const CharStyle& style,
                   int32_t kind, int fontSize, int lineSpacing, int alignment)
    : RichText() {
    frameWidth_ = frameWidth;
    frameHeight_ = frameHeight;
    fontSize_ = uint16_t(fontSize);
    lineSpacing_ = int16_t(lineSpacing);
    alignment_ = uint8_t(alignment);
    typingStyle = style;
    items_.front()->style = style;
    if (TextKind::isPrice(kind)) {
        auto price = std::make_unique<PriceItem>(kind);
        price->style = typingStyle;
        price->valueText = text;
        items_.insert(items_.begin(), std::move(price));
        layout();
    } else {
        insertText(text, kind);
    }
    caret_ = anchor_ = TextPosition{0, true};
}

RichText::RichText(const RichText& other) {
    *this = other;
}

RichText& RichText::operator=(const RichText& other) {
    if (this == &other)
        return *this;
    borderGlyph = other.borderGlyph;
    borderSize = other.borderSize;
    borderColour = other.borderColour;
    transparent = other.transparent;
    backgroundColour = other.backgroundColour;
    typingStyle = other.typingStyle;
    frameWidth_ = other.frameWidth_;
    frameHeight_ = other.frameHeight_;
    extent_ = other.extent_;
    fontSize_ = other.fontSize_;
    alignment_ = other.alignment_;
    lineSpacing_ = other.lineSpacing_;
    vertical_ = other.vertical_;
    anchor_ = other.anchor_;
    caret_ = other.caret_;
    lineGap_ = other.lineGap_;
    layoutTop_ = other.layoutTop_;
    layoutCount_ = 0;
    metrics_ = other.metrics_;
    items_.clear();
    items_.reserve(other.items_.size());
    for (const auto& item : other.items_)
        items_.push_back(item->clone());
    return *this;
}

RichText::~RichText() = default;

void RichText::setMetrics(const TextMetrics* metrics) {
    metrics_ = metrics ? metrics : &TextMetrics::platform();
}

void RichText::setFrameSize(int width, int height, bool autoFit) {
    frameWidth_ = width;
    frameHeight_ = height;
    fitToFrame(autoFit);
}

PriceItem* RichText::firstPriceItem(int32_t kind) {
    for (auto& item : items_) {
        if (item->itemClass() == ItemClass::Price && item->kind == kind)
            return static_cast<PriceItem*>(item.get());
    }
    return nullptr;
}

void RichText::clearItems() {
    items_.clear();
    caret_ = anchor_ = TextPosition{};
}

// --- stored forms

void RichText::writeForm(ArchiveWriter& out, StyleForm form) const {
    out.writeInt32(frameWidth_);
    out.writeInt32(frameHeight_);
    out.writeInt32(extent_);
    out.writeUInt16(fontSize_);
    out.writeByte(alignment_);
    out.writeInt16(lineSpacing_);
    out.writeInt32(borderGlyph);
    out.writeInt32(borderSize);
    out.writeInt32(borderColour);
    out.writeInt32(transparent);
    out.writeInt32(backgroundColour);
    out.writeInt32(vertical_);
    out.writeInt32(caret_.before ? 1 : 0);
    out.writeInt32(caret_.index);
    out.writeInt32(anchor_.before ? 1 : 0);
    out.writeInt32(anchor_.index);
    const CharStyle& header = *items_.front()->style;
    header.write(out, form);
    out.writeInt32(int32_t(items_.size()));
    const CharStyle* running = &header;
    for (const auto& item : items_) {
        out.writeUInt16(item->itemClass());
        out.writeByte(item->lead);
        out.writeByte(item->trail);
        const bool follows = item->style != *running;
        out.writeByte(follows ? 1 : 0);
        if (follows)
            item->style->write(out, form);
        out.writeInt32(item->kind);
        item->writeExtra(out);
        running = &*item->style;
    }
}

void RichText::readForm(ArchiveReader& in, StyleForm form, StreamPictures* pictures) {
    clearItems();
    auto readSide = [&in]() {
        const int32_t side = in.readInt32();
        if (side != 0 && side != 1)
            throw FormatError();
        return side == 1;
    };
    frameWidth_ = in.readInt32();
    frameHeight_ = in.readInt32();
    extent_ = in.readInt32();
    fontSize_ = in.readUInt16();
    alignment_ = in.readByte();
    lineSpacing_ = in.readInt16();
    borderGlyph = in.readInt32();
    borderSize = in.readInt32();
    borderColour = in.readInt32();
    transparent = in.readInt32();
    backgroundColour = in.readInt32();
    vertical_ = in.readInt32();
    TextPosition caret, anchor;
    caret.before = readSide();
    caret.index = in.readInt32();
    anchor.before = readSide();
    anchor.index = in.readInt32();

    auto importTexture = [&](CharStyle& style) {
        if (form != StyleForm::Template)
            return;
        if (style.effect == 41 && !style.localKey.isEmpty() && pictures)
            style.textureKey = pictures->importPicture(style.localKey);
    };
    CharStyle header;
    header.read(in, form);
    importTexture(header);
    typingStyle = header;

    const int32_t count = in.readCount(kMinItemBytes);
    if (count < 1)
        throw FormatError();
    items_.reserve(size_t(count));
    SharedStyle running = typingStyle;
    for (int32_t i = 0; i < count; ++i) {
        const uint16_t cls = in.readUInt16();
        if (!ItemClass::isKnown(cls))
            throw FormatError();
        // Exactly one end item, and it is the last.
        if ((cls == ItemClass::End) != (i == count - 1))
            throw FormatError();
        auto item = newItemOfClass(cls);
        item->lead = in.readByte();
        item->trail = in.readByte();
        const uint8_t follows = in.readByte();
        if (follows == 1) {
            CharStyle style;
            style.read(in, form);
            importTexture(style);
            running = style;
        }
        item->style = running;
        item->kind = in.readInt32();
        item->readExtra(in);
        items_.push_back(std::move(item));
    }
    if (caret.index < 0 || caret.index >= count || anchor.index < 0 || anchor.index >= count)
        throw FormatError();
    caret_ = caret;
    anchor_ = anchor;
}

void RichText::storeSnapshot(ArchiveWriter& out) const {
    writeForm(out, StyleForm::Snapshot);
}
void RichText::loadSnapshot(ArchiveReader& in) {
    readForm(in, StyleForm::Snapshot, nullptr);
}
void RichText::store(ArchiveWriter& out) const {
    writeForm(out, StyleForm::Document);
}
void RichText::load(ArchiveReader& in) {
    readForm(in, StyleForm::Document, nullptr);
}
void RichText::storeTemplate(ArchiveWriter& out) const {
    writeForm(out, StyleForm::Template);
}

void RichText::loadTemplate(ArchiveReader& in, StreamPictures* pictures) {
    readForm(in, StyleForm::Template, pictures);
}

void RichText::exportPictures(StreamPictures* pictures) {
    restyleItems(0, itemCount(), [pictures](CharStyle& style) {
        style.localKey.clear();
        if (style.effect == 41 && !style.textureKey.isEmpty() && pictures)
            style.localKey = pictures->exportPicture(style.textureKey);
    });
}

void RichText::markPicturesUsed(const std::function<void(const QByteArray&)>& mark) const {
    for (const auto& item : items_) {
        if (item->style->effect == 41 && !item->style->textureKey.isEmpty())
            mark(item->style->textureKey);
    }
}

}  // namespace pemo
