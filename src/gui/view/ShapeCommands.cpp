#include "ShapeCommands.h"

#include <QCursor>
#include <QMenu>

#include "ShapePalette.h"
#include "core/blocks/BlockKind.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/common/PopupPlace.h"
#include "gui/view/CPatView.h"

namespace pemo::ShapeCommands {

namespace {

// Kinds of the commands 34502 to 34510, in id order.
constexpr int32_t kShapeKinds[] = {
    BlockKind::Line,        BlockKind::Polyline, BlockKind::Curve,
    BlockKind::Ellipse,     BlockKind::ClosedCurve, BlockKind::Rectangle,
    BlockKind::RoundRect,   BlockKind::Triangle, BlockKind::Polygon,
};

const char* const kShapeNames[] = {"绘制直线", "绘制任意直线", "绘制样条曲线",
                                   "绘制椭圆", "绘制任意圆形", "绘制矩形",
                                   "绘制园角矩形", "绘制三角形", "绘制多边形"};

}  // namespace

int32_t kindOf(int id) {
    if (id >= FirstShape && id <= LastShape) return kShapeKinds[id - FirstShape];
    if (id >= FirstArrow && id <= LastArrow) return id + 16742713;
    if (id >= FirstStar && id <= LastStar) return id + 16742717;
    return 0;
}

QString nameOf(int id) {
    if (id >= FirstShape && id <= LastShape) return QString::fromUtf8(kShapeNames[id - FirstShape]);
    if (id >= FirstArrow && id <= LastArrow)
        return QString::fromUtf8("箭头%1").arg(id - FirstArrow + 1);
    if (id >= FirstStar && id <= LastStar)
        return QString::fromUtf8("星形%1").arg(id - FirstStar + 1);
    if (id == DrawShape) return QString::fromUtf8("绘制图形");
    return QString();
}

void arm(CPatView& view, int id) {
    const int32_t kind = kindOf(id);
    if (!kind) return;
    view.canvas()->stopEditing();
    view.setArmedTool(kind);
}

void addTo(QMenu* menu, CPatView& view) {
    QAction* draw = menu->addAction(nameOf(DrawShape) + QStringLiteral("(&D)"));
    draw->setData(DrawShape);
    draw->setCheckable(true);
    // Tied to the view, not the menu: a menu drops every link to itself from an action
    // taken out of it, and the 对象 menu takes its items out to put them in order.
    QObject::connect(draw, &QAction::triggered, &view, [&view, draw] {
        draw->setChecked(BlockKind::isGraphic(view.armedTool()));
        auto* palette = new ShapePalette(view.window());
        palette->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(palette, &ShapePalette::commandChosen, &view,
                         [&view](int id) { arm(view, id); });
        // Under the toolbar button, its left edge 145 pixels left of the button's.
        const QPoint at = PopupPlace::under(view.toolButtonOf(DrawShape), -145, 2).value_or(QCursor::pos());
        palette->move(PopupPlace::onScreen(at, palette->sizeHint()));
        palette->show();
    });
    QObject::connect(menu, &QMenu::aboutToShow, draw, [&view, draw] {
        draw->setChecked(BlockKind::isGraphic(view.armedTool()));
    });
}

}  // namespace pemo::ShapeCommands
