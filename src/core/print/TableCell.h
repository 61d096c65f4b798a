#pragma once

#include <QByteArray>
#include <QFont>
#include <utility>
#include <vector>

class QPainter;

namespace pemo {

// One cell of the printed record list: a GBK text laid out in 宋体 (Chinese) and Arial
// (Western) at 11 points, centred in header cells and left-aligned in data cells. All
// sizes are twips (1/1440 inch); the text frame is the cell's width less 100 twips and
// the cell is 100 twips taller than its text. The cell keeps only its text and sizes; the
// lines are laid out again when it is drawn, so a long list needs little memory.
class TableCell {
public:
    static constexpr int kPadding = 100;       // twips: 50 on each side
    static constexpr int kFontSize = 11;       // points
    static constexpr int kLineSpacing = 125;   // percent of the font size

    TableCell() = default;
    TableCell(QByteArray text, int width, bool header);

    const QByteArray& text() const { return text_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // A new width lays the text out again, which may change the height.
    void setWidth(int width);

    // Draws the text with its top-left corner at (x, y) device pixels, dpi dots per inch.
    void draw(QPainter& painter, int x, int y, int dpi) const;
    // The same for a cell of that text and width, without measuring it first.
    static void draw(QPainter& painter, const QByteArray& text, int width, bool header, int x,
                     int y, int dpi);

    // The lines (start, length) a text breaks into in a cell of that width.
    static std::vector<std::pair<int, int>> lineBreaks(const QString& text, int width);
    static int lineHeight();  // twips

    // The font cells draw with, its pixel size being the point size in twips.
    static const QFont& font();

private:
    QByteArray text_ = " ";
    int width_ = 0;
    int height_ = 0;
    bool header_ = false;
};

}  // namespace pemo
