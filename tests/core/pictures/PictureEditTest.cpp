#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "FakeEditors.h"
#include "core/pictures/PictureEdit.h"

using namespace pemo;
using pemo::test::FakeEditors;
using pemo::test::waitUntil;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

// A picture file in a folder of its own, and a working folder for the edit.
struct EditFixture {
    explicit EditFixture(const QString& folderName = QStringLiteral("work")) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::blue);
        source = dir.filePath(QStringLiteral("photo.bmp"));
        image.save(source, "BMP");
        original = readAll(source);
        working = dir.filePath(folderName);
        QDir().mkpath(working);
        edit.setWorkingFolder(working);
    }
    QString copyPath() const { return working + QString::fromUtf8("/图象编辑.bmp"); }

    QTemporaryDir dir;
    QString source;
    QString working;
    QByteArray original;
    PictureEdit edit;
};

}  // namespace

// The source changes only when the editor ran and changed the copy, and only through
// 完成; the copy is gone afterwards whatever happened.
TEST(PictureEdit, TakesTheCopyBackOnlyWhenChanged) {
    enum class Editor { Appending, Recorder, Launcher };
    struct Case {
        const char* name;
        Editor editor;
        bool cancel;
        PictureEdit::Outcome outcome;
        bool endedAfterChange;
    };
    using O = PictureEdit::Outcome;
    const Case cases[] = {
        {"edited and closed", Editor::Appending, false, O::Updated, true},
        {"closed without a change", Editor::Recorder, false, O::Unchanged, false},
        {"edited, then cancelled", Editor::Appending, true, O::Unchanged, true},
        {"handed to a running editor", Editor::Launcher, false, O::Updated, false},
        {"handed over, then cancelled", Editor::Launcher, true, O::Unchanged, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEditors fakes;
        const QString editor = c.editor == Editor::Appending  ? fakes.addAppending("gimp")
                               : c.editor == Editor::Recorder ? fakes.addRecorder("gimp")
                                                              : fakes.addLauncher("gimp");
        EditFixture f;
        ASSERT_TRUE(f.edit.start(editor, f.source)) << f.edit.errorText().toStdString();
        EXPECT_TRUE(PictureEdit::isEditing());
        ASSERT_TRUE(waitUntil([&] { return !f.edit.editorRunning(); }));
        EXPECT_EQ(f.edit.endedAfterChange(), c.endedAfterChange);
        if (c.editor == Editor::Launcher) {
            // The launcher has ended, but the edit has not: the copy is still there.
            EXPECT_TRUE(f.edit.isWaiting());
            EXPECT_TRUE(QFileInfo::exists(f.copyPath()));
            EXPECT_FALSE(f.edit.hasChanged());
            fakes.release("go");
            ASSERT_TRUE(waitUntil([&] { return f.edit.hasChanged(); }));
        }
        PictureEdit::Outcome outcome = O::Unchanged;
        if (c.cancel) {
            f.edit.cancel();
        } else {
            outcome = f.edit.finish();
        }
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(readAll(f.source), c.outcome == O::Updated ? f.original + "xy" : f.original);
        EXPECT_FALSE(QFileInfo::exists(f.copyPath()));
        EXPECT_FALSE(PictureEdit::isEditing());
        if (c.editor == Editor::Launcher) {
            fakes.release("go");
            waitUntil([&] { return QFileInfo::exists(fakes.file("done")); });
        }
    }
}

// Nothing is started, written or left behind when the edit cannot begin; a copy left by
// an earlier edit is replaced, never taken back.
TEST(PictureEdit, RefusedStartsChangeNothing) {
    enum class Setup { BrokenEditor, MissingSource, StaleCopyFolder, SecondEdit };
    struct Case {
        const char* name;
        Setup setup;
    };
    const Case cases[] = {
        {"the editor cannot be started", Setup::BrokenEditor},
        {"the source is missing", Setup::MissingSource},
        {"an old copy cannot be removed", Setup::StaleCopyFolder},
        {"another edit is running", Setup::SecondEdit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEditors fakes;
        const QString recorder = fakes.addRecorder("inkscape");
        const QString editor = c.setup == Setup::BrokenEditor ? fakes.addBroken("gimp") : recorder;
        EditFixture f;
        EditFixture other(QStringLiteral("other"));
        QString source = f.source;
        if (c.setup == Setup::MissingSource)
            source = f.dir.filePath("gone.bmp");
        if (c.setup == Setup::StaleCopyFolder) {
            QDir().mkpath(f.copyPath());
            writeAll(f.copyPath() + "/inside", "x");
        }
        if (c.setup == Setup::SecondEdit) {
            ASSERT_TRUE(other.edit.start(recorder, other.source));
            ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(fakes.file("args")); }));
            QFile::remove(fakes.file("args"));
        }
        EXPECT_FALSE(f.edit.start(editor, source));
        EXPECT_FALSE(f.edit.errorText().isEmpty());
        EXPECT_FALSE(f.edit.isWaiting());
        EXPECT_EQ(readAll(f.source), f.original);
        EXPECT_EQ(f.edit.finish(), PictureEdit::Outcome::Unchanged);
        EXPECT_EQ(readAll(f.source), f.original);
        if (c.setup != Setup::StaleCopyFolder) {
            EXPECT_FALSE(QFileInfo::exists(f.copyPath()));
        }
        QThread::msleep(100);
        EXPECT_FALSE(QFileInfo::exists(fakes.file("args")));
        EXPECT_EQ(PictureEdit::isEditing(), c.setup == Setup::SecondEdit);
        other.edit.cancel();
    }
}

