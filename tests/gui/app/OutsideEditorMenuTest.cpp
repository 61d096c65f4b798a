#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "FakeEditors.h"
#include "ScriptedMessages.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/Twips.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/EditCommands.h"
#include "core/pictures/OutsideEditors.h"
#include "core/pictures/PictureDescription.h"
#include "core/pictures/PictureEdit.h"
#include "gui/common/EditWaitDialog.h"
#include "gui/common/OutsideEditorMenu.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"

using namespace pemo;
using pemo::test::FakeEditors;
using pemo::test::waitUntil;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program's editor table on settings of the test's own, looked up afresh.
struct InstalledEditors {
    InstalledEditors() { OutsideEditors::install(&editors); }
    ~InstalledEditors() { OutsideEditors::install(nullptr); }
    QTemporaryDir dir;
    QSettings settings{dir.filePath(QStringLiteral("editors.ini")), QSettings::IniFormat};
    OutsideEditors editors{settings};
};

QString pictureFile(const QTemporaryDir& dir, const char* name) {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString path = dir.filePath(QString::fromLatin1(name));
    image.save(path, "BMP");
    return path;
}

// Runs action on the wait window once it is up (from inside its modal loop).
void onWaitWindow(const std::function<void(EditWaitDialog&)>& action) {
    QTimer::singleShot(0, [action] {
        EditWaitDialog* wait = nullptr;
        waitUntil([&] {
            wait = qobject_cast<EditWaitDialog*>(QApplication::activeModalWidget());
            return wait != nullptr;
        });
        ASSERT_NE(wait, nullptr);
        action(*wait);
    });
}

}  // namespace

// One separator and one item per editor that takes the file, with the place's id; no
// item and no separator when none does.
TEST(OutsideEditorMenu, ItemsPerPlaceAndFile) {
    struct Case {
        QStringList installed;
        const char* file;
        EditorPlace place;
        QStringList texts;  // "-" for a separator
        QList<int> ids;
    };
    const QList<Case> cases = {
        {{"gimp", "inkscape"},
         "/lib/a.jpg",
         EditorPlace::BackgroundPanel,
         {"-", "GIMP", "-", "Inkscape"},
         {34451, 34452}},
        {{"gimp", "inkscape"}, "/lib/a.wmf", EditorPlace::PicturePanel, {"-", "Inkscape"}, {34462}},
        {{"gimp", "krita"},
         "/lib/a.bmp",
         EditorPlace::Canvas,
         {"-", "GIMP", "-", "Krita"},
         {34471, 34474}},
        {{"gimp"}, "/lib/a.emf", EditorPlace::Canvas, {}, {}},
        {{}, "/lib/a.jpg", EditorPlace::PicturePanel, {}, {}},
    };
    for (const Case& c : cases) {
        FakeEditors fakes;
        for (const QString& name : c.installed)
            fakes.addRecorder(name);
        InstalledEditors editors;
        QMenu menu;
        menu.addAction(QStringLiteral("增加图片"));
        addEditorItems(&menu, QString::fromLatin1(c.file), c.place, [](EditorSlot) {});
        QStringList texts;
        QList<int> ids;
        for (QAction* a : menu.actions().mid(1)) {
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
            if (!a->isSeparator())
                ids << a->data().toInt();
        }
        EXPECT_EQ(texts, c.texts) << c.file;
        EXPECT_EQ(ids, c.ids) << c.file;
    }
}

