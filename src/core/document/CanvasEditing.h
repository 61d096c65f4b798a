#pragma once

#include <QPoint>

#include "core/blocks/Block.h"

namespace pemo {

class InfoRecord;
class PictureBlock;
class TextBlock;

// The page edits the canvas makes with the mouse and the arrow keys, in page twips,
// without widgets.
namespace CanvasEditing {

// Limits a move of the unlocked selected blocks: one block may leave the page by up to
// three quarters of its width or height; a group stays on the page as a whole.
QPoint limitMove(const InfoRecord& record, QPoint delta);
// The group rule alone, whatever the number of blocks: the box around the unlocked
// selected blocks stays on the page (the arrow keys use it).
QPoint limitGroupMove(const InfoRecord& record, QPoint delta);
// Moves every unlocked selected block by the limited delta; returns the delta used.
QPoint moveSelection(InfoRecord& record, QPoint delta);

// A graphic's frame after dragging one of its eight grips to (x, y): never narrower
// or lower than 100 twips, clamped to the page, keeping its proportions when aspectMode
// is 1.
TwipsRect resizeFrame(const TwipsRect& frame, int32_t grip, QPoint mouse, int32_t pageWidth,
                      int32_t pageHeight, bool keepAspect);

// Drags a corner grip of a text block to the mouse (already clamped to the page): the
// opposite corner stays, the size is at least 100 twips, and live text refits. The
// top-right grip of live text resizes without rotation, at least 200 twips.
void resizeTextBlock(TextBlock& block, int32_t grip, QPoint mouse);

// Drags a grip of a picture block to the mouse (already clamped to the page): the
// rotation grip turns it, a corner grip resizes it as a text block's, then, with
// aspectMode 1, fits the size to the picture's natural proportions.
void dragPictureGrip(PictureBlock& block, int32_t grip, QPoint mouse);

// Clamps a point to the page.
QPoint clampToPage(QPoint p, int32_t pageWidth, int32_t pageHeight);

// Adds every block whose frame lies completely inside the band (edges included) to
// the selection, locked or not.
void selectInBand(InfoRecord& record, const TwipsRect& band);

}  // namespace CanvasEditing

}  // namespace pemo
