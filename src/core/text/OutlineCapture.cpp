#include "OutlineCapture.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "CharClasses.h"
#include "FontFaces.h"
#include "RichText.h"
#include "TextPaint.h"
#include "core/codecs/Gbk.h"
#include "core/graphics/TextOutline.h"

namespace pemo::OutlineCapture {

namespace {

constexpr int kUnitsPerPoint = 20;

// The outline of a character with its baseline's left end at (0, 0), unhinted, from
// whichever installed face draws it.
QPainterPath glyphPath(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g) {
            // The layout's line puts the baseline at the ascent.
            const QPointF at(positions[g].x(), positions[g].y() - layout.lineAt(0).ascent());
            path.addPath(raw.pathForGlyph(glyphs[g]).translated(at));
        }
    }
    return path;
}

QFont captureFont(const CharStyle& style, bool chinese) {
    QFont font = TextPaint::font(style, chinese, kUnitsPerPoint * style.size);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

QByteArray bytesOf(const TextItem& item, bool vertical) {
    uint8_t lead = item.lead, trail = item.trail;
    if (!ItemClass::isDoubleByte(item.itemClass()))
        return QByteArray(1, char(lead));
    if (vertical)
        CharClasses::verticalQuoteForm(&lead, &trail);
    QByteArray bytes(1, char(lead));
    bytes.append(char(trail));
    return bytes;
}

// Ascent and descent of a font's cell as the vertical drawing places upright glyphs.
std::pair<int, int> uprightCell(const QFont& font, const CharStyle& style) {
    const int em = kUnitsPerPoint * style.size;
    if (FontFaces::resolve(style.chineseFace).cjk) {
        const int ascent = std::max(1, em) * 7 / 8;
        return {ascent, std::max(1, em) - ascent};
    }
    const QFontMetrics metrics(font);
    return {metrics.ascent(), metrics.descent()};
}

double signedArea(const QPolygonF& polygon) {
    double area = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % polygon.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area;
}

// Whether two segments cross at a point inside both (touching ends do not count).
bool segmentsCross(const QPointF& a, const QPointF& b, const QPointF& c, const QPointF& d) {
    const auto side = [](const QPointF& p, const QPointF& q, const QPointF& r) {
        const double v = (q.x() - p.x()) * (r.y() - p.y()) - (q.y() - p.y()) * (r.x() - p.x());
        return v > 0 ? 1 : v < 0 ? -1 : 0;
    };
    const int s1 = side(a, b, c), s2 = side(a, b, d), s3 = side(c, d, a), s4 = side(c, d, b);
    return s1 * s2 < 0 && s3 * s4 < 0;
}

// The segments of a contour that reach into a box.
std::vector<QLineF> segmentsIn(const QPolygonF& contour, const QRectF& box) {
    std::vector<QLineF> out;
    for (qsizetype i = 0; i + 1 < contour.size(); ++i) {
        const QRectF span = QRectF(contour[i], contour[i + 1]).normalized();
        if (span.right() >= box.left() && span.left() <= box.right() && span.bottom() >= box.top() &&
            span.top() <= box.bottom())
            out.emplace_back(contour[i], contour[i + 1]);
    }
    return out;
}

bool contoursCross(const QPolygonF& a, const QPolygonF& b, const QRectF& shared) {
    const std::vector<QLineF> first = segmentsIn(a, shared);
    if (first.empty())
        return false;
    const std::vector<QLineF> second = segmentsIn(b, shared);
    for (const QLineF& s : first) {
        for (const QLineF& t : second) {
            if (segmentsCross(s.p1(), s.p2(), t.p1(), t.p2()))
                return true;
        }
    }
    return false;
}

// Whether some area of the contours is wound more than once, so that the alternate
// fill rule would leave a hole where the glyph is meant to be filled: two contours that
// cross, or one inside another that turns the same way.
bool hasOverlaps(const QList<QPolygonF>& contours) {
    const qsizetype n = contours.size();
    std::vector<QRectF> boxes;
    std::vector<int> turns;
    for (const QPolygonF& contour : contours) {
        boxes.push_back(contour.boundingRect());
        turns.push_back(signedArea(contour) > 0 ? 1 : -1);
    }
    for (qsizetype a = 0; a < n; ++a) {
        for (qsizetype b = a + 1; b < n; ++b) {
            const QRectF shared = boxes[size_t(a)].intersected(boxes[size_t(b)]);
            if (!shared.isEmpty() && contoursCross(contours[a], contours[b], shared))
                return true;
        }
    }
    // No crossings: the contours nest, and the winding inside each is its own turn
    // plus the turns of the contours around it.
    for (qsizetype c = 0; c < n; ++c) {
        if (contours[c].isEmpty())
            continue;
        int winding = turns[size_t(c)];
        for (qsizetype a = 0; a < n; ++a) {
            if (a != c && boxes[size_t(a)].contains(boxes[size_t(c)]) &&
                contours[a].containsPoint(contours[c].first(), Qt::OddEvenFill))
                winding += turns[size_t(a)];
        }
        if (std::abs(winding) >= 2)
            return true;
    }
    return false;
}

void capturePiece(TextOutline& outline, const QPainterPath& glyph, QPoint cellTopLeft, int width,
                  int height) {
    OutlinePiece piece;
    piece.left = cellTopLeft.x();
    piece.top = cellTopLeft.y();
    piece.width = width;
    piece.height = height;
    appendPath(withoutOverlaps(glyph), piece);
    outline.pieces.push_back(std::move(piece));
}

void captureHorizontal(const RichText& content, TextOutline& outline) {
    for (int i = 0; i < content.itemCount(); ++i) {
        const TextItem& it = content.item(i);
        const uint16_t c = it.itemClass();
        const bool chinese = ItemClass::isDoubleByte(c);
        if (!chinese && !ItemClass::isSingleByte(c))
            continue;
        int x0 = 0;
        if (c == ItemClass::Opening && it.width == it.height / 2)
            x0 = -it.width;
        const QPainterPath glyph = glyphPath(captureFont(it.style, chinese),
                                             Gbk::toUnicode(bytesOf(it, false)));
        const QPoint origin(x0, it.y - it.lineTop);
        capturePiece(outline, glyph.translated(origin), QPoint(it.x, it.lineTop), it.width,
                     it.lineHeight);
    }
}

void captureVertical(const RichText& content, TextOutline& outline) {
    for (int i = 0; i < content.itemCount(); ++i) {
        const TextItem& it = content.item(i);
        const uint16_t c = it.itemClass();
        const bool chinese = ItemClass::isDoubleByte(c);
        if (!chinese && !ItemClass::isSingleByte(c))
            continue;
        const QFont font = captureFont(it.style, chinese);
        const auto [ascent, descent] = uprightCell(font, it.style);
        const uint16_t code = uint16_t(it.lead << 8 | it.trail);
        QPoint at(it.x, it.y);
        bool upright = true;
        if (c == ItemClass::Ideograph || c == ItemClass::Currency ||
            (c == ItemClass::NonStarter && code != 0xA1A3)) {
        } else if ((c == ItemClass::NonStarter && code == 0xA1A3) ||
                   (c == ItemClass::Closing &&
                    (code == 0xA3AC || code == 0xA3BA || code == 0xA1A2 || code == 0xA3BB))) {
            at = QPoint(it.x + it.width / 4, it.y - it.height / 4);
        } else if (c == ItemClass::Closing && (code == 0xA3A1 || code == 0xA3BF)) {
            at = QPoint(it.x + it.width / 4, it.y);
        } else {
            upright = false;
            if (c == ItemClass::Opening)
                at.setY(it.y - it.width);
        }
        QPainterPath glyph = glyphPath(font, Gbk::toUnicode(bytesOf(it, true)));
        // The cell: one em across the column, the character's length down it.
        const QPoint cell(it.x - descent, it.y);
        QPoint origin;
        if (upright) {
            origin = QPoint(at.x() - descent, at.y() + ascent) - cell;
        } else {
            // A quarter turn clockwise about the glyph's origin: (x, y) becomes (−y, x).
            glyph = QTransform(0, 1, -1, 0, 0, 0).map(glyph);
            origin = at - cell;
        }
        capturePiece(outline, glyph.translated(origin), cell, ascent + descent, it.width);
    }
}

}  // namespace

