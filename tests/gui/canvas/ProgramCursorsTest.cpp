#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>

#include "gui/canvas/ProgramCursors.h"

using namespace pemo;

// Each of the program's own cursors is its picture (not a system fallback), with its hot
// spot on the picture's cross or inside its ring.
TEST(ProgramCursors, EachCursorIsItsOwnPictureWithItsHotSpot) {
    struct Case {
        const char* name;
        QCursor cursor;
        QPoint hotSpot;
        bool hotSpotInked;  // the cross's centre is drawn; the rotation ring's is not
    };
    const Case cases[] = {
        {"text", ProgramCursors::text(), {8, 8}, true},
        {"graphic", ProgramCursors::graphic(), {8, 8}, true},
        {"picture", ProgramCursors::picture(), {8, 8}, true},
        {"point", ProgramCursors::point(), {8, 8}, true},
        {"rotation", ProgramCursors::rotation(), {16, 16}, false},
    };
    const QString keep = qEnvironmentVariable("PEMO_KEEP_IMAGES");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.cursor.shape(), Qt::BitmapCursor);
        const QImage image = c.cursor.pixmap().toImage();
        ASSERT_EQ(image.size(), QSize(32, 32));
        EXPECT_EQ(c.cursor.hotSpot(), c.hotSpot);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(inked, 40);
        EXPECT_EQ(qAlpha(image.pixel(c.hotSpot)) > 128, c.hotSpotInked);
        if (!keep.isEmpty()) image.save(QDir(keep).filePath(QStringLiteral("cursor-%1.png").arg(c.name)));
    }
}
