#include "LabelTemplate.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace pemo {

namespace {

// Labels whose tops differ by less than this stand in one row.
constexpr double kSameRowMm = 0.05;
// How far a measured sheet's labels may reach past the paper's edge (rounding).
constexpr double kPaperSlackMm = 0.5;
constexpr int kMaxColumnsOrRows = 100;

QString number(double mm) {
    // At most two decimals, no trailing zeros: 63.5, 38.1, 210.
    QString text = QString::number(std::round(mm * 100) / 100, 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text;
}

std::optional<double> millimetres(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || value > 10000) return std::nullopt;
    return value;
}

}  // namespace

QString LabelTemplate::name() const {
    if (isCustom()) return QString::fromUtf8("自定义 ") + customText();
    return brand + QLatin1Char(' ') + part;
}

int LabelTemplate::labelsPerSheet() const {
    int count = 0;
    for (const LabelGrid& g : grids) count += g.columns * g.rows;
    return count;
}

std::vector<QRectF> LabelTemplate::labelRects() const {
    std::vector<QRectF> rects;
    for (const LabelGrid& g : grids) {
        for (int row = 0; row < g.rows; ++row) {
            for (int column = 0; column < g.columns; ++column) {
                rects.emplace_back(QPointF(g.x0 + column * g.dx, g.y0 + row * g.dy), labelMm);
            }
        }
    }
    std::stable_sort(rects.begin(), rects.end(), [](const QRectF& a, const QRectF& b) {
        if (std::abs(a.top() - b.top()) >= kSameRowMm) return a.top() < b.top();
        return a.left() < b.left();
    });
    return rects;
}

double LabelTemplate::discRadiusMm() const {
    return radiusMm > 0 ? radiusMm : std::min(labelMm.width(), labelMm.height()) / 2;
}

bool LabelTemplate::isClippedDisc() const {
    return shape == Shape::Round &&
           2 * discRadiusMm() > std::min(labelMm.width(), labelMm.height()) + kSameRowMm;
}

QPainterPath LabelTemplate::outline(const QRectF& box) const {
    QPainterPath path;
    switch (shape) {
    case Shape::Rectangle:
        if (cornerMm > 0) {
            path.addRoundedRect(box, cornerMm, cornerMm);
        } else {
            path.addRect(box);
        }
        return path;
    case Shape::Round: {
        const double r = discRadiusMm();
        path.addEllipse(box.center(), r, r);
        if (isClippedDisc()) {
            QPainterPath sides;
            sides.addRect(box);
            path = path.intersected(sides);
        }
        break;
    }
    case Shape::Ellipse:
        path.addEllipse(box);
        break;
    }
    if (holeMm > 0) {
        path.addEllipse(box.center(), holeMm, holeMm);  // odd-even fill: the hole stays out
    }
    return path;
}

QString LabelTemplate::sizeText() const {
    if (shape == Shape::Round) {
        const QString disc = QString::fromUtf8("Ø %1 毫米").arg(number(2 * discRadiusMm()));
        if (!isClippedDisc()) return disc;
        return disc + QString::fromUtf8("，切成 %1 × %2 毫米").arg(number(labelMm.width()), number(labelMm.height()));
    }
    return QString::fromUtf8("%1 × %2 毫米").arg(number(labelMm.width()), number(labelMm.height()));
}

std::optional<QSizeF> LabelTemplate::standardPaper(const QString& name) {
    const QString n = name.trimmed().toUpper();
    if (n == QStringLiteral("A4")) return QSizeF(210, 297);
    if (n == QStringLiteral("A3")) return QSizeF(297, 420);
    if (n == QStringLiteral("A5")) return QSizeF(148, 210);
    if (n == QStringLiteral("LETTER") || n == QStringLiteral("US-LETTER")) return QSizeF(215.9, 279.4);
    return std::nullopt;
}

std::optional<LabelTemplate> LabelTemplate::fromCustomText(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 7 && fields.size() != 8) return std::nullopt;
    static const QRegularExpression pair(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*[xX×]\\s*(\\d+(?:\\.\\d+)?)\\s*$"));

    LabelTemplate t;
    if (const auto paper = standardPaper(fields[0])) {
        t.paperName = fields[0].trimmed().toUpper() == QStringLiteral("LETTER") ? QStringLiteral("US-Letter")
                                                                                 : fields[0].trimmed().toUpper();
        t.paperMm = *paper;
    } else {
        const auto m = pair.match(fields[0]);
        if (!m.hasMatch()) return std::nullopt;
        t.paperName = QStringLiteral("Other");
        t.paperMm = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    const auto grid = pair.match(fields[1]);
    const auto size = pair.match(fields[2]);
    if (!grid.hasMatch() || !size.hasMatch()) return std::nullopt;
    bool rowsOk = false;
    bool columnsOk = false;
    LabelGrid g;
    g.rows = grid.captured(1).toInt(&rowsOk);
    g.columns = grid.captured(2).toInt(&columnsOk);
    if (!rowsOk || !columnsOk) return std::nullopt;
    t.labelMm = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    const auto left = millimetres(fields[3]);
    const auto top = millimetres(fields[4]);
    const auto hPitch = millimetres(fields[5]);
    const auto vPitch = millimetres(fields[6]);
    const auto corner = fields.size() == 8 ? millimetres(fields[7]) : std::optional<double>(0.0);
    if (!left || !top || !hPitch || !vPitch || !corner) return std::nullopt;
    g.x0 = *left;
    g.y0 = *top;
    g.dx = *hPitch;
    g.dy = *vPitch;
    t.cornerMm = *corner;

    const auto inRange = [](int n) { return n >= 1 && n <= kMaxColumnsOrRows; };
    if (!inRange(g.rows) || !inRange(g.columns)) return std::nullopt;
    if (t.paperMm.width() <= 0 || t.paperMm.height() <= 0) return std::nullopt;
    if (t.labelMm.width() <= 0 || t.labelMm.height() <= 0) return std::nullopt;
    // Labels never overlap, and the last one still lies on the paper.
    if (g.columns > 1 && g.dx < t.labelMm.width()) return std::nullopt;
    if (g.rows > 1 && g.dy < t.labelMm.height()) return std::nullopt;
    if (g.x0 + (g.columns - 1) * g.dx + t.labelMm.width() > t.paperMm.width() + kPaperSlackMm) return std::nullopt;
    if (g.y0 + (g.rows - 1) * g.dy + t.labelMm.height() > t.paperMm.height() + kPaperSlackMm) return std::nullopt;
    if (2 * t.cornerMm > std::min(t.labelMm.width(), t.labelMm.height())) return std::nullopt;
    t.grids.push_back(g);
    return t;
}

QString LabelTemplate::customText() const {
    const LabelGrid g = grids.empty() ? LabelGrid() : grids.front();
    QString paper = paperName;
    if (paper == QStringLiteral("US-Letter")) paper = QStringLiteral("Letter");
    if (!standardPaper(paper)) paper = number(paperMm.width()) + QLatin1Char('x') + number(paperMm.height());
    QStringList fields{paper,
                       QStringLiteral("%1x%2").arg(g.rows).arg(g.columns),
                       number(labelMm.width()) + QLatin1Char('x') + number(labelMm.height()),
                       number(g.x0),
                       number(g.y0),
                       number(g.dx),
                       number(g.dy)};
    if (cornerMm > 0) fields.append(number(cornerMm));
    return fields.join(QLatin1Char(','));
}

}  // namespace pemo
