#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>

#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/view/CPatView.h"

using namespace pemo;

TEST(CPatMain, ViewCommandsKeysTicksAndStatusPanes) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    const std::pair<int, QKeySequence> keys[] = {
        {34041, QKeySequence(Qt::Key_F9)},
        {34042, QKeySequence(Qt::Key_F10)},
        {34048, QKeySequence(Qt::Key_F8)},
        {34037, QKeySequence(Qt::ALT | Qt::Key_B)},
        {34405, QKeySequence(Qt::CTRL | Qt::Key_4)},
        {34408, QKeySequence(Qt::CTRL | Qt::Key_1)},
        {34409, QKeySequence(Qt::CTRL | Qt::Key_0)},
        {34410, QKeySequence(Qt::CTRL | Qt::Key_9)},
        {34036, QKeySequence()},
        {32939, QKeySequence()},
    };
    for (const auto& [id, key] : keys) {
        SCOPED_TRACE(id);
        ASSERT_NE(main.action(id), nullptr);
        EXPECT_EQ(main.action(id)->shortcut(), key);
    }

    main.action(34406)->trigger();  // A3幅面
    main.updateCommands();
    EXPECT_TRUE(main.action(34406)->isChecked());
    EXPECT_FALSE(main.action(34405)->isChecked());
    EXPECT_FALSE(main.action(34410)->isChecked());
    EXPECT_EQ(main.action(34411)->text(), QString::fromUtf8("横向幅面"));
    EXPECT_EQ(main.statusPane(8)->text(), QString::fromUtf8("(A3幅面)(*)"));
    EXPECT_EQ(main.statusPane(8)->objectName(), QStringLiteral("pane34068"));
    EXPECT_EQ(main.statusPane(1)->text(), QString::fromUtf8("共1项"));

    main.action(34411)->trigger();  // 横向幅面
    main.updateCommands();
    EXPECT_EQ(main.action(34411)->text(), QString::fromUtf8("竖向幅面"));
    EXPECT_EQ(main.statusPane(8)->text(), QString::fromUtf8("(A3幅面)(*)"));

    main.action(34048)->trigger();
    EXPECT_TRUE(main.view()->templateMode());
    EXPECT_TRUE(main.action(34048)->isChecked());
    main.action(34048)->trigger();
    EXPECT_FALSE(main.view()->templateMode());
}

// A change on the shown page (a background applied from the library, the placeholders
// filled again) repaints it at the zoom the user chose; another record shows whole.
TEST(CPatMain, APageChangeKeepsTheZoom) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    main.resize(900, 700);
    main.show();
    main.view()->fitPage();
    const double whole = main.view()->zoom();
    main.view()->zoomIn();
    const double zoomed = main.view()->zoom();
    ASSERT_NE(zoomed, whole);
    doc.notify(CPatDoc::Change::Page);
    EXPECT_EQ(main.view()->zoom(), zoomed);
    doc.setModified();
    EXPECT_EQ(main.view()->zoom(), zoomed);
    doc.notify(CPatDoc::Change::CurrentRecord);
    EXPECT_EQ(main.view()->zoom(), whole);
}
