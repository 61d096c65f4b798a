#pragma once

#include <QDialog>
#include <QPoint>
#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QListWidget;

namespace pemo {

class RecentColourList;

// "边框与填充": the glyph border of a text block (kind, glyph size, border colour,
// transparent or filled background) with a preview.
class BorderDialog : public QDialog {
public:
    struct Values {
        int32_t kind = 32;
        int32_t size = 12;  // points, 12 to 64 in steps of 4
        uint32_t borderColour = 0;
        bool transparent = true;
        uint32_t backgroundColour = 0xFFFFFF;
    };
    // Picks a colour in a picker opened at a screen point (under the button pressed).
    using ColourChooser = std::function<std::optional<uint32_t>(QPoint at, uint32_t current)>;

    BorderDialog(RecentColourList& recent, const Values& values, QWidget* parent = nullptr);

    const Values& values() const { return values_; }
    void setColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }
    QListWidget* kindList() const { return kinds_; }
    QComboBox* sizeList() const { return sizes_; }

private:
    Values values_;
    ColourChooser chooser_;
    QListWidget* kinds_ = nullptr;
    QComboBox* sizes_ = nullptr;
    QWidget* preview_ = nullptr;
};

}  // namespace pemo