void appendPath(const QPainterPath& path, OutlinePiece& piece) {
    const auto point = [](const QPainterPath::Element& e) {
        return QPoint(int(std::lround(e.x)), int(std::lround(e.y)));
    };
    const size_t figureStart = piece.types.size();
    size_t currentFigure = figureStart;
    const auto closeFigure = [&] {
        if (piece.types.size() > currentFigure + 1)
            piece.types.back() |= 1;
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        switch (e.type) {
            case QPainterPath::MoveToElement:
                closeFigure();
                currentFigure = piece.types.size();
                piece.types.push_back(OutlinePiece::MoveTo);
                break;
            case QPainterPath::LineToElement: piece.types.push_back(OutlinePiece::LineTo); break;
            case QPainterPath::CurveToElement:
            case QPainterPath::CurveToDataElement:
                piece.types.push_back(OutlinePiece::BezierTo);
                break;
        }
        piece.points.push_back(point(e));
    }
    closeFigure();
}

QPainterPath withoutOverlaps(const QPainterPath& glyph) {
    if (!hasOverlaps(glyph.toSubpathPolygons()))
        return glyph;
    QPainterPath winding = glyph;
    winding.setFillRule(Qt::WindingFill);
    return winding.simplified();
}

void captureOutlines(const RichText& content, TextOutline& outline) {
    if (content.isVertical()) {
        captureVertical(content, outline);
    } else {
        captureHorizontal(content, outline);
    }
}

}  // namespace pemo::OutlineCapture
