#pragma once

#include <QDialog>
#include <QPoint>
#include <functional>
#include <map>
#include <optional>

class QAbstractButton;
class QToolButton;

namespace pemo {

// "价格信息格式": chooses the price style of a price block and the colour of its
// cross, strike or base line. Only the buttons of the block's price kind are enabled.
class PriceFormatDialog : public QDialog {
public:
    // Asks for a colour, the picker opening at a global point; none when cancelled.
    // Colours are 0x00BBGGRR.
    using ColourChooser =
        std::function<std::optional<int32_t>(QWidget* parent, QPoint at, int32_t current)>;

    PriceFormatDialog(int32_t kind, int32_t priceStyle, int32_t lineColour,
                      QWidget* parent = nullptr);

    int32_t priceStyle() const { return priceStyle_; }
    int32_t lineColour() const { return lineColour_; }
    // Replaces the colour picker (tests; the program passes its own picker).
    void setColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

    // The style a button gives for a kind, or 0 when the button is not the kind's.
    static int styleOfButton(int32_t kind, int buttonId);

    QAbstractButton* button(int id) const;

private:
    void chooseStyle(int style);
    void chooseColour(QToolButton* button);
    void refreshButtons();

    int32_t kind_;
    int32_t priceStyle_;
    int32_t lineColour_;
    ColourChooser chooser_;
    std::map<int, QToolButton*> buttons_;  // 4201..4223
};

}  // namespace pemo
