#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace pemo {

class RecentColourList;

// The drop-down palette of 183 fixed and 35 recent colours that unfolds ("颜色") into a
// hue–saturation field, a luminance bar and six number boxes. Colours are 0x00BBGGRR.
class ColourPicker : public QDialog {
public:
    // at: the window's top-left on the screen; (0, 0) centres it on the parent.
    ColourPicker(RecentColourList& recent, uint32_t colour, QPoint at, QWidget* parent = nullptr);

    uint32_t colour() const { return colour_; }
    bool isExpanded() const { return expanded_; }
    int hue() const { return hue_; }
    int saturation() const { return saturation_; }
    int luminance() const { return luminance_; }

    // Where swatch index (0 to 217) sits, in window pixels.
    static QRect swatchRect(int index);
    static QRect fieldRect();
    static QRect barRect();
    QLineEdit* box(int i) const { return boxes_[size_t(i)]; }  // hue, sat, lum, r, g, b
    QPushButton* colourButton() const { return expand_; }

    // Shows the picker modally; the chosen colour, or none when cancelled.
    static std::optional<uint32_t> choose(QWidget* parent, RecentColourList& recent,
                                          uint32_t colour, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void place(QSize size);
    void expand();
    void add();
    void drag(QPoint p);
    void boxEdited(int i);
    void setFromRgb(uint32_t colour);
    void setFromHsl();
    void writeBoxes();
    bool readBoxes();
    bool chooseSwatch(int index);
    void acceptIfBoxesRead();

    RecentColourList& recent_;
    uint32_t colour_;
    QPoint at_;
    int red_ = 0, green_ = 0, blue_ = 0;
    int hue_ = 0, saturation_ = 0, luminance_ = 0;
    bool expanded_ = false;
    int dragMode_ = 0;
    bool writing_ = false;
    QPushButton* expand_ = nullptr;
    std::array<QLineEdit*, 6> boxes_{};
};

}  // namespace pemo
