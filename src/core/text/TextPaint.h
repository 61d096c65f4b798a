#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPoint>
#include <functional>

class QPainter;

namespace pemo {

struct CharStyle;

// Small drawing helpers shared by the rich text and its price fields.
class TextPaint {
public:
    // Paints one character (GBK bytes) with its baseline-left corner at `at`, in the
    // style's colour and effect; s is the art effect size in device pixels.
    using CharacterPainter = std::function<void(QPainter& painter, QPoint at, const QString& text,
                                                const QFont& font, const CharStyle& style, int s)>;

    // Tests register a painter of their own here; without one, characters are painted
    // by the art-text painter.
    static void setCharacterPainter(CharacterPainter painter);
    static void paintCharacter(QPainter& painter, QPoint at, const QByteArray& gbk,
                               const QFont& font, const CharStyle& style, int s);

    // 0x00BBGGRR to a colour.
    static QColor colour(int32_t bgr) {
        return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
    }
    // The style's Chinese or Western font at a pixel height.
    static QFont font(const CharStyle& style, bool chinese, int pixelSize);
    // Plain glyph in the painter's current pen, baseline-left at `at`.
    static void drawGlyph(QPainter& painter, const QFont& font, QPoint at, const QByteArray& gbk);
};

}  // namespace pemo
