#pragma once

#include <QRect>

class QPainter;

namespace pemo {

// The raised and pressed looks of the style dialogs' owner-drawn buttons.
void drawRaisedFace(QPainter& painter, const QRect& rect);
void drawPressedFace(QPainter& painter, const QRect& rect);

}  // namespace pemo
