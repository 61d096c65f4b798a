#pragma once

#include <QPushButton>

#include "core/config/ConfigPictures.h"

namespace pemo {

// Shows one of the configured pictures (a logo or the product placeholder) stretched
// into the button, one pixel inside its edge, over the window-frame colour.
class PicturePreviewButton : public QPushButton {
    Q_OBJECT
public:
    PicturePreviewButton(ConfigPictures::Which which, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ConfigPictures::Which which_;
};

// Asks for a picture file and replaces the configured picture with it; reports a
// failure. True when the picture changed.
bool chooseConfigPicture(ConfigPictures::Which which, QWidget* parent);

}  // namespace pemo
