#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include "FakeEditors.h"
#include "ScriptedMessages.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/codecs/Picture.h"
#include "core/document/CPatDoc.h"
#include "core/document/TemplateFile.h"
#include "core/platform/Folders.h"
#include "core/pictures/OutsideEditors.h"
#include "gui/app/LibraryDocks.h"
#include "gui/common/OutsideEditorMenu.h"
#include "gui/library/BackgroundPanel.h"
#include "gui/library/PictureLibraryPanel.h"
#include "gui/library/TemplatePanel.h"
#include "gui/library/ThumbnailCache.h"
#include "gui/library/ThumbnailList.h"

using namespace pemo;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void writePicture(const QString& path, QSize size = QSize(8, 6)) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(path));
}

// A library of two backgrounds in 节日, the first (红色) with one template of a
// 100 × 50 mm page holding a text block, and a picture category 促销.
class LibraryPanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBlockClasses();
        clear();
        root = programFolder() + u("/底图模板/节日/");
        writePicture(root + u("红色.bmp"));
        writePicture(root + u("蓝色.bmp"));
        writePicture(programFolder() + u("/图库/促销/特价.bmp"), QSize(5, 4));
        saveTemplate(u("红色"), u("促销"));
        frame.setCentralWidget(new QWidget);
        frame.resize(900, 700);
        docks = new LibraryDocks(frame, doc);
        docks->dock();
        doc.newRecordInitializer = [this](InfoRecord& r) { docks->initialiseRecord(r); };
        docks->load();
        doc.newDocument();
        doc.setModified(false);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    void TearDown() override {
        doc.newRecordInitializer = nullptr;
        clear();
    }
    static void clear() {
        QDir(programFolder() + u("/底图模板")).removeRecursively();
        QDir(programFolder() + u("/图库")).removeRecursively();
    }
    void saveTemplate(const QString& background, const QString& name) {
        CPatDoc source;
        source.newDocument();
        InfoRecord& r = *source.records.front();
        r.resizePage(100, 50);
        r.applyBackground(
            PictureDescription::ofFile(root + background + ".bmp", PictureDescription::Background,
                                       Gbk::fromUnicode(u("节日")), Gbk::fromUnicode(background)),
            source.backgrounds);
        r.appendBlock(TextBlock::create(BlockKind::FixedText, {100, 100, 2000, 800}, "A", true));
        QImage preview(20, 10, QImage::Format_RGB32);
        preview.fill(Qt::white);
        TemplateFile::saveToLibrary(r, source, name, preview);
    }
    // Clicks (or double-clicks) the thumbnail of an entry of a visible list.
    static void click(ThumbnailList* list, int index, bool twice = false) {
        const QPoint at = list->geometry().thumbnailRect(index - list->scrollPosition()).center();
        if (twice) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        } else {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        }
    }

    QString root;
    QMainWindow frame;
    CPatDoc doc;
    LibraryDocks* docks = nullptr;
};

TEST_F(LibraryPanelsTest, NewRecordsTakeTheSelectedTemplateElseTheBackground) {
    BackgroundPanel* backgrounds = docks->backgroundPanel();
    ASSERT_EQ(backgrounds->category(), u("节日"));
    ASSERT_EQ(backgrounds->backgrounds().size(), 2);
    ASSERT_NE(docks->templatePanel()->selectedTemplate(), nullptr);

    // The document's first record already took the template.
    const InfoRecord& first = *doc.records.front();
    EXPECT_EQ(first.widthMm, 100);
    EXPECT_EQ(first.blocks.size(), 1u);
    EXPECT_EQ(first.background.name, Gbk::fromUnicode(u("红色")));

    // 蓝色 has no templates: new records get its picture on a blank page.
    docks->tabs()->setCurrentIndex(0);
    click(backgrounds->list(), 1);
    EXPECT_EQ(backgrounds->selectedBackground()->description.name, Gbk::fromUnicode(u("蓝色")));
    EXPECT_EQ(docks->templatePanel()->selectedTemplate(), nullptr);
    const auto blank = doc.newRecord();
    EXPECT_EQ(blank->widthMm, 190);
    EXPECT_TRUE(blank->blocks.empty());
    EXPECT_EQ(blank->background.name, Gbk::fromUnicode(u("蓝色")));
    EXPECT_TRUE(doc.backgrounds.contains(blank->background.key));

    // In mode 1 the category's templates are listed whatever background is selected.
    docks->templatePanel()->setMode(TemplatePanel::WholeCategory);
    ASSERT_EQ(docks->templatePanel()->templates().size(), 1);
    EXPECT_EQ(docks->templatePanel()->templates().front().caption(), u("红色-促销(100x50)"));
    EXPECT_EQ(doc.newRecord()->widthMm, 100);
}

