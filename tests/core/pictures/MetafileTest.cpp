#include <gtest/gtest.h>

#include <QPainter>

#include "PictureTestSupport.h"
#include "core/codecs/Metafile.h"
#include "core/codecs/Picture.h"

using namespace pemo;
using namespace pemo::picturetest;

// Both metafile types are drawn as vectors at the size they are given: the square's
// edges stay sharp however large, and the white around it stays transparent.
TEST(Metafile, WmfAndEmfDrawnAtTheOutputsResolution) {
    struct Case {
        const char* extension;
        QByteArray bytes;
    };
    for (const Case& c : {Case{"wmf", redSquareWmf()}, Case{"emf", redSquareEmf()}}) {
        const Picture picture = Picture::fromData(c.bytes, QString::fromLatin1(c.extension));
        ASSERT_FALSE(picture.isNull()) << c.extension;
        EXPECT_TRUE(picture.isVector());
        // 26.46 mm on a 96 dpi screen.
        EXPECT_EQ(picture.size(), QSize(100, 100)) << c.extension;
        for (int side : {100, 1000}) {
            QImage image(side, side, QImage::Format_RGB32);
            image.fill(QColor(128, 128, 128));
            {
                QPainter p(&image);
                picture.drawWhiteTransparent(p, QRect(0, 0, side, side));
            }
            const int q = side / 4;
            EXPECT_EQ(image.pixelColor(side / 2, side / 2), QColor(Qt::red)) << c.extension << side;
            EXPECT_EQ(image.pixelColor(q / 2, q / 2), QColor(128, 128, 128)) << c.extension;
            if (side == 1000) {
                EXPECT_EQ(image.pixelColor(q - 8, side / 2), QColor(128, 128, 128)) << c.extension;
                EXPECT_EQ(image.pixelColor(q + 8, side / 2), QColor(Qt::red)) << c.extension;
            }
        }
    }
}

TEST(Metafile, DamagedMetafilesGiveNoPicture) {
    const QByteArray wmf = redSquareWmf();
    const QByteArray emf = redSquareEmf();
    for (const auto& [bytes, ext] : {std::pair{QByteArray("junk"), "wmf"}, std::pair{QByteArray(), "emf"},
                                      std::pair{wmf.left(30), "wmf"}, std::pair{emf.left(60), "emf"},
                                      std::pair{emf, "wmf"}}) {
        EXPECT_TRUE(Picture::fromData(bytes, QString::fromLatin1(ext)).isNull()) << ext << bytes.size();
    }
}
