#pragma once

#include <QDialog>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QRadioButton;

namespace pemo {

class RecentColourList;

// "填充设置": the fill code, shadow direction and size, and the three colours of a
// closed graphic, with a live preview. Colours are 0x00BBGGRR.
class FillDialog : public QDialog {
public:
    struct Values {
        uint32_t penColour = 0;
        uint32_t fillColour = 0xFFFFFF;
        uint32_t shadowColour = 0xC0C0C0;
        int32_t fillType = 1001;
        int16_t shadowDirection = 0;
        int16_t shadowDistance = 2;
    };
    // Asks for a colour with the picker at a global point; none when cancelled.
    using ColourChooser = std::function<std::optional<uint32_t>(QPoint at, uint32_t current)>;

    FillDialog(RecentColourList& recent, const Values& values, QWidget* parent = nullptr);

    const Values& values() const { return values_; }
    void setColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

    // The fill codes of the 27 buttons, row by row.
    static const std::vector<int32_t>& fillCodes();
    QAbstractButton* fillButton(int32_t code) const;
    QAbstractButton* directionButton(int direction) const;
    QRadioButton* sizeButton(int distance) const;
    QAbstractButton* colourButton(int i) const;  // 0 pen, 1 fill, 2 shadow
    QString colourCaption(int i) const;

private:
    void refreshShadowControls();
    void chooseColour(int i);

    Values values_;
    ColourChooser chooser_;
    std::vector<QAbstractButton*> fills_;
    std::vector<QAbstractButton*> directions_;
    std::vector<QRadioButton*> sizes_;
    std::vector<QAbstractButton*> colours_;
    QWidget* preview_ = nullptr;
};

}  // namespace pemo