TEST_F(LibraryPanelsTest, DoubleClicksApplyToTheCurrentRecord) {
    docks->templatePanel()->setMode(TemplatePanel::CurrentBackground);
    InfoRecord& current = *doc.currentRecord();
    current.resizePage(190, 280);
    click(docks->backgroundPanel()->list(), 1, true);
    EXPECT_EQ(current.background.name, Gbk::fromUnicode(u("蓝色")));
    EXPECT_EQ(current.widthMm, 190);
    EXPECT_TRUE(doc.isModified());

    click(docks->backgroundPanel()->list(), 0);
    click(docks->templatePanel()->list(), 0, true);
    EXPECT_EQ(current.widthMm, 100);
    EXPECT_EQ(current.background.name, Gbk::fromUnicode(u("红色")));
    EXPECT_EQ(current.background.templateName, Gbk::fromUnicode(u("促销")));
}

TEST_F(LibraryPanelsTest, SelectionsFeedTheUnifyCommands) {
    RecordCommandContext context;
    docks->fillContext(context);
    EXPECT_TRUE(context.background.selected);
    EXPECT_TRUE(context.templateChoice.selected);
    EXPECT_EQ(context.templateChoice.templateName, Gbk::fromUnicode(u("促销")));
    doc.records.push_back(doc.newRecord());
    doc.records.back()->applyBackground(docks->backgroundPanel()->backgrounds().at(1).description,
                                        doc.backgrounds);
    RecordCommands commands(doc);
    EXPECT_TRUE(commands.isEnabled(RecordCommand::UnifyTemplate, context));
    test::ScriptedMessages messages{Messages::Answer::Yes};
    EXPECT_TRUE(commands.execute(RecordCommand::UnifyTemplate, context));
    EXPECT_EQ(messages.asked, QStringList({u("全部信息的模板统一设置为(红色-促销)?")}));
    EXPECT_EQ(doc.records.back()->background.name, Gbk::fromUnicode(u("红色")));
    EXPECT_EQ(doc.records.back()->widthMm, 100);
}

TEST_F(LibraryPanelsTest, UnifyTemplateWithAnUnreadableTemplateSaysSoOnceAndChangesNothing) {
    RecordCommandContext context;
    docks->fillContext(context);
    ASSERT_TRUE(context.templateChoice.selected);
    for (int i = 0; i < 5; ++i) {
        doc.records.push_back(doc.newRecord());
        doc.records.back()->applyBackground(
            docks->backgroundPanel()->backgrounds().at(1).description, doc.backgrounds);
    }
    doc.setModified(false);
    // The file goes bad after it was chosen.
    QFile file(context.templateChoice.templatePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\x08not a template");
    file.close();

    RecordCommands commands(doc);
    test::ScriptedMessages messages{Messages::Answer::Yes};
    EXPECT_FALSE(commands.execute(RecordCommand::UnifyTemplate, context));
    EXPECT_EQ(messages.informed.size(), 1);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.records.back()->background.name, Gbk::fromUnicode(u("蓝色")));
}

TEST_F(LibraryPanelsTest, DeletingABackgroundAsksAndTakesItsTemplates) {
    BackgroundPanel* panel = docks->backgroundPanel();
    {
        test::ScriptedMessages messages{Messages::Answer::No};
        panel->deleteBackground();
        EXPECT_EQ(messages.asked, QStringList({u("删除底图(红色)? 该底图有1个模板。")}));
        EXPECT_TRUE(QFileInfo::exists(root + u("红色.bmp")));
    }
    test::ScriptedMessages messages{Messages::Answer::Yes};
    panel->deleteBackground();
    EXPECT_FALSE(QFileInfo::exists(root + u("红色.bmp")));
    EXPECT_FALSE(QFileInfo::exists(root + u("红色-TMPL")));
    EXPECT_TRUE(QFileInfo::exists(root + u("蓝色.bmp")));
    ASSERT_EQ(panel->backgrounds().size(), 1);
    EXPECT_TRUE(messages.informed.isEmpty());
}

