#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPainter>

#include "PictureTestSupport.h"
#include "core/codecs/Picture.h"
#include "core/platform/Folders.h"

using namespace pemo;
using namespace pemo::picturetest;

namespace {

constexpr int kPpi = 144;  // 1440 twips are 144 pixels: one pixel is 10 twips

// A page bitmap in grey, so that transparent white shows as grey.
QImage page(int w = 200, int h = 200) {
    QImage image(w, h, QImage::Format_RGB32);
    const int dpm = qRound(kPpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(QColor(128, 128, 128));
    return image;
}

QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }
bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

// Left half red, right half blue, a white square in the top-left quarter.
QImage quarters() {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter p(&image);
    p.fillRect(0, 0, 20, 40, Qt::red);
    p.fillRect(0, 0, 10, 10, Qt::white);
    return image;
}

class PictureBlockDrawing : public testing::Test {
protected:
    void SetUp() override {
        PictureBlock::setDocumentImages(&images);
        key = images.add(describe(savePicture(library, "q.png", quarters())));
        ASSERT_FALSE(key.isEmpty());
    }
    void TearDown() override { PictureBlock::setDocumentImages(nullptr); }

    // An inserted picture 100 × 100 pixels at (50, 50).
    static std::unique_ptr<PictureBlock> block(const QByteArray& k) {
        auto b = std::make_unique<PictureBlock>();
        b->kind = BlockKind::InsertedPicture;
        b->setPictureKey(k);
        b->setRect({500, 500, 1500, 1500});
        return b;
    }
    QImage drawn(PictureBlock& b, bool output = false) {
        QImage image = page();
        QPainter p(&image);
        if (output) {
            b.drawForOutput(p, 1.0, 0, 0, kPpi);
        } else {
            b.draw(p, 0, 1.0, 0, 0);
        }
        return image;
    }

    QTemporaryDir library;
    PictureStore images;
    QByteArray key;
};

}  // namespace

TEST_F(PictureBlockDrawing, StretchedMirroredByTheDragAndWhiteTransparent) {
    struct Case {
        std::array<int32_t, 4> drag;
        QColor leftTop, rightTop, leftBottom;
    };
    const QColor grey(128, 128, 128);
    const Case cases[] = {
        // Not placed by a drag, or dragged down and right: as the file is.
        {{0, 0, 0, 0}, grey, Qt::blue, Qt::red},
        {{10, 10, 90, 90}, grey, Qt::blue, Qt::red},
        // A click kept as a drag that ends where it starts: as the file is.
        {{70, 40, 70, 40}, grey, Qt::blue, Qt::red},
        // Dragged straight down: mirrored left to right only.
        {{50, 10, 50, 90}, Qt::blue, grey, Qt::blue},
        // Dragged leftwards: mirrored left to right.
        {{90, 10, 10, 90}, Qt::blue, grey, Qt::blue},
        // Dragged up and left: turned upside down and mirrored.
        {{90, 90, 10, 10}, Qt::blue, Qt::red, Qt::blue},
    };
    for (const Case& c : cases) {
        auto b = block(key);
        b->placementDrag = c.drag;
        for (bool output : {false, true}) {
            const QImage image = drawn(*b, output);
            EXPECT_TRUE(near(at(image, 60, 60), c.leftTop)) << c.drag[0] << " " << output;
            EXPECT_TRUE(near(at(image, 140, 60), c.rightTop)) << c.drag[0];
            EXPECT_TRUE(near(at(image, 60, 140), c.leftBottom)) << c.drag[0];
            EXPECT_EQ(at(image, 40, 40), grey);  // outside the frame
        }
    }
}

