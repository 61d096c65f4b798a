#include "ShapePalette.h"

#include <QGridLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include "ShapeCommands.h"
#include "core/blocks/BlockKind.h"
#include "core/graphics/ShapeGeometry.h"

namespace pemo {

namespace {

// Row 1: line, polyline, curve, closed curve, ellipse, rectangle, rounded rectangle,
// polygon. The triangle has no cell.
constexpr int kFirstRow[ShapePalette::kColumns] = {34502, 34503, 34504, 34506,
                                                   34505, 34507, 34508, 34510};

// Sample points of each kind inside a 24-pixel cell.
std::vector<QPoint> samplePoints(int32_t kind) {
    switch (kind) {
        case BlockKind::Line: return {{3, 20}, {21, 4}};
        case BlockKind::Polyline: return {{3, 19}, {9, 5}, {15, 18}, {21, 4}};
        case BlockKind::Curve: return {{3, 19}, {6, 2}, {12, 12}, {18, 22}, {21, 4}};
        case BlockKind::ClosedCurve: return {{4, 12}, {4, 2}, {14, 4}, {22, 8}, {18, 20}, {6, 22}};
        case BlockKind::Polygon: return {{3, 8}, {12, 3}, {21, 9}, {17, 21}, {6, 19}};
        default: break;
    }
    if (kind >= BlockKind::FirstStarTool && kind <= BlockKind::LastStarTool) {
        return ShapeGeometry::starPoints(kind, {2, 3}, {22, 21});
    }
    const bool vertical = kind >= BlockKind::FirstArrow && (kind - BlockKind::FirstArrow) % 2 == 1;
    return vertical ? std::vector<QPoint>{{6, 2}, {18, 22}} : std::vector<QPoint>{{2, 6}, {22, 18}};
}

}  // namespace

int ShapePalette::commandAt(int row, int column) {
    if (column < 0 || column >= kColumns) return 0;
    switch (row) {
        case 0: return kFirstRow[column];
        case 1: return ShapeCommands::FirstArrow + column;
        case 2:
            return column < 4 ? ShapeCommands::FirstArrow + 8 + column
                              : ShapeCommands::FirstStar + column - 4;
        default: return 0;
    }
}

QIcon ShapePalette::toolIcon(int32_t kind) {
    QPixmap pixmap(kCell, kCell);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const int32_t drawn = kind >= BlockKind::FirstStarTool && kind <= BlockKind::LastStarTool
                              ? BlockKind::Polygon
                              : kind;
    ShapeGeometry::drawBody(p, drawn, samplePoints(kind), QPen(Qt::black, 1),
                            QBrush(QColor(255, 220, 120)));
    p.end();
    return QIcon(pixmap);
}

ShapePalette::ShapePalette(QWidget* parent) : QFrame(parent, Qt::Popup) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const int id = commandAt(row, column);
            auto* button = new QToolButton(this);
            button->setAutoRaise(true);
            button->setIcon(toolIcon(ShapeCommands::kindOf(id)));
            button->setIconSize(QSize(kCell, kCell));
            button->setToolTip(ShapeCommands::nameOf(id));
            button->setObjectName(QStringLiteral("shape%1").arg(id));
            connect(button, &QToolButton::clicked, this, [this, id] {
                close();
                emit commandChosen(id);
            });
            grid->addWidget(button, row, column);
        }
    }
}

}  // namespace pemo
