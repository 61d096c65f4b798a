// The popups a key or a toolbar command opens stand under their toolbar button, not at
// the mouse.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "core/document/CPatDoc.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/view/CPatView.h"
#include "gui/view/ShapeCommands.h"
#include "gui/view/ShapePalette.h"

using namespace pemo;

namespace {

struct ShownWindow {
    CPatApp app;
    CPatDoc doc;
    CPatMain main{app, doc};

    ShownWindow() {
        doc.newDocument();
        // Wider than the screen, so that no toolbar button is folded away.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        main.setGeometry(screen.left(), screen.top(), 3000, screen.height());
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
        // Far below every button: a popup placed at the mouse shows it.
        QCursor::setPos(screen.bottomLeft() - QPoint(0, 5));
    }

    // Where a popup of that size opens under the button: moved left or up as far as it
    // must to show whole.
    QPoint underButton(int id, int dx, int dy, QSize size) const {
        const QWidget* button = main.view()->toolButtonOf(id);
        EXPECT_TRUE(button && button->isVisible()) << id;
        if (!button) return {};
        const QPoint at = button->mapToGlobal(QPoint(dx, button->height() + dy));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        return {std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())),
                std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height()))};
    }
};

TEST(PopupPlaces, KeyMenusOpenUnderTheirToolbarButton) {
    ShownWindow window;
    const struct {
        QKeyCombination key;
        int button;
    } cases[] = {
        {Qt::CTRL | Qt::Key_G, 34200},  // 变量
        {Qt::CTRL | Qt::Key_T, 34220},  // 常用短语
        {Qt::CTRL | Qt::Key_J, 34250},  // 价格信息
        {Qt::CTRL | Qt::Key_H, 34260},  // 商场信息
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        QRect shown;
        // The key's menu runs its own loop: look at it from inside, then close it.
        QTimer::singleShot(100, [&shown] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                shown = popup->geometry();
                popup->close();
            }
        });
        QTest::keyClick(&window.main, c.key.key(), c.key.keyboardModifiers());
        ASSERT_TRUE(shown.isValid());
        EXPECT_EQ(shown.topLeft(), window.underButton(c.button, 0, 1, shown.size()));
    }
}

TEST(PopupPlaces, TheShapePaletteOpensUnderItsToolbarButton) {
    ShownWindow window;
    QAction* draw = nullptr;
    for (QAction* action : window.main.findChildren<QAction*>()) {
        if (action->data().toInt() == ShapeCommands::DrawShape) draw = action;
    }
    ASSERT_NE(draw, nullptr);
    draw->trigger();
    ShapePalette* palette = nullptr;
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<ShapePalette*>(shown); p && p->isVisible()) palette = p;
    }
    ASSERT_NE(palette, nullptr);
    // Its left edge 145 pixels left of the button's; the frame may settle a pixel or two
    // away as it is first shown.
    const QPoint expected = window.underButton(ShapeCommands::DrawShape, -145, 2, palette->size());
    EXPECT_LE((palette->pos() - expected).manhattanLength(), 4) << palette->x() << "," << palette->y();
    palette->close();
}

}  // namespace
