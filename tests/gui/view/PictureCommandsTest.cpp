#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedMessages.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/Twips.h"
#include "core/document/CPatDoc.h"
#include "core/pictures/PictureDescription.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"
#include "gui/view/PictureCommands.h"

using namespace pemo;

namespace {

class PictureCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        doc.newDocument();
        view = std::make_unique<CPatView>(doc);
        view->resize(600, 800);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->showCurrentRecord();
        canvas = view->canvas();
        commands = std::make_unique<PictureCommands>(*view, view.get());
        commands->addTo(&menu);
    }
    InfoRecord& record() { return *doc.currentRecord(); }

    QString pictureFile(const char* name, int w, int h, QColor colour = Qt::red) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(QString::fromLatin1(name));
        image.save(path);
        return path;
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers) {
        QMouseEvent event(type, QPointF(at), QPointF(canvas->mapToGlobal(at)), button, buttons,
                          modifiers);
        QApplication::sendEvent(canvas, &event);
    }
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
        for (int i = 1; i <= 4; ++i) {
            mouse(QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, Qt::LeftButton,
                  modifiers);
        }
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    PictureBlock* lastPicture() {
        return record().blocks.empty() ? nullptr
                                       : dynamic_cast<PictureBlock*>(record().blocks.back().get());
    }

    QTemporaryDir dir;
    CPatDoc doc;
    std::unique_ptr<CPatView> view;
    CPatCanvas* canvas = nullptr;
    QMenu menu;
    std::unique_ptr<PictureCommands> commands;
    test::ScriptedMessages messages;
};

}  // namespace

TEST_F(PictureCommandsTest, PlacesAnInsertedPictureMirroredAndInProportionInOneUndoStep) {
    commands->insertPictureFile(pictureFile("wide.png", 40, 20));
    EXPECT_EQ(view->armedTool(), BlockKind::InsertedPicture);
    commands->updateStates();
    EXPECT_TRUE(commands->action(PictureCommands::kInsertPicture)->isChecked());
    // Dragged leftwards with Shift: mirrored, and twice as wide as high.
    drag(QPoint(300, 100), QPoint(100, 300), Qt::ShiftModifier);
    PictureBlock* block = lastPicture();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->kind, BlockKind::InsertedPicture);
    EXPECT_TRUE(block->selected);
    EXPECT_EQ(block->aspectMode, 1);
    EXPECT_GT(block->placementDrag[0], block->placementDrag[2]);
    EXPECT_NEAR(double(block->sizeWidth) / block->sizeHeight, 2.0, 0.05);
    EXPECT_TRUE(doc.images.contains(block->pictureKey()));
    EXPECT_EQ(view->armedTool(), BlockKind::SelectionTool);
    EXPECT_TRUE(doc.isModified());

    // A corner drag keeps the proportions.
    const auto device = [&](QPoint t) {
        return QPoint(toDevice(t.x(), view->pixelsPerInch(), view->zoom()),
                      toDevice(t.y(), view->pixelsPerInch(), view->zoom()));
    };
    drag(device(block->corners().p3), device(block->corners().p3) + QPoint(60, 10));
    EXPECT_NEAR(double(block->sizeWidth) / block->sizeHeight, 2.0, 0.05);
    // The rotation grip turns it.
    drag(device(block->corners().p2), device(block->corners().p0) + QPoint(0, -80));
    EXPECT_LT(block->corners().p2.y(), block->corners().p0.y() - 100);

    record().undo();
    record().undo();
    record().undo();
    EXPECT_TRUE(record().blocks.empty());
}

TEST_F(PictureCommandsTest, AClickPlacesThePictureAtItsSizeUnmirrored) {
    commands->insertPictureFile(pictureFile("click.png", 40, 20));
    mouse(QEvent::MouseButtonPress, QPoint(200, 200), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    mouse(QEvent::MouseButtonRelease, QPoint(200, 200), Qt::LeftButton, Qt::NoButton,
          Qt::NoModifier);
    PictureBlock* block = lastPicture();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->placementDrag, (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_GT(block->sizeWidth, block->sizeHeight);
}

TEST_F(PictureCommandsTest, LogosAndTheProductPictureFollowTheRecord) {
    commands->insertLogo(PictureCommands::kLogo2);
    EXPECT_EQ(view->armedTool(), BlockKind::Logo2);
    drag(QPoint(50, 50), QPoint(150, 100));
    ASSERT_NE(lastPicture(), nullptr);
    EXPECT_EQ(lastPicture()->kind, BlockKind::Logo2);

    // The record has a product picture before the block is placed; the block shows it.
    record().setProductPicture(
        PictureDescription::ofFile(pictureFile("p.png", 10, 10), PictureDescription::LibraryPicture,
                                   QByteArray(), "p"),
        doc.images);
    ASSERT_FALSE(record().productPicture.isEmpty());
    commands->insertProductPicture();
    drag(QPoint(100, 200), QPoint(300, 400));
    PictureBlock* product = lastPicture();
    ASSERT_NE(product, nullptr);
    EXPECT_EQ(product->pictureKey(), record().productPicture);
    commands->updateStates();
    EXPECT_FALSE(commands->action(PictureCommands::kProductPicture)->isEnabled());
    // A new picture for the record (the grid's picture cell) goes to the block.
    ASSERT_TRUE(record().setProductPicture(
        PictureDescription::ofFile(pictureFile("q.png", 10, 10, Qt::blue),
                                   PictureDescription::LibraryPicture, QByteArray(), "q"),
        doc.images));
    EXPECT_EQ(product->pictureKey(), record().productPicture);
    record().setProductPicture(PictureDescription(), doc.images);
    EXPECT_TRUE(product->pictureKey().isEmpty());
}

TEST_F(PictureCommandsTest, AFileThatIsNoPictureIsRefusedWithAMessage) {
    const QString path = dir.filePath("notes.png");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    commands->insertPictureFile(path);
    EXPECT_EQ(messages.informed.size(), 1);
    EXPECT_EQ(view->armedTool(), BlockKind::SelectionTool);
    EXPECT_FALSE(canvas->pictureInput().armed());
    EXPECT_EQ(doc.images.size(), 0);
}