TEST_F(PictureBlockDrawing, MirroringIsKeptAfterMovingResizingAndRotating) {
    auto b = block(key);
    b->placementDrag = {90, 10, 10, 90};
    b->moveBy(100, 0);
    b->setCorners(BlockHandle::BottomRight, {600, 500}, {600, 1500}, {1600, 500}, {1600, 1500});
    QImage image = drawn(*b);
    EXPECT_TRUE(near(at(image, 70, 60), Qt::blue));   // the right half now on the left
    EXPECT_TRUE(near(at(image, 150, 140), Qt::red));
    // A quarter turn counterclockwise: p2 straight above p0.
    b->rotateTowards(600, 0);
    image = drawn(*b);
    // The turned picture's box starts at the frame's top-left corner.
    EXPECT_NEAR(b->frame.left, 600, 1);
    EXPECT_NEAR(b->frame.top, -500, 1);
    EXPECT_EQ(b->placementDrag, (std::array<int32_t, 4>{90, 10, 10, 90}));
}

TEST_F(PictureBlockDrawing, RotatedPictureKeepsItsColoursAndLeavesTheRestUncovered) {
    auto b = block(key);
    b->rotateTowards(1500, 0);  // 45 degrees
    const QImage image = drawn(*b);
    // The frame's corners lie outside the turned picture: the page shows there.
    const QColor grey(128, 128, 128);
    const int left = b->frame.left / 10, top = b->frame.top / 10;
    const int right = b->frame.right / 10 - 1, bottom = b->frame.bottom / 10 - 1;
    EXPECT_EQ(at(image, std::max(0, left + 1), std::max(0, top + 1)), grey);
    EXPECT_EQ(at(image, std::min(199, right - 1), std::min(199, bottom - 1)), grey);
    // Its middle is covered with the picture's colours.
    EXPECT_TRUE(near(at(image, (left + right) / 2 - 8, (top + bottom) / 2 + 8), Qt::red));
    EXPECT_TRUE(near(at(image, (left + right) / 2 + 8, (top + bottom) / 2 - 8), Qt::blue));
}

