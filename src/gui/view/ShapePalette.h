#pragma once

#include <QFrame>
#include <QIcon>
#include <cstdint>

namespace pemo {

// The shape picker of 绘制图形: a popup of 24 × 24 tool pictures in 8 columns and 3
// rows (lines, curves and boxes; arrows 1 to 8; arrows 9 to 12 and the four stars).
// Clicking a cell closes the popup and reports the cell's command.
class ShapePalette : public QFrame {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;
    static constexpr int kRows = 3;
    static constexpr int kCell = 24;

    explicit ShapePalette(QWidget* parent = nullptr);

    // The command of the cell in row, column.
    static int commandAt(int row, int column);
    // The tool picture of a drawing kind, drawn with the shapes' own geometry.
    static QIcon toolIcon(int32_t kind);

signals:
    void commandChosen(int id);
};

}  // namespace pemo
