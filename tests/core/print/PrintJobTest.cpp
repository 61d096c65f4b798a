#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "PrintFixtures.h"
#include "core/print/PrintJob.h"

namespace pemo {

using test::addTwoColourBackground;
using test::makeDocument;

namespace {

constexpr int kDpi = 50;

// The printable area of a 200 × 287 mm sheet rendered at kDpi.
QImage renderSheet(PrintJob& job, int page, bool direct) {
    QImage image(200 * kDpi * 10 / 254, 287 * kDpi * 10 / 254, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(kDpi / 0.0254));
    image.setDotsPerMeterY(qRound(kDpi / 0.0254));
    image.fill(Qt::white);
    job.setDirectOutput(direct);
    QPainter painter(&image);
    job.renderPage(painter, page);
    return image;
}

QColor at(const QImage& image, double xMm, double yMm) {
    return image.pixelColor(static_cast<int>(xMm * kDpi / 25.4), static_cast<int>(yMm * kDpi / 25.4));
}

}  // namespace

// Signs are drawn where the layout puts them: centred, turned, or cut into tiles, in
// bands for printers and straight onto vector devices alike.
TEST(PrintJob, SignsLandWhereTheLayoutSays) {
    const QColor red(Qt::red), blue(Qt::blue), white(Qt::white);
    const struct {
        QSize signMm;
        int mode;
        int page;
        struct Probe {
            double x, y;
            QColor colour;
        } probes[3];
    } cases[] = {
        // 100 × 100 centred at (50, 93.5): red above 143.5 mm, blue below.
        {{100, 100}, PrintMode::ByItemWithBackground, 1, {{100, 110, red}, {100, 180, blue}, {20, 20, white}}},
        {{100, 100}, PrintMode::ByItemWithoutBackground, 1, {{100, 110, white}, {100, 180, white}, {20, 20, white}}},
        // 280 × 190 turned clockwise at full size: its top (red) runs down the right half.
        {{280, 190}, PrintMode::ByItemWithBackground, 1, {{150, 143, red}, {50, 143, blue}, {100, 1, white}}},
        // Tile 2 of 400 × 580: the sign's top, all red, x from 190 mm on.
        {{400, 580}, PrintMode::Tile, 2, {{5, 5, red}, {195, 280, red}, {100, 150, red}}},
        // Tile 7 (first column, third row): the sign's last 26 mm, then white paper.
        {{400, 580}, PrintMode::Tile, 7, {{100, 10, blue}, {100, 40, white}, {195, 20, blue}}},
    };
    for (const auto& c : cases) {
        const auto doc = makeDocument({{c.signMm.width(), c.signMm.height(), 1}});
        addTwoColourBackground(*doc, *doc->records[0], red, blue);
        PrintJob job(*doc);
        PrintSettings settings;
        settings.mode = c.mode;
        ASSERT_TRUE(job.prepare(settings));
        for (const bool direct : {false, true}) {
            const QImage image = renderSheet(job, c.page, direct);
            for (const auto& probe : c.probes) {
                EXPECT_EQ(at(image, probe.x, probe.y), probe.colour)
                    << "mode " << c.mode << " page " << c.page << (direct ? " direct" : " bands")
                    << " at " << probe.x << "," << probe.y;
            }
        }
    }
}

TEST(PrintJob, BandsAndDirectDrawingAgree) {
    const auto doc = makeDocument({{90, 120, 3}});
    addTwoColourBackground(*doc, *doc->records[0], Qt::green, Qt::yellow);
    PrintJob job(*doc);
    PrintSettings settings;
    settings.mode = PrintMode::Merge;
    ASSERT_TRUE(job.prepare(settings));
    const QImage bands = renderSheet(job, 1, false);
    const QImage direct = renderSheet(job, 1, true);
    ASSERT_EQ(bands.size(), direct.size());
    int differing = 0;
    for (int y = 0; y < bands.height(); ++y) {
        for (int x = 0; x < bands.width(); ++x) differing += bands.pixel(x, y) != direct.pixel(x, y);
    }
    // Edges may round differently by a pixel.
    EXPECT_LT(differing, bands.width() * bands.height() / 100);
    // The fourth cell of the 2 × 2 grid stays empty with three copies.
    EXPECT_EQ(at(bands, 150, 200), QColor(Qt::white));
    EXPECT_EQ(at(bands, 50, 250), QColor(Qt::yellow));
}

}  // namespace pemo

namespace pemo {

// A long job keeps only the backgrounds of the page in hand decoded; one it found
// decoded already (the view's) stays.
TEST(PrintJob, FreesTheBackgroundsItDecodedOncePagesMoveOn) {
    const auto doc = makeDocument({{50, 50, 1}, {50, 50, 1}, {50, 50, 1}});
    for (const auto& record : doc->records) test::addTwoColourBackground(*doc, *record, Qt::red, Qt::blue);
    const auto decoded = [&] {
        std::vector<bool> result;
        for (const auto& record : doc->records) result.push_back(doc->backgrounds.entry(record->background.key)->isDecoded());
        return result;
    };
    doc->backgrounds.find(doc->records[2]->background.key);
    {
        PrintJob job(*doc);
        PrintSettings settings;
        ASSERT_TRUE(job.prepare(settings));
        renderSheet(job, 1, true);
        EXPECT_EQ(decoded(), (std::vector<bool>{true, false, true}));
        renderSheet(job, 2, true);
        EXPECT_EQ(decoded(), (std::vector<bool>{false, true, true}));
        const QImage third = renderSheet(job, 3, false);
        EXPECT_EQ(at(third, 100, 140), QColor(Qt::red));
    }
    EXPECT_EQ(decoded(), (std::vector<bool>{false, false, true}));
}

}  // namespace pemo
