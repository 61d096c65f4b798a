#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "FakeEditors.h"
#include "core/pictures/OutsideEditors.h"

using namespace pemo;
using pemo::test::FakeEditors;

namespace {

struct EditorsFixture {
    QTemporaryDir settingsDir;
    QSettings settings{settingsDir.filePath(QStringLiteral("editors.ini")), QSettings::IniFormat};
    OutsideEditors editors{settings};
};

}  // namespace

TEST(OutsideEditors, AcceptsTable) {
    FakeEditors fakes;
    fakes.addRecorder(QStringLiteral("gimp"));
    fakes.addRecorder(QStringLiteral("inkscape"));
    fakes.addRecorder(QStringLiteral("krita"));
    EditorsFixture f;
    using S = EditorSlot;
    struct Case {
        S slot;
        const char* extension;
        bool accepted;
    };
    const Case cases[] = {
        {S::Raster, ".JPG", true},
        {S::Raster, ".jpg", true},
        {S::Raster, ".bmp", true},
        {S::Raster, ".Tga", true},
        {S::Raster, ".wmf", false},
        {S::Raster, ".png", false},
        {S::Drawing, ".wmf", true},
        {S::Drawing, ".gif", true},
        {S::Vector, ".emf", true},
        {S::Vector, ".jpg", false},
        {S::SecondRaster, ".pcx", true},
        {S::SecondRaster, ".emf", false},
        // Four letters without the dot: the last four characters of "x.jpeg".
        {S::Raster, "jpeg", false},
        {S::Drawing, "tiff", false},
        {S::Raster, "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(f.editors.accepts(c.slot, QString::fromLatin1(c.extension)), c.accepted)
            << int(c.slot) << " " << c.extension;
    }
}

// Menu items per file and installed editors: one per program, in slot order, with the
// editor's own name; nothing at all when no editor is installed.
TEST(OutsideEditors, OffersPerFileAndInstalledPrograms) {
    using S = EditorSlot;
    struct Case {
        QStringList installed;
        const char* file;
        QList<S> offered;
        QStringList texts;
    };
    const QList<Case> cases = {
        {{"gimp", "inkscape", "krita"},
         "/p/photo.jpg",
         {S::Raster, S::Drawing, S::SecondRaster},
         {"GIMP", "Inkscape", "Krita"}},
        {{"gimp", "inkscape", "krita"}, "/p/logo.WMF", {S::Drawing}, {"Inkscape"}},
        {{"gimp", "inkscape", "krita"}, "/p/photo.jpeg", {}, {}},
        {{"gimp"}, "/p/photo.bmp", {S::Raster}, {"GIMP"}},
        {{"krita"}, "/p/photo.bmp", {S::Raster}, {"Krita"}},
        {{"gimp-2.10", "krita"}, "/p/photo.tif", {S::Raster, S::SecondRaster}, {"GIMP", "Krita"}},
        {{"inkscape"}, "/p/photo.gif", {S::Drawing}, {"Inkscape"}},
        {{}, "/p/photo.jpg", {}, {}},
        {{}, "/p/logo.emf", {}, {}},
    };
    for (const Case& c : cases) {
        FakeEditors fakes;
        for (const QString& name : c.installed)
            fakes.addRecorder(name);
        EditorsFixture f;
        const QList<S> offered = f.editors.offersFor(QString::fromLatin1(c.file));
        EXPECT_EQ(offered, c.offered) << c.file << " " << c.installed.join(' ').toStdString();
        QStringList texts;
        for (S slot : offered)
            texts << f.editors.menuText(slot);
        EXPECT_EQ(texts, c.texts) << c.file;
    }
}

// The lookup is made once: an editor removed or installed while the program runs is
// seen at the next start only.
TEST(OutsideEditors, LookedUpOncePerRun) {
    FakeEditors fakes;
    const QString gimp = fakes.addRecorder(QStringLiteral("gimp"));
    EditorsFixture f;
    EXPECT_EQ(f.editors.program(EditorSlot::Raster), gimp);
    EXPECT_FALSE(f.editors.isInstalled(EditorSlot::Drawing));
    QFile::remove(gimp);
    fakes.addRecorder(QStringLiteral("inkscape"));
    EXPECT_TRUE(f.editors.isInstalled(EditorSlot::Raster));
    EXPECT_FALSE(f.editors.isInstalled(EditorSlot::Drawing));

    OutsideEditors nextRun(f.settings);
    EXPECT_FALSE(nextRun.isInstalled(EditorSlot::Raster));
    EXPECT_TRUE(nextRun.isInstalled(EditorSlot::Drawing));
}

// The user's choice replaces the usual programs at once and is kept for later runs.
TEST(OutsideEditors, ChosenProgram) {
    FakeEditors fakes;
    fakes.addRecorder(QStringLiteral("gimp"));
    const QString mine = fakes.addRecorder(QStringLiteral("my-painter"));
    const QString notRunnable = fakes.file(QStringLiteral("readme.txt"));
    QFile(notRunnable).open(QIODevice::WriteOnly);
    struct Case {
        QString choice;
        QString program;
        QString text;
    };
    const QList<Case> cases = {
        {mine, mine, "my-painter"},
        {"my-painter", mine, "my-painter"},
        {"-", "", ""},
        {notRunnable, "", ""},
        {"/no/such/editor", "", ""},
        {"", fakes.file("gimp"), "GIMP"},
    };
    for (const Case& c : cases) {
        EditorsFixture f;
        EXPECT_EQ(f.editors.program(EditorSlot::Raster), fakes.file("gimp"));
        f.editors.setChoice(EditorSlot::Raster, c.choice);
        EXPECT_EQ(f.editors.program(EditorSlot::Raster), c.program) << c.choice.toStdString();
        EXPECT_EQ(f.editors.menuText(EditorSlot::Raster), c.text) << c.choice.toStdString();
        OutsideEditors nextRun(f.settings);
        EXPECT_EQ(nextRun.program(EditorSlot::Raster), c.program) << c.choice.toStdString();
    }
}