// A library file edited through the wait window: 完成 takes a change back and tells the
// panel; 取消 throws it away after asking; a second edit meanwhile is refused.
TEST(OutsideEditorMenu, WaitWindowDoneAndCancel) {
    struct Case {
        const char* name;
        bool cancel;
        bool changed;
    };
    const Case cases[] = {
        {"done after the handed-over editor saved", false, true},
        {"cancelled after it saved", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEditors fakes;
        fakes.addLauncher("gimp");
        InstalledEditors editors;
        test::ScriptedMessages messages{Messages::Answer::Yes};
        QTemporaryDir dir;
        const QString file = pictureFile(dir, "背景 1.bmp");
        const QByteArray original = readAll(file);
        bool refused = false;
        onWaitWindow([&](EditWaitDialog& wait) {
            EXPECT_TRUE(wait.isModal());
            refused =
                editInOutsideEditor(nullptr, EditorSlot::Raster, file) == OutsideEditResult::Failed;
            fakes.release("go");
            ASSERT_TRUE(waitUntil([&] {
                return wait.findChild<QLabel*>("editState")->text() ==
                       QString::fromUtf8("图片已改动。");
            }));
            (c.cancel ? wait.cancelButton() : wait.doneButton())->click();
        });
        int afterEdit = 0;
        QMenu menu;
        addEditorItems(&menu, file, EditorPlace::BackgroundPanel, nullptr, [&] { ++afterEdit; });
        ASSERT_EQ(menu.actions().size(), 2);
        menu.actions().at(1)->trigger();
        EXPECT_TRUE(refused);
        ASSERT_FALSE(messages.informed.isEmpty());
        EXPECT_TRUE(messages.informed.front().contains(QString::fromUtf8("正在")));
        EXPECT_EQ(afterEdit, c.changed ? 1 : 0);
        EXPECT_EQ(readAll(file), c.changed ? original + "xy" : original);
        EXPECT_EQ(messages.asked.size(), c.cancel ? 1 : 0);
        EXPECT_FALSE(PictureEdit::isEditing());
    }
}

class CanvasPictureEditTest : public testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        doc.newDocument();
        view = std::make_unique<CPatView>(doc);
        view->resize(600, 800);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->showCurrentRecord();
        const QString path = pictureFile(dir, "商品.bmp");
        auto block = PictureBlock::create(
            BlockKind::InsertedPicture,
            PictureDescription::ofFile(path, PictureDescription::LibraryPicture, "", "商品"),
            doc.images);
        ASSERT_TRUE(block);
        block->setRect(TwipsRect{100, 100, 1500, 1200});
        picture = block.get();
        doc.currentRecord()->appendBlock(std::move(block));
        doc.currentRecord()->selectBlock(picture);
        doc.setModified(false);
        original = readAll(path);
    }

    QTemporaryDir dir;
    CPatDoc doc;
    std::unique_ptr<CPatView> view;
    PictureBlock* picture = nullptr;
    QByteArray original;
    test::ScriptedMessages messages;
};

// A changed picture shows on the page as a stored picture of its own, marks the
// document modified, is saved with the document, and goes back in one undo step.
TEST_F(CanvasPictureEditTest, EditedPictureIsOneUndoStepAndIsSaved) {
    FakeEditors fakes;
    fakes.addAppending("gimp");
    InstalledEditors editors;
    CPatCanvas* canvas = view->canvas();
    ASSERT_EQ(canvas->selectedInsertedPicture(), picture);
    const QByteArray oldKey = picture->pictureKey();

    ASSERT_TRUE(canvas->editSelectedPicture(0)) << messages.informed.join('\n').toStdString();
    const QByteArray newKey = picture->pictureKey();
    EXPECT_NE(newKey, oldKey);
    EXPECT_EQ(doc.images.entry(newKey)->fileBytes(), original + "xy");
    EXPECT_EQ(doc.images.entry(oldKey)->fileBytes(), original);
    EXPECT_EQ(doc.images.entry(newKey)->description().width, 8);
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(DocumentFile::write(doc, false).contains(original + "xy"));

    canvas->runCommand(EditCommand::Undo);
    EXPECT_EQ(doc.currentRecord()->blocks.back()->pictureKey(), oldKey);
}

// Nothing changes on the page when the editor fails or leaves the picture as it was.
TEST_F(CanvasPictureEditTest, FailedOrUnchangedEditLeavesThePage) {
    struct Case {
        const char* name;
        bool broken;
    };
    for (const Case& c : {Case{"editor cannot start", true}, Case{"nothing changed", false}}) {
        SCOPED_TRACE(c.name);
        FakeEditors fakes;
        if (c.broken) {
            fakes.addBroken("gimp");
        } else {
            fakes.addRecorder("gimp");
            onWaitWindow([&](EditWaitDialog& wait) {
                ASSERT_TRUE(waitUntil([&] { return QFile::exists(fakes.file("args")); }));
                wait.cancelButton()->click();
            });
        }
        InstalledEditors editors;
        const QByteArray key = picture->pictureKey();
        const int stored = doc.images.size();
        EXPECT_FALSE(view->canvas()->editSelectedPicture(0));
        EXPECT_EQ(picture->pictureKey(), key);
        EXPECT_EQ(doc.images.size(), stored);
        EXPECT_FALSE(doc.isModified());
        EXPECT_EQ(messages.informed.size(), c.broken ? 1 : 0);
        messages.informed.clear();
    }
}
