#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>

#include "core/document/ArtCommands.h"

class QAbstractButton;
class QComboBox;
class QListWidget;
class QPushButton;

namespace pemo {

// "艺术字设置": the art effect of text, its two colours, its size, pattern and texture,
// each effect button showing a preview character in the dialog's colours.
class ArtTextDialog : public QDialog {
public:
    // Asks for a colour with the picker at a global point; none when cancelled.
    using ColourChooser = std::function<std::optional<uint32_t>(QPoint at, uint32_t current)>;

    // outlineOnly offers just the effects a converted block knows (no soft shadows and
    // warps). textureFolder holds the textures offered; each file that loads is one.
    ArtTextDialog(const ArtCommand::Settings& settings, bool outlineOnly,
                  const QString& textureFolder, QWidget* parent = nullptr);

    const ArtCommand::Settings& settings() const { return settings_; }
    void setColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

    // The folder "贴图" of the program folder.
    static QString defaultTextureFolder();
    // The texture files of a folder that load as pictures, in name order.
    static QStringList textureFiles(const QString& folder);
    // A texture's name in the list: its file name without the last four characters
    // (the extension), or the whole name when it is not longer than that.
    static QString textureName(const QString& fileName);

    QAbstractButton* effectButton(int effect) const;
    QComboBox* moreEffects() const { return more_; }
    QListWidget* patternList() const { return patterns_; }
    QListWidget* sizeList() const { return sizes_; }
    QListWidget* textureList() const { return textures_; }
    QPushButton* textColourButton() const { return textColour_; }
    QPushButton* effectColourButton() const { return effectColour_; }

    // The preview character of an effect button.
    static QString previewCharacter(int effect);

private:
    void chooseEffect(int effect);
    void chooseColour(bool effectColour);
    void refresh();
    QImage chosenTexture() const;

    ArtCommand::Settings settings_;
    ColourChooser chooser_;
    std::map<int, QAbstractButton*> effects_;
    QComboBox* more_ = nullptr;
    QListWidget* patterns_ = nullptr;
    QListWidget* sizes_ = nullptr;
    QListWidget* textures_ = nullptr;
    QPushButton* textColour_ = nullptr;
    QPushButton* effectColour_ = nullptr;
    QWidget* preview_ = nullptr;
    QStringList textureFiles_;
    QList<QImage> texturePictures_;
};

}  // namespace pemo
