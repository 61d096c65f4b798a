#pragma once

#include <QDialog>

class QAbstractButton;

namespace pemo {

// The common frame of the grid's small editors: a borderless popup that closes (as a
// cancel) when the user clicks elsewhere, placed against the cell it edits.
class GridPopup : public QDialog {
    Q_OBJECT
public:
    explicit GridPopup(QWidget* parent = nullptr);

    // Moves the popup to the cell (screen coordinates, right and bottom inclusive),
    // keeping it on the cell's screen.
    void placeAgainst(const QRect& cellOnScreen);

protected:
    // A 24-pixel button drawn with a tick (accept) or a cross (cancel).
    QAbstractButton* makeImageButton(bool accept);
};

}  // namespace pemo
