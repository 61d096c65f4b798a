// "艺术字设置": which controls each effect enables, the captions, the lists and the
// texture folder.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/dialogs/ArtTextDialog.h"

using namespace pemo;

namespace {

// A folder with two pictures and a file that is none.
struct TextureFolder {
    QTemporaryDir dir;
    TextureFolder() {
        QImage image(6, 6, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.save(dir.filePath("纹理-蓝.png"));
        image.fill(Qt::green);
        image.save(dir.filePath("a.bmp"));
        QFile bad(dir.filePath("说明.txt"));
        bad.open(QIODevice::WriteOnly);
        bad.write("not a picture");
    }
};

TEST(ArtTextDialog, EachEffectEnablesItsControls) {
    TextureFolder folder;
    ArtTextDialog dialog(ArtCommand::Settings{}, false, folder.dir.path());
    const struct {
        int effect;
        bool patterns, sizes, textures, textColour, effectColour;
        const char* textCaption;
    } cases[] = {
        {0, false, false, false, true, false, "文字颜色"},
        {1, false, true, false, true, true, "文字颜色"},
        {5, false, true, false, true, false, "文字颜色"},
        {7, false, true, false, true, true, "文字颜色"},
        {40, true, false, false, true, true, "开始颜色"},
        {41, false, false, true, false, false, "文字颜色"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        dialog.effectButton(c.effect)->click();
        EXPECT_EQ(dialog.settings().effect, c.effect);
        EXPECT_TRUE(dialog.effectButton(c.effect)->isChecked());
        EXPECT_EQ(dialog.patternList()->isEnabled(), c.patterns);
        EXPECT_EQ(dialog.sizeList()->isEnabled(), c.sizes);
        EXPECT_EQ(dialog.textureList()->isEnabled(), c.textures);
        EXPECT_EQ(dialog.textColourButton()->isEnabled(), c.textColour);
        EXPECT_EQ(dialog.effectColourButton()->isEnabled(), c.effectColour);
        EXPECT_EQ(dialog.textColourButton()->text(), QString::fromUtf8(c.textCaption));
    }
    // Soft shadows and warps come from the list of other effects.
    dialog.moreEffects()->setCurrentIndex(dialog.moreEffects()->findData(26));
    emit dialog.moreEffects()->activated(dialog.moreEffects()->currentIndex());
    EXPECT_EQ(dialog.settings().effect, 26);
    EXPECT_FALSE(dialog.effectButton(0)->isChecked());
}

TEST(ArtTextDialog, ListsSetPatternSizeAndTexture) {
    TextureFolder folder;
    ArtCommand::Settings start;
    start.effect = 41;
    start.textureKey = "K1";
    ArtTextDialog dialog(start, false, folder.dir.path());
    EXPECT_EQ(dialog.patternList()->count(), 32);
    EXPECT_EQ(dialog.patternList()->item(31)->text(), "31");
    dialog.patternList()->setCurrentRow(31);
    EXPECT_EQ(dialog.settings().pattern, 32);
    dialog.sizeList()->setCurrentRow(2);
    EXPECT_EQ(dialog.settings().size, 3);

    ASSERT_EQ(dialog.textureList()->count(), 2) << "the text file is no texture";
    EXPECT_EQ(dialog.textureList()->item(0)->text(), "a");
    EXPECT_EQ(dialog.textureList()->item(1)->text(), QString::fromUtf8("纹理-蓝"));
    // The texture the text has is none of the list's: no row claims to be it.
    EXPECT_EQ(dialog.textureList()->currentRow(), -1);
    EXPECT_TRUE(dialog.settings().textureFile.isEmpty());
    QListWidget* textures = dialog.textureList();
    textures->setCurrentRow(1);
    EXPECT_EQ(dialog.settings().textureFile, QDir(folder.dir.path()).filePath("纹理-蓝.png"));
    EXPECT_EQ(dialog.settings().textureKey, "K1");
}

// Without a texture of its own the text takes the first one shown; the arrow keys choose
// as a click does.
TEST(ArtTextDialog, TheShownTextureIsTheOneTakenAlsoByTheKeys) {
    TextureFolder folder;
    ArtTextDialog dialog(ArtCommand::Settings{}, false, folder.dir.path());
    dialog.effectButton(41)->click();
    QListWidget* textures = dialog.textureList();
    const QDir dir(folder.dir.path());
    EXPECT_EQ(textures->currentRow(), 0);
    EXPECT_EQ(dialog.settings().textureFile, dir.filePath("a.bmp"));
    QTest::keyClick(textures, Qt::Key_Down);
    EXPECT_EQ(textures->currentRow(), 1);
    EXPECT_EQ(dialog.settings().textureFile, dir.filePath("纹理-蓝.png"));
    QTest::keyClick(textures, Qt::Key_Up);
    EXPECT_EQ(dialog.settings().textureFile, dir.filePath("a.bmp"));
}

TEST(ArtTextDialog, ConvertedTextOffersOnlyOutlineEffects) {
    TextureFolder folder;
    ArtTextDialog dialog(ArtCommand::Settings{}, true, folder.dir.path());
    EXPECT_TRUE(dialog.moreEffects()->isHidden());
    for (int effect : {0, 1, 2, 3, 4, 5, 6, 7, 40, 41})
        EXPECT_NE(dialog.effectButton(effect), nullptr) << effect;
    EXPECT_EQ(dialog.effectButton(8), nullptr);
}

TEST(ArtTextDialog, TextureNamesDropTheirExtension) {
    const struct {
        const char* file;
        const char* name;
    } cases[] = {{"纹理-木纹.png", "纹理-木纹"}, {"a.bmp", "a"}, {".bmp", ".bmp"}, {"ab", "ab"}, {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(ArtTextDialog::textureName(QString::fromUtf8(c.file)), QString::fromUtf8(c.name)) << c.file;
    EXPECT_TRUE(ArtTextDialog::textureFiles("/nonexistent-folder-for-art-test").isEmpty());
}

}  // namespace