// Deleting the last background of a category leaves no background selected; the
// templates it took with it must not stay listed in either mode.
TEST_F(LibraryPanelsTest, DeletingTheLastBackgroundTakesItsTemplatesOffTheList) {
    for (const TemplatePanel::Mode mode :
         {TemplatePanel::CurrentBackground, TemplatePanel::WholeCategory}) {
        SCOPED_TRACE(int(mode));
        writePicture(root + u("红色.bmp"));
        writePicture(root + u("蓝色.bmp"));
        saveTemplate(u("红色"), u("促销"));
        BackgroundPanel* panel = docks->backgroundPanel();
        panel->reload();
        TemplatePanel* templates = docks->templatePanel();
        test::ScriptedMessages messages{Messages::Answer::Yes, Messages::Answer::Yes};
        ASSERT_TRUE(panel->selectBackground(Gbk::fromUnicode(u("蓝色"))));
        panel->deleteBackground();
        ASSERT_EQ(panel->backgrounds().size(), 1);
        templates->setMode(mode);
        ASSERT_EQ(templates->templates().size(), 1);
        panel->deleteBackground();
        EXPECT_TRUE(panel->backgrounds().isEmpty());
        EXPECT_TRUE(templates->templates().isEmpty());
        EXPECT_FALSE(templates->deleteCommand()->isEnabled());
    }
}

TEST_F(LibraryPanelsTest, DeletingATemplateAsksFirst) {
    TemplatePanel* panel = docks->templatePanel();
    ASSERT_TRUE(panel->deleteCommand()->isEnabled());
    test::ScriptedMessages messages{Messages::Answer::Yes};
    panel->deleteCommand()->trigger();
    EXPECT_EQ(messages.asked, QStringList({u("删除模板(红色-促销)?")}));
    EXPECT_TRUE(QDir(root + u("红色-TMPL")).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(panel->templates().isEmpty());
    EXPECT_FALSE(panel->deleteCommand()->isEnabled());
}

TEST_F(LibraryPanelsTest, AddingPicturesChecksNamesAndStaysInTheCategory) {
    PictureLibraryPanel* panel = docks->picturePanel();
    ASSERT_EQ(panel->category(), u("促销"));
    const QString source = programFolder() + u("/新.jpg");
    writePicture(source);
    QString name = u("贴[1]");
    panel->chooseAddition = [&](const QString& category) {
        return PictureLibraryPanel::Addition{source, category, name};
    };
    test::ScriptedMessages messages;
    panel->addPicture();
    EXPECT_TRUE(QFileInfo::exists(programFolder() + u("/图库/促销/贴[1].jpg")));
    EXPECT_EQ(panel->pictures().size(), 2);
    // The same name again, and a name leading outside, are refused.
    panel->addPicture();
    name = u("../../外");
    panel->addPicture();
    EXPECT_EQ(messages.informed.size(), 2);
    EXPECT_TRUE(messages.informed.at(0).startsWith(u("图片")));
    EXPECT_TRUE(messages.informed.at(0).endsWith(u("增加失败")));
    EXPECT_FALSE(QFileInfo::exists(programFolder() + u("/外.jpg")));
    QFile::remove(source);
}

// Both category panels: the backgrounds start in the blank category (where nothing may be
// added), the pictures in the first one; an added file goes into its own library only.
TEST_F(LibraryPanelsTest, EachPanelStartsInItsCategoryAndAddsIntoItsOwnLibrary) {
    BackgroundPanel* backgrounds = docks->backgroundPanel();
    PictureLibraryPanel* pictures = docks->picturePanel();
    struct Case {
        CategoryListPanel* panel;
        std::function<void()> add;
        std::function<int()> count;
        QString library;
        QString preferred;
        QString other;
        bool addsToPreferred;
    };
    const Case cases[] = {
        {backgrounds, [&] { backgrounds->addBackground(); },
         [&] { return int(backgrounds->backgrounds().size()); }, u("/底图模板/"), u("空白底图"),
         u("节日"), false},
        {pictures, [&] { pictures->addPicture(); },
         [&] { return int(pictures->pictures().size()); }, u("/图库/"), u("促销"), u("空白底图"),
         true},
    };
    const QString source = programFolder() + u("/新.jpg");
    writePicture(source);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.library.toStdString());
        writePicture(programFolder() + c.library + u("空白底图/白.bmp"));
        c.panel->reloadCategories();
        EXPECT_EQ(c.panel->category(), c.preferred);
        int asked = 0;
        c.panel->chooseAddition = [&](const QString& category) {
            ++asked;
            return CategoryListPanel::Addition{source, category, u("新")};
        };
        c.add();
        EXPECT_EQ(asked, c.addsToPreferred ? 1 : 0);
        EXPECT_EQ(c.panel->addCommand()->isEnabled(), c.addsToPreferred);

        ASSERT_TRUE(c.panel->selectCategory(c.other));
        const int before = c.count();
        c.add();
        EXPECT_EQ(c.panel->category(), c.other);
        EXPECT_EQ(c.count(), before + 1);
        EXPECT_TRUE(QFileInfo::exists(programFolder() + c.library + c.other + u("/新.jpg")));
        EXPECT_FALSE(c.panel->selectCategory(u("无此类")));
    }
    // Nothing crossed into the other library.
    EXPECT_FALSE(QFileInfo::exists(programFolder() + u("/底图模板/空白底图/新.jpg")));
    EXPECT_FALSE(QFileInfo::exists(programFolder() + u("/图库/节日/新.jpg")));
    QFile::remove(source);
}

