#include "LineStylePopup.h"

#include <QMouseEvent>
#include <QPainter>

#include "ButtonFaces.h"
#include "core/graphics/TextOutline.h"
#include "gui/common/PopupPlace.h"

namespace pemo {

namespace {

constexpr LineStylePopup::Choice kChoices[] = {
    {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {0, 2},
    {0, 4}, {0, 6}, {0, 8}, {0, 10}, {0, 12}, {0, 16},
};
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 23;
// A press is tested against the solid widths first, then the dashed styles.
constexpr int kPressOrder[] = {0, 5, 6, 7, 8, 9, 10, 11, 1, 2, 3, 4};

Qt::PenStyle qtStyle(int32_t style) {
    switch (style) {
        case 1: return Qt::DashLine;
        case 2: return Qt::DotLine;
        case 3: return Qt::DashDotLine;
        case 4: return Qt::DashDotDotLine;
        default: return Qt::SolidLine;
    }
}

}  // namespace

LineStylePopup::LineStylePopup(int32_t penWidth, int32_t penStyle, uint32_t penColour, QPoint at,
                               QWidget* parent)
    : QDialog(parent, Qt::Popup), penWidth_(penWidth), penStyle_(penStyle), penColour_(penColour) {
    setFixedSize(kButtonWidth + 14, 12 * kButtonHeight + 14);
    if (!at.isNull()) {
        move(PopupPlace::onScreen(at, size()));
    } else if (parent) {
        move(PopupPlace::onScreen(parent->window()->geometry().center() - rect().center(), size()));
    }
}

const LineStylePopup::Choice& LineStylePopup::choiceAt(int i) { return kChoices[std::clamp(i, 0, 11)]; }

QRect LineStylePopup::buttonRect(int i) {
    return QRect(7, 7 + i * kButtonHeight, kButtonWidth, kButtonHeight);
}

void LineStylePopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    for (int i = 0; i < 12; ++i) {
        const QRect r = buttonRect(i);
        const Choice& c = kChoices[i];
        c.penStyle == penStyle_ && c.penWidth == penWidth_ ? drawPressedFace(p, r)
                                                           : drawRaisedFace(p, r);
        QPen pen(colourOf(int32_t(penColour_)), c.penWidth, qtStyle(c.penStyle), Qt::FlatCap);
        p.setPen(pen);
        const int y = r.top() + ((c.penWidth + 1) / 2 + r.height() - 6) / 2;
        p.drawLine(r.left() + 3, y, r.left() + r.width() - 6, y);
    }
}

void LineStylePopup::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    for (int i : kPressOrder) {
        if (buttonRect(i).contains(at)) {
            penStyle_ = kChoices[i].penStyle;
            penWidth_ = kChoices[i].penWidth;
            accept();
            return;
        }
    }
    reject();
}

}  // namespace pemo
