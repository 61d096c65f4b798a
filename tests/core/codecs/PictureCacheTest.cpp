// Pictures are decoded when drawn, at the size drawn, and kept decoded only in the
// program's cache, which never holds more than its budget.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "core/codecs/Picture.h"
#include "core/codecs/PictureCache.h"

using namespace pemo;

namespace {

// A side × side JPEG: left half red, right half blue.
QByteArray halvesJpeg(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, side / 2, side, Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

QImage drawn(const Picture& picture, QSize canvas, const QRect& target, double scale = 1) {
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    picture.drawWhiteTransparent(painter, target);
    return image;
}

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
           std::abs(qBlue(a) - qBlue(b)) < 40;
}

class PictureCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        PictureCache::shared().setBudget(PictureCache::kBudgetBytes);
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override { PictureCache::shared().setBudget(PictureCache::kBudgetBytes); }

    QString jpegFile(const QString& name, int side) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(halvesJpeg(side));
        return path;
    }

    QTemporaryDir dir_;
};

}  // namespace

// A photo drawn small costs a bitmap of the size drawn (also through a scaled painter),
// not one of its own size; its bitmap in full is what image() gives.
TEST_F(PictureCacheTest, JpegIsDecodedAtTheSizeDrawn) {
    const Picture picture = Picture::fromFile(jpegFile("big.jpg", 1600));
    ASSERT_EQ(picture.size(), QSize(1600, 1600));
    struct Case {
        const char* name;
        QRect target;
        double scale;
        qint64 mostBytes;
    };
    const Case cases[] = {
        {"drawn 100 wide", QRect(0, 0, 100, 100), 1, 100 * 100 * 4},
        {"mirrored", QRect(100, 0, -100, 100), 1, 100 * 100 * 4},
        {"scaled painter", QRect(0, 0, 400, 400), 0.25, 100 * 100 * 4},
        {"wider than itself", QRect(-1550, 0, 3200, 100), 1, 1600 * 1600 * 4},
    };
    for (const Case& c : cases) {
        const qint64 before = PictureCache::shared().bytes();
        const QImage image = drawn(picture, QSize(100, 100), c.target, c.scale);
        EXPECT_LE(PictureCache::shared().bytes() - before, c.mostBytes) << c.name;
        const bool mirrored = c.target.width() < 0;
        EXPECT_TRUE(near(image.pixel(20, 50), mirrored ? qRgb(0, 0, 255) : qRgb(255, 0, 0))) << c.name;
        EXPECT_TRUE(near(image.pixel(80, 50), mirrored ? qRgb(255, 0, 0) : qRgb(0, 0, 255))) << c.name;
    }
    EXPECT_EQ(picture.image().size(), QSize(1600, 1600));
}

// Drawing a hundred photos one after another keeps no more than the budget decoded.
TEST_F(PictureCacheTest, ManyPicturesStayWithinTheBudget) {
    constexpr qint64 kBudget = qint64(4) << 20;
    PictureCache::shared().setBudget(kBudget);
    const QString path = jpegFile("one.jpg", 600);
    std::vector<Picture> pictures;
    for (int i = 0; i < 100; ++i) pictures.push_back(Picture::fromFile(path));
    for (const Picture& p : pictures) {
        drawn(p, QSize(300, 300), QRect(0, 0, 300, 300));
        EXPECT_LE(PictureCache::shared().bytes(), kBudget);
    }
    EXPECT_GT(PictureCache::shared().count(), 1);
}

TEST_F(PictureCacheTest, SameRequestGetsTheSameBitmapUntilThePictureGoes) {
    int decodes = 0;
    const auto decode = [&] {
        ++decodes;
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(Qt::green);
        return image;
    };
    PictureCache& cache = PictureCache::shared();
    const quint64 id = PictureCache::newPictureId();
    const QImage first = cache.image(id, QSize(10, 10), false, decode);
    EXPECT_EQ(cache.image(id, QSize(10, 10), false, decode).cacheKey(), first.cacheKey());
    cache.image(id, QSize(10, 10), true, decode);
    cache.image(id, QSize(5, 5), false, decode);
    EXPECT_EQ(decodes, 3);
    cache.forget(id);
    cache.image(id, QSize(10, 10), false, decode);
    EXPECT_EQ(decodes, 4);
    // A bitmap that cannot be made is asked for again next time.
    const quint64 broken = PictureCache::newPictureId();
    EXPECT_TRUE(cache.image(broken, QSize(1, 1), false, [] { return QImage(); }).isNull());
    EXPECT_EQ(cache.image(broken, QSize(1, 1), false, decode).size(), QSize(10, 10));
    cache.forget(id);
    cache.forget(broken);
}