TEST_F(PictureBlockDrawing, FaultyKeysAndSizesDrawNothingButGrips) {
    const QImage blank = page();
    {
        auto b = block("no-such-key");
        b->selected = true;
        b->rebuildHandles(true);
        QImage image = page();
        QPainter p(&image);
        b->draw(p, DrawFlag::SelectionTool, 1.0, 0, 0);
        p.end();
        EXPECT_EQ(at(image, 100, 100), QColor(128, 128, 128));
        EXPECT_EQ(at(image, 50, 50), QColor(0, 0, 128));  // the grip at p0
        EXPECT_EQ(b->naturalSize(), QSize(0, 0));
    }
    for (const TwipsRect rect : {TwipsRect{500, 500, 500, 1500}, TwipsRect{500, 500, 400, 1500}}) {
        auto b = block(key);
        b->setRect(rect);
        EXPECT_EQ(drawn(*b), blank);
    }
    // A picture larger than any page is drawn clipped, quickly, without a whole bitmap.
    auto huge = block(key);
    huge->setRect({0, 0, 2000000000, 2000000000});
    huge->rotateTowards(2000000000, 1999999000);
    QElapsedTimer timer;
    timer.start();
    drawn(*huge);
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST_F(PictureBlockDrawing, AlphaChannelIsKept) {
    QImage translucent(10, 10, QImage::Format_ARGB32);
    translucent.fill(Qt::transparent);
    QPainter(&translucent).fillRect(0, 0, 5, 10, Qt::red);
    const QByteArray alphaKey = images.add(describe(savePicture(library, "a.png", translucent)));
    auto b = block(alphaKey);
    const QImage image = drawn(*b);
    EXPECT_TRUE(near(at(image, 70, 100), Qt::red));
    EXPECT_EQ(at(image, 130, 100), QColor(128, 128, 128));
}

// A metafile a drawing program wrote (100 × 60 px: a red circle left, a blue square
// right with a green frame on it), stretched over the block on screen and in output.
TEST_F(PictureBlockDrawing, DrawingProgramsMetafilesFillTheBlock) {
    for (const char* name : {"inkscape-shapes.wmf", "inkscape-shapes.emf"}) {
        const QString path = QStringLiteral(PEMO_TEST_DATA "/metafiles/") + QLatin1String(name);
        const QByteArray metafileKey = images.add(describe(path));
        ASSERT_FALSE(metafileKey.isEmpty()) << name;
        auto b = block(metafileKey);
        for (bool output : {false, true}) {
            const QImage image = drawn(*b, output);
            EXPECT_TRUE(near(at(image, 75, 100), Qt::red)) << name << output;
            EXPECT_TRUE(near(at(image, 112, 100), Qt::green)) << name << output;
            EXPECT_TRUE(near(at(image, 120, 100), Qt::blue)) << name << output;
            EXPECT_EQ(at(image, 52, 55), QColor(128, 128, 128)) << name << output;
        }
    }
}

TEST_F(PictureBlockDrawing, LogosAndPlaceholderComeFromTheProgramFolderByWhetherTheyLoad) {
    const QString folder = programFolder();
    const auto remove = [&] {
        for (const char* name : {"PemLogo1.wmf", "PemLogo1.bmp", "PemProd.wmf", "PemProd.bmp"}) {
            QFile::remove(folder + "/" + name);
        }
    };
    remove();
    auto logo = block(QByteArray());
    logo->kind = BlockKind::Logo1;
    EXPECT_EQ(drawn(*logo), page());  // neither file: grips only

    // A ".wmf" that does not load gives way to the ".bmp".
    ASSERT_TRUE(writeFile(folder + "/PemLogo1.wmf", "not a metafile"));
    ASSERT_TRUE(filled(8, 8, Qt::green).save(folder + "/PemLogo1.bmp", "BMP"));
    EXPECT_TRUE(near(at(drawn(*logo), 100, 100), Qt::green));
    EXPECT_EQ(logo->naturalSize(), QSize(8, 8));
    // A ".wmf" that loads wins, on the next draw.
    ASSERT_TRUE(writeFile(folder + "/PemLogo1.wmf", redSquareWmf()));
    const QImage withWmf = drawn(*logo);
    EXPECT_TRUE(near(at(withWmf, 100, 100), Qt::red));
    EXPECT_EQ(at(withWmf, 55, 55), QColor(128, 128, 128));  // its white is transparent
    EXPECT_EQ(drawn(*logo, true), withWmf);

    // The product picture without a picture: the placeholder on the screen only.
    ASSERT_TRUE(filled(8, 8, Qt::yellow).save(folder + "/PemProd.bmp", "BMP"));
    auto product = block(QByteArray());
    product->kind = BlockKind::ProductPicture;
    EXPECT_TRUE(near(at(drawn(*product), 100, 100), Qt::yellow));
    EXPECT_EQ(drawn(*product, true), page());
    // With a picture it shows the picture everywhere.
    const QString file = savePicture(library, "c.bmp", filled(4, 4, Qt::cyan));
    const QByteArray productKey = product->setProductPicture(describe(file), images);
    EXPECT_EQ(productKey, product->pictureKey());
    EXPECT_FALSE(productKey.isEmpty());
    EXPECT_TRUE(near(at(drawn(*product, true), 100, 100), Qt::cyan));
    EXPECT_TRUE(product->setProductPicture(PictureDescription(), images).isEmpty());
    remove();
}

TEST_F(PictureBlockDrawing, ABlockIsNotPlacedWhenItsPictureCannotBeCopied) {
    PictureDescription missing = describe(library.filePath("gone.bmp"));
    EXPECT_EQ(PictureBlock::create(BlockKind::InsertedPicture, missing, images), nullptr);
    EXPECT_NE(PictureBlock::create(BlockKind::Logo2, PictureDescription(), images), nullptr);
    EXPECT_NE(PictureBlock::create(BlockKind::ProductPicture, PictureDescription(), images),
              nullptr);
}