TEST(PictureEdit, StaleCopyIsReplacedBeforeTheEditorStarts) {
    FakeEditors fakes;
    const QString recorder = fakes.addRecorder("gimp");
    EditFixture f;
    writeAll(f.copyPath(), "left by a crash");
    ASSERT_TRUE(f.edit.start(recorder, f.source));
    ASSERT_TRUE(waitUntil([&] { return !f.edit.editorRunning(); }));
    EXPECT_FALSE(f.edit.hasChanged());
    EXPECT_EQ(f.edit.finish(), PictureEdit::Outcome::Unchanged);
    EXPECT_EQ(readAll(f.source), f.original);
}

// The copy's path reaches the editor as one argument, whatever characters it holds.
TEST(PictureEdit, PathArrivesAsOneArgument) {
    const QStringList folders = {
        QStringLiteral("with space"),
        QStringLiteral("semi;colon"),
        QStringLiteral("$(touch pwned)"),
        QString::fromUtf8("中文 图片;$(x) 'q\"`"),
    };
    for (const QString& name : folders) {
        FakeEditors fakes;
        const QString recorder = fakes.addRecorder("gimp");
        EditFixture f(name);
        ASSERT_TRUE(f.edit.start(recorder, f.source)) << f.edit.errorText().toStdString();
        ASSERT_TRUE(waitUntil([&] { return !f.edit.editorRunning(); }));
        const QString args = QString::fromUtf8(readAll(fakes.file("args")));
        EXPECT_EQ(args, QStringLiteral("1\n") + f.copyPath()) << name.toStdString();
        f.edit.cancel();
    }
}

// An edit that cannot be taken back is kept aside, never lost, and the source stays.
TEST(PictureEdit, FailedTakeBackKeepsTheEdit) {
    struct Case {
        const char* name;
        const char* script;
        bool sourceBecomesFolder;
    };
    const Case cases[] = {
        {"the source became a folder", "printf 'xy' >> \"$1\"", true},
        {"the editor left no picture", "printf 'broken' > \"$1\"", false},
        {"the editor left an empty file", ": > \"$1\"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEditors fakes;
        const QString editor = fakes.add("gimp", QString::fromLatin1(c.script));
        EditFixture f;
        ASSERT_TRUE(f.edit.start(editor, f.source));
        ASSERT_TRUE(waitUntil([&] { return !f.edit.editorRunning(); }));
        const QByteArray edited = readAll(f.copyPath());
        if (c.sourceBecomesFolder) {
            QFile::remove(f.source);
            QDir().mkpath(f.source + "/inside");
        }
        EXPECT_EQ(f.edit.finish(), PictureEdit::Outcome::Failed);
        EXPECT_TRUE(f.edit.errorText().contains(f.edit.keptCopy()));
        EXPECT_EQ(readAll(f.edit.keptCopy()), edited);
        EXPECT_NE(f.edit.keptCopy(), f.copyPath());
        if (!c.sourceBecomesFolder) {
            EXPECT_EQ(readAll(f.source), f.original);
        }
        EXPECT_FALSE(PictureEdit::isEditing());
    }
}

// The edit can be taken back to another file (a document keeps its edited picture as a
// new copy); the source is then left as it was.
TEST(PictureEdit, TakesBackToAnotherTarget) {
    FakeEditors fakes;
    EditFixture f;
    ASSERT_TRUE(f.edit.start(fakes.addAppending("gimp"), f.source));
    ASSERT_TRUE(waitUntil([&] { return !f.edit.editorRunning(); }));
    const QString target = f.dir.filePath("edited.bmp");
    EXPECT_EQ(f.edit.finish(target), PictureEdit::Outcome::Updated);
    EXPECT_EQ(readAll(target), f.original + "xy");
    EXPECT_EQ(readAll(f.source), f.original);
}
