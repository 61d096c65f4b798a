#pragma once

#include <QDialog>
#include <cstdint>

namespace pemo {

// The pen width and dash style popup: twelve sample buttons; the first press chooses
// one, a press outside them cancels.
class LineStylePopup : public QDialog {
public:
    struct Choice {
        int32_t penStyle;  // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
        int32_t penWidth;  // points
    };

    // at: the window's top-left on the screen; (0, 0) centres it.
    LineStylePopup(int32_t penWidth, int32_t penStyle, uint32_t penColour, QPoint at,
                   QWidget* parent = nullptr);

    int32_t penWidth() const { return penWidth_; }
    int32_t penStyle() const { return penStyle_; }

    // The twelve buttons from the top, and where each sits.
    static const Choice& choiceAt(int i);
    static QRect buttonRect(int i);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int32_t penWidth_;
    int32_t penStyle_;
    uint32_t penColour_;
};

}  // namespace pemo
