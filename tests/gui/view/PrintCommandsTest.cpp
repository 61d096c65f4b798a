#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>

#include "document/CPatDoc.h"
#include "print/PrintJob.h"
#include "view/PrintCommands.h"

namespace pemo {

TEST(PrintCommands, MenuCarriesEveryCommandAndTheSettingsChangeTheNextJob) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.front()->resizePage(400, 580);
    QMenuBar bar;
    bar.addMenu(QString::fromUtf8("模板(&T)"));
    bar.addMenu(QString::fromUtf8("配置(&S)"));
    PrintCommands commands(doc, nullptr);
    QMenu* menu = commands.buildMenu(&bar);
    // The print menu goes between 模板 and 配置.
    ASSERT_EQ(bar.actions().size(), 3);
    EXPECT_EQ(bar.actions().at(1)->menu(), menu);

    for (const PrintMode& mode : PrintMode::all()) {
        ASSERT_NE(commands.action(mode.printCommand), nullptr) << mode.printCommand;
        ASSERT_NE(commands.action(mode.previewCommand), nullptr) << mode.previewCommand;
        EXPECT_EQ(commands.action(mode.printCommand)->text(), mode.printText);
    }
    for (int id : {34583, 34563, 34584, 34587, 34564, 34568, 57606}) {
        EXPECT_NE(commands.action(id), nullptr) << id;
    }
    EXPECT_EQ(commands.action(57606)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

    // 重叠10毫米 and 页间距10毫米 are checked at start.
    EXPECT_TRUE(commands.action(34586)->isChecked());
    EXPECT_TRUE(commands.action(34565)->isChecked());

    commands.printer().setPageSize(QPageSize(QPageSize::A4));
    commands.printer().setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    const auto tilePages = [&] {
        PrintJob job(doc);
        job.prepare(commands.settingsFor(PrintMode::Tile));
        return job.pageCount();
    };
    EXPECT_EQ(commands.settingsFor(PrintMode::Tile).sheetMm, QSize(200, 287));
    EXPECT_EQ(tilePages(), 9);
    commands.action(34584)->trigger();  // 无重叠
    EXPECT_EQ(commands.tileOverlapMm(), 0);
    EXPECT_FALSE(commands.action(34586)->isChecked());
    EXPECT_TRUE(commands.action(34584)->isChecked());
    EXPECT_EQ(tilePages(), 6);
    commands.action(34568)->trigger();  // 页间距30毫米
    EXPECT_EQ(commands.settingsFor(PrintMode::Merge).mergeSpacingMm, 30);
    EXPECT_TRUE(commands.action(34568)->isChecked());
    EXPECT_FALSE(commands.action(34565)->isChecked());
}

}  // namespace pemo
