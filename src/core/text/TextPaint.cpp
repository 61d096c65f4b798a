#include "TextPaint.h"

#include <QPainter>

#include "ArtText.h"
#include "CharStyle.h"
#include "FontFaces.h"
#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

TextPaint::CharacterPainter& registeredPainter() {
    static TextPaint::CharacterPainter painter;
    return painter;
}

}  // namespace

void TextPaint::setCharacterPainter(CharacterPainter painter) {
    registeredPainter() = std::move(painter);
}

void TextPaint::paintCharacter(QPainter& painter, QPoint at, const QByteArray& gbk,
                               const QFont& font, const CharStyle& style, int s) {
    if (registeredPainter() && style.effect != 0) {
        registeredPainter()(painter, at, Gbk::toUnicode(gbk), font, style, s);
        return;
    }
    if (style.effect != 0) {
        ArtText::paintCharacter(painter, at, Gbk::toUnicode(gbk), font, style, s);
        return;
    }
    painter.setPen(colour(style.textColour));
    drawGlyph(painter, font, at, gbk);
}

QFont TextPaint::font(const CharStyle& style, bool chinese, int pixelSize) {
    return FontFaces::font(chinese ? style.chineseFace : style.westernFace, pixelSize,
                           style.bold != 0, style.italic != 0);
}

void TextPaint::drawGlyph(QPainter& painter, const QFont& font, QPoint at, const QByteArray& gbk) {
    painter.setFont(font);
    painter.drawText(at, Gbk::toUnicode(gbk));
}

}  // namespace pemo
