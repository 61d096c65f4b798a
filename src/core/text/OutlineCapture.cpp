#include "OutlineCapture.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "FontFaces.h"
#include "RichText.h"
#include "TextPaint.h"
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

// One glyph the drawing puts down: the item being drawn, its text and font, the
// baseline origin and the painter's transform.
struct DrawnGlyph {
    int item = -1;
    QString text;
    QFont font;
    QPointF origin;
    QTransform transform;
};

// A paint engine that keeps the glyphs drawn on it and nothing else.
class GlyphRecorder : public QPaintEngine {
public:
    GlyphRecorder() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        glyphs.push_back({currentItem, item.text(), item.font(), p, state->transform()});
    }
    Type type() const override { return QPaintEngine::User; }

    int currentItem = -1;
    std::vector<DrawnGlyph> glyphs;
};

// A device of one unit per twip: at zoom 1 the drawing makes its fonts 20 units per
// point and puts every item at its position in twips.
class TwipsDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &recorder; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth:
            case PdmHeight: return 1 << 28;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY: return kTwipsPerInch;
            case PdmDepth: return 32;
            default: return 1;
        }
    }
    static constexpr int kTwipsPerInch = 1440;
    mutable GlyphRecorder recorder;
};

// The cell of a piece: the item's box in its line (horizontal), or one em across the
// column and the item's length down it (vertical).
QRect cellOf(const TextItem& it, bool vertical) {
    if (!vertical)
        return QRect(it.x, it.lineTop, it.width, it.lineHeight);
    const int em = kUnitsPerPoint * it.style->size;
    const int descent = FontFaces::resolve(it.style->chineseFace).cjk
                            ? std::max(1, em) - std::max(1, em) * 7 / 8
                            : QFontMetrics(TextPaint::font(*it.style, true, em)).descent();
    return QRect(it.x - descent, it.y, em, it.width);
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
    // The glyphs are taken from the drawing itself, so they stand where the drawing puts
    // them (punctuation in its half or quarter cell, turned glyphs in vertical text),
    // drawn plain: outlines carry an effect of their own.
    RichText plain(content);
    for (int i = 0; i < plain.itemCount(); ++i)
        plain.item(i).style.edit().effect = 0;
    TwipsDevice device;
    {
        QPainter painter(&device);
        const TextDevice twips{1.0, 0, 0, TwipsDevice::kTwipsPerInch, TwipsDevice::kTwipsPerInch};
        plain.draw(painter, twips, false,
                   [&device](int item) { device.recorder.currentItem = item; });
    }
    const std::vector<DrawnGlyph>& glyphs = device.recorder.glyphs;
    size_t next = 0;
    for (int i = 0; i < plain.itemCount(); ++i) {
        const TextItem& it = plain.item(i);
        const uint16_t c = it.itemClass();
        QPainterPath glyph;
        glyph.setFillRule(Qt::WindingFill);
        for (; next < glyphs.size() && glyphs[next].item <= i; ++next) {
            const DrawnGlyph& g = glyphs[next];
            if (g.item != i)
                continue;
            QFont font = g.font;
            font.setHintingPreference(QFont::PreferNoHinting);
            glyph.addPath(g.transform.map(glyphPath(font, g.text).translated(g.origin)));
        }
        // Price fields and anything but characters give no piece.
        if (!ItemClass::isSingleByte(c) && !ItemClass::isDoubleByte(c))
            continue;
        const QRect cell = cellOf(it, content.isVertical());
        capturePiece(outline, glyph.translated(-cell.topLeft()), cell.topLeft(), cell.width(),
                     cell.height());
    }
}

}  // namespace pemo::OutlineCapture