TEST_F(LibraryPanelsTest, EveryClickOnAPictureHandsOverANewOne) {
    docks->tabs()->setCurrentIndex(1);
    PictureLibraryPanel* panel = docks->picturePanel();
    QSignalSpy chosen(panel, &PictureLibraryPanel::pictureChosen);
    click(panel->list(), 0);
    click(panel->list(), 0);
    ASSERT_EQ(chosen.size(), 2);
    const auto picture = chosen.at(1).at(0).value<PictureDescription>();
    EXPECT_EQ(picture.kind, PictureDescription::LibraryPicture);
    EXPECT_EQ(picture.name, Gbk::fromUnicode(u("特价")));
    EXPECT_EQ(picture.category, Gbk::fromUnicode(u("促销")));
    EXPECT_EQ(picture.width, 5);
}

TEST_F(LibraryPanelsTest, ASavedTemplateShowsAtOnce) {
    docks->templatePanel()->setMode(TemplatePanel::CurrentBackground);
    saveTemplate(u("蓝色"), u("新品"));
    docks->showSavedTemplate(Gbk::fromUnicode(u("节日")), Gbk::fromUnicode(u("蓝色")),
                             root + u("蓝色-TMPL/蓝色-新品.vxt"));
    EXPECT_EQ(docks->backgroundPanel()->selectedBackground()->description.name,
              Gbk::fromUnicode(u("蓝色")));
    ASSERT_NE(docks->templatePanel()->selectedTemplate(), nullptr);
    EXPECT_EQ(docks->templatePanel()->selectedTemplate()->caption(), u("蓝色-新品(100x50)"));
}

TEST_F(LibraryPanelsTest, AnEditedPictureIsMeasuredAgain) {
    PictureLibraryPanel* panel = docks->picturePanel();
    const QString path = programFolder() + u("/图库/促销/特价.bmp");
    ASSERT_EQ(panel->pictures().front().caption(), u("特价(5x4)"));
    writePicture(path, QSize(9, 7));
    panel->refreshFile(path);
    EXPECT_EQ(panel->pictures().front().caption(), u("特价(9x7)"));
    EXPECT_EQ(panel->list()->entries().front().caption, u("特价(9x7)"));
    EXPECT_EQ(panel->pictures().front().description.fileSize, QFileInfo(path).size());
}

TEST(ThumbnailCacheTest, DecodesScaledAndStaysWithinItsLimit) {
    QTemporaryDir dir;
    QImage big(2480, 3508, QImage::Format_RGB32);
    big.fill(QColor(200, 30, 30));
    const QString jpeg = dir.filePath("big.jpg");
    ASSERT_TRUE(big.save(jpeg, "JPEG", 70));
    const QImage thumb = ThumbnailCache::decode(jpeg, QSize(138, 103));
    EXPECT_EQ(thumb.size(), QSize(72, 103));  // 103 × 2480 / 3508, truncated
    EXPECT_TRUE(ThumbnailCache::decode(dir.filePath("none.jpg"), QSize(138, 103)).isNull());

    // Room for about three thumbnails of 138 × 103.
    ThumbnailCache cache(3 * 138 * 103 * 4 + 100);
    QStringList files;
    for (int i = 0; i < 8; ++i) {
        QImage wide(276, 206, QImage::Format_RGB32);
        wide.fill(QColor(10 * i, 0, 0));
        files << dir.filePath(QStringLiteral("w%1.bmp").arg(i));
        ASSERT_TRUE(wide.save(files.last()));
    }
    for (const QString& file : files) {
        cache.thumbnail(file, QSize(138, 103));
        QTRY_VERIFY(!cache.isPending(file, QSize(138, 103)));
        EXPECT_LE(cache.bytes(), cache.limitBytes());
    }
    EXPECT_FALSE(cache.thumbnail(files.last(), QSize(138, 103)).isNull());
    EXPECT_TRUE(cache.thumbnail(files.first(), QSize(138, 103)).isNull());  // evicted, queued again
}

}  // namespace

