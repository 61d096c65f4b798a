#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace pemo {

class InfoRecord;
class PictureStore;
class TextBlock;

// 艺术字 and 文字图形化 of the 对象 menu: the art settings of the text edited in place,
// turning a text block into a graphic, and the effect of a converted block.
namespace ArtCommand {

inline constexpr int ArtText = 34304;           // 艺术字
inline constexpr int ConvertToGraphic = 34305;  // 文字图形化

// What the art-text dialog edits. Colours are 0x00BBGGRR.
struct Settings {
    int32_t textColour = 0x0000FF;  // red
    int32_t effectColour = 0xFF0000;  // blue
    int32_t size = 1;
    int32_t pattern = 1;
    int32_t effect = 0;
    int32_t reserved = 0;
    QByteArray face = QByteArrayLiteral("\xCB\xCE\xCC\xE5");  // 宋体, the previews' face
    QByteArray textureKey;  // the current texture (document pictures)
    QString textureFile;    // a texture file newly chosen, to be added on applying

    bool operator==(const Settings&) const = default;
};

enum class Result { Unchanged, Applied, TextureNotAdded };

bool isEnabled(int id, const InfoRecord& record);
// The one selected converted text block, or null.
TextBlock* convertedBlock(const InfoRecord& record);

// The settings the dialog opens with: the edited text's typing style (艺术字) or the
// converted block's outline (文字图形化 on a converted block).
Settings currentSettings(const InfoRecord& record);

// Applies dialog settings, as one undo step, to the selection (or the typing style)
// of the edited text, or to the converted block's outline. A texture file chosen for
// the texture fill is added to images; without one the current texture stays. When
// the file cannot be added nothing changes.
Result apply(InfoRecord& record, PictureStore& images, const Settings& settings, bool autoFit);

// 文字图形化 on a live text block, as one undo step; false when it does not apply.
bool convert(InfoRecord& record);

}  // namespace ArtCommand

}  // namespace pemo
