#include "ArtCommands.h"

#include <QFileInfo>
#include <algorithm>

#include "InfoRecord.h"
#include "TextFormat.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/graphics/TextOutline.h"
#include "core/pictures/PictureDescription.h"
#include "core/pictures/PictureStore.h"
#include "core/text/ArtText.h"
#include "core/text/RichText.h"

namespace pemo::ArtCommand {

namespace {

TextBlock* selectedTextBlock(const InfoRecord& record) {
    if (record.selection.size() != 1 || record.inPlaceEditing)
        return nullptr;
    Block* block = record.selection.front();
    return BlockKind::isText(block->kind) ? dynamic_cast<TextBlock*>(block) : nullptr;
}

// The settings as stored values: effects, sizes and patterns in their ranges.
Settings checked(Settings s) {
    if (s.effect < 0 || s.effect > ArtText::kLastEffect)
        s.effect = 0;
    s.size = std::clamp(s.size, 1, 3);
    if (s.pattern < 1 || s.pattern > 32)
        s.pattern = 1;
    return s;
}

// The key of the texture the settings ask for: a new file added to images, else the
// current key; empty for other effects. False when the file cannot be added.
bool textureKeyOf(const Settings& s, PictureStore& images, QByteArray* key) {
    key->clear();
    if (s.effect != ArtText::kTextureFill)
        return true;
    if (s.textureFile.isEmpty()) {
        *key = s.textureKey;
        return true;
    }
    const QFileInfo file(s.textureFile);
    const PictureDescription description = PictureDescription::ofFile(
        // Textures are pictures of kind 3, in no library category.
        s.textureFile, PictureDescription::Kind(3), QByteArray(), Gbk::fromUnicode(file.completeBaseName()));
    if (description.width <= 0 || description.height <= 0)
        return false;
    *key = images.add(description);
    return !key->isEmpty();
}

}  // namespace

TextBlock* convertedBlock(const InfoRecord& record) {
    TextBlock* block = selectedTextBlock(record);
    return block && block->converted && block->outline() ? block : nullptr;
}

bool isEnabled(int id, const InfoRecord& record) {
    if (id == ArtText)
        return FormatCommand::editedBlock(record) != nullptr;
    if (id == ConvertToGraphic) {
        const TextBlock* block = selectedTextBlock(record);
        return block && block->canConvertToGraphic();
    }
    return false;
}

Settings currentSettings(const InfoRecord& record) {
    Settings s;
    if (const TextBlock* block = FormatCommand::editedBlock(record)) {
        const CharStyle& style = block->content()->typingStyle;
        s.textColour = style.textColour;
        s.effectColour = style.effectColour;
        s.size = style.effectSize;
        s.pattern = style.pattern;
        s.effect = style.effect;
        s.reserved = style.reserved;
        s.face = style.chineseFace;
        s.textureKey = style.effect == ArtText::kTextureFill ? style.textureKey : QByteArray();
    } else if (const TextBlock* block = convertedBlock(record)) {
        const TextOutline& o = *block->outline();
        s.textColour = o.textColour;
        s.effectColour = o.effectColour;
        s.size = o.size;
        s.pattern = o.pattern;
        s.effect = o.effect;
        s.reserved = o.reserved;
        s.textureKey = o.effect == TextOutline::PictureFill ? o.pictureKey : QByteArray();
    }
    return checked(s);
}

Result apply(InfoRecord& record, PictureStore& images, const Settings& given, bool autoFit) {
    const Settings s = checked(given);
    TextBlock* edited = FormatCommand::editedBlock(record);
    TextBlock* outlined = edited ? nullptr : convertedBlock(record);
    if (!edited && !outlined)
        return Result::Unchanged;
    if (outlined && !TextOutline::knowsEffect(s.effect))
        return Result::Unchanged;  // outlines know only the outline effects
    QByteArray key;
    if (!textureKeyOf(s, images, &key))
        return Result::TextureNotAdded;
    record.takeUndoSnapshot();
    if (edited) {
        CharStyle art = edited->content()->typingStyle;
        art.textColour = s.textColour;
        art.effectColour = s.effectColour;
        art.effectSize = s.size;
        art.pattern = s.pattern;
        art.effect = s.effect;
        art.reserved = s.reserved;
        art.textureKey = key;
        edited->content()->applyArtSettings(art, autoFit);
    } else {
        TextOutline& o = *outlined->outline();
        o.textColour = s.textColour;
        o.effectColour = s.effectColour;
        o.size = s.size;
        o.pattern = s.pattern;
        o.effect = s.effect;
        o.reserved = s.reserved;
        o.pictureKey = key;
    }
    return Result::Applied;
}

bool convert(InfoRecord& record) {
    TextBlock* block = selectedTextBlock(record);
    if (!block || block->converted || !block->canConvertToGraphic())
        return false;
    record.takeUndoSnapshot();
    block->convertToGraphic();
    block->rebuildHandles(true);
    return true;
}

}  // namespace pemo::ArtCommand
