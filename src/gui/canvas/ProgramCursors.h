#pragma once

#include <QCursor>

namespace pemo {

// The canvas's own cursors: the text, graphic and picture tools, a shape's point grip and
// the rotation grip. The system's cursors serve the rest (sizing, moving, the I-beam).
namespace ProgramCursors {

QCursor text();
QCursor graphic();
QCursor picture();
QCursor point();
QCursor rotation();

}  // namespace ProgramCursors

}  // namespace pemo