// A library file changed in an outside editor: the panel shows its new size at once, and
// a double click puts the edited picture on the page.
TEST_F(LibraryPanelsTest, EditedLibraryFilesAreReadAgain) {
    test::FakeEditors fakes;
    writePicture(fakes.file("bigger.bmp"), QSize(16, 12));
    fakes.add("gimp", "/bin/cat \"$FAKE/bigger.bmp\" > \"$1\"");
    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath("editors.ini"), QSettings::IniFormat);
    OutsideEditors editors(settings);
    OutsideEditors::install(&editors);
    test::ScriptedMessages messages;

    BackgroundPanel* backgrounds = docks->backgroundPanel();
    PictureLibraryPanel* pictures = docks->picturePanel();
    struct Case {
        LibraryListPanel* panel;
        ThumbnailList* list;
        EditorPlace place;
        std::function<PictureDescription()> selected;
        const char* caption;
    };
    const Case cases[] = {
        {backgrounds, backgrounds->list(), EditorPlace::BackgroundPanel,
         [&] { return backgrounds->selectedBackground()->description; }, "红色(16x12)"},
        {pictures, pictures->list(), EditorPlace::PicturePanel,
         [&] { return pictures->selectedPicture()->description; }, "特价(16x12)"},
    };
    for (const Case& c : cases) {
        const QString file = c.selected().filePath;
        const auto reread = [&] { c.panel->refreshFile(file); };
        QMenu menu;
        addEditorItems(&menu, file, c.place, nullptr, reread);
        ASSERT_EQ(menu.actions().size(), 2);
        menu.actions().at(1)->trigger();
        EXPECT_TRUE(messages.informed.isEmpty()) << messages.informed.join('\n').toStdString();
        EXPECT_EQ(c.selected().width, 16);
        EXPECT_EQ(c.selected().fileSize, QFileInfo(file).size());
        EXPECT_EQ(c.list->entries().at(c.list->selected()).caption, u(c.caption));
    }

    click(backgrounds->list(), 0, true);
    const InfoRecord& current = *doc.currentRecord();
    EXPECT_EQ(doc.backgrounds.entry(current.background.key)->description().width, 16);
    OutsideEditors::install(nullptr);
}

// Listing a category decodes no metafile: its size comes with its thumbnail, or at once
// when it is the selected background (whose description a new record takes).
TEST_F(LibraryPanelsTest, MetafileSizesAreReadWithTheirThumbnailsOrWhenSelected) {
    const QString wmf = QStringLiteral(PEMO_TEST_DATA "/metafiles/inkscape-shapes.wmf");
    const QSize natural = Picture::fromFile(wmf).size();
    ASSERT_FALSE(natural.isEmpty());
    ASSERT_TRUE(QFile::copy(wmf, programFolder() + u("/图库/促销/图形.wmf")));
    ASSERT_TRUE(QFile::copy(wmf, root + u("绿色.wmf")));
    const QString sized = QStringLiteral("(%1x%2)").arg(natural.width()).arg(natural.height());

    PictureLibraryPanel* pictures = docks->picturePanel();
    pictures->reload();
    const auto metafile = [&]() -> const PictureItem& {
        for (const PictureItem& item : pictures->pictures()) {
            if (item.path().endsWith(u("图形.wmf"))) return item;
        }
        return pictures->pictures().front();
    };
    ASSERT_TRUE(metafile().path().endsWith(u("图形.wmf")));
    EXPECT_FALSE(metafile().measured);
    EXPECT_EQ(metafile().description.width, 0);
    docks->thumbnails().thumbnail(metafile().path(), QSize(138, 103));
    QTRY_VERIFY(metafile().measured);
    EXPECT_EQ(metafile().description.width, natural.width());
    EXPECT_TRUE(metafile().caption().endsWith(sized)) << metafile().caption().toStdString();

    BackgroundPanel* backgrounds = docks->backgroundPanel();
    backgrounds->reload();
    ASSERT_TRUE(backgrounds->selectBackground(Gbk::fromUnicode(u("绿色"))));
    ASSERT_NE(backgrounds->selectedBackground(), nullptr);
    EXPECT_TRUE(backgrounds->selectedBackground()->measured);
    EXPECT_EQ(backgrounds->selectedBackground()->description.height, natural.height());
}
