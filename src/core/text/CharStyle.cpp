#include "CharStyle.h"

#include "core/codecs/Archive.h"

namespace pemo {

QByteArray CharStyle::defaultChineseFace() {
    static const QByteArray face("\xCB\xCE\xCC\xE5", 4);  // 宋体
    return face;
}

bool CharStyle::operator==(const CharStyle& o) const {
    return chineseFace == o.chineseFace && westernFace == o.westernFace && size == o.size &&
           bold == o.bold && italic == o.italic && underline == o.underline &&
           textColour == o.textColour && effect == o.effect && reserved == o.reserved &&
           effectSize == o.effectSize && effectColour == o.effectColour && pattern == o.pattern &&
           textureKey == o.textureKey && charSpacing == o.charSpacing;
}

void CharStyle::write(ArchiveWriter& out, StyleForm form) const {
    out.writeText(chineseFace);
    out.writeText(westernFace);
    out.writeUInt16(size);
    out.writeByte(bold);
    out.writeByte(italic);
    out.writeByte(underline);
    out.writeInt32(textColour);
    out.writeInt32(effect);
    out.writeInt32(reserved);
    out.writeInt32(effectSize);
    out.writeInt32(effectColour);
    out.writeInt32(pattern);
    out.writeText(form == StyleForm::Template ? localKey : textureKey);
    out.writeInt16(charSpacing);
    if (form != StyleForm::Snapshot) {
        for (int i = 0; i < 7; ++i)
            out.writeInt16(0);
    }
}

void CharStyle::read(ArchiveReader& in, StyleForm form) {
    chineseFace = in.readText();
    westernFace = in.readText();
    size = in.readUInt16();
    bold = in.readByte();
    italic = in.readByte();
    underline = in.readByte();
    textColour = in.readInt32();
    effect = in.readInt32();
    reserved = in.readInt32();
    effectSize = in.readInt32();
    effectColour = in.readInt32();
    pattern = in.readInt32();
    if (form == StyleForm::Template) {
        localKey = in.readText();
        textureKey.clear();
    } else {
        textureKey = in.readText();
        localKey.clear();
    }
    charSpacing = in.readInt16();
    if (form != StyleForm::Snapshot)
        in.skip(7 * 2);
}

}  // namespace pemo
