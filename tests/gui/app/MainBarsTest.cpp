#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "core/barcodes/BarcodeFace.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/app/FontNameBox.h"
#include "gui/app/MainToolBars.h"
#include "gui/app/QtTranslations.h"
#include "core/blocks/BlockKind.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"
#include "gui/view/ShapePalette.h"
#include "gui/view/TextCommands.h"

using namespace pemo;

namespace {

// The ids of a toolbar's items in order, 0 for a separator.
std::vector<int> toolbarIds(const QToolBar* bar) {
    std::vector<int> ids;
    for (const QAction* action : bar->actions()) {
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    }
    return ids;
}

QList<QAction*> allActions(const CPatMain& main) {
    QList<QAction*> out = main.findChildren<QAction*>();
    // Toolbar and dock toggles belong to their bars.
    for (const QToolBar* bar : main.findChildren<QToolBar*>()) out.append(bar->toggleViewAction());
    for (const QDockWidget* dock : main.findChildren<QDockWidget*>())
        out.append(dock->toggleViewAction());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace

TEST(MainBars, EachToolbarHasItsButtonsInOrder) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    const std::pair<int, std::vector<int>> bars[] = {
        {34030, {57600, 57601, 57603, 0, 34001, 34002, 0, 34003, 34004, 34005, 0, 34034, 34035,
                 34033, 0, 34041, 34042, 34044, 0, 34048, 0, 34120, 0, 34100, 34118, 34119, 34101,
                 0, 34102, 34103, 0, 34104, 34106, 34107, 34105, 34108, 34109}},
        {34031, {34013, 34014, 34015, 0, 34010, 34011, 34012, 0, 32944, 32945, 32941, 32942, 0,
                 34016, 34017, 34018, 34019, 0, 34020}},
        {34032, {32949, 32950, 32951, 0, 34270, 34271, 34272, 34304, 0, 34273, 34310, 0, 34280,
                 34290, 34303, 0, 34200, 34220, 34260, 34250, 34537, 0, 34302, 0, 34301, 0, 34305, 0,
                 34501, 34500, 0, 34513, 0, 34512, 0, 34515}},
    };
    for (const auto& [id, expected] : bars) {
        SCOPED_TRACE(id);
        const QToolBar* bar = main.toolBars()->bar(id);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(toolbarIds(bar), expected);
        for (QAction* action : bar->actions()) {
            if (action->isSeparator() || bar->widgetForAction(action)->inherits("QComboBox"))
                continue;
            EXPECT_FALSE(action->toolTip().isEmpty()) << action->data().toInt();
            EXPECT_FALSE(action->statusTip().isEmpty()) << action->data().toInt();
        }
    }
    EXPECT_EQ(main.toolBarArea(main.toolBars()->bar(34031)), Qt::LeftToolBarArea);
    EXPECT_EQ(main.toolBarArea(main.toolBars()->bar(34030)), Qt::TopToolBarArea);
}

TEST(MainBars, KeyTableAssignsEachKeyToOneCommand) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    const auto Ctrl = Qt::CTRL;
    const std::pair<QKeySequence, int> table[] = {
        {Ctrl | Qt::Key_A, 34007}, {Ctrl | Qt::Key_B, 34270}, {Ctrl | Qt::Key_C, 34004},
        {Ctrl | Qt::Key_D, 34100}, {Ctrl | Qt::Key_F, 34101}, {Ctrl | Qt::Key_G, 34200},
        {Ctrl | Qt::Key_H, 34260}, {Ctrl | Qt::Key_I, 34120}, {Ctrl | Qt::Key_J, 34250},
        {Ctrl | Qt::Key_K, 34303}, {Ctrl | Qt::Key_L, 34119}, {Ctrl | Qt::Key_N, 57600},
        {Ctrl | Qt::Key_O, 57601}, {Ctrl | Qt::Key_P, 57606}, {Ctrl | Qt::Key_Q, 34103},
        {Ctrl | Qt::Key_S, 57603}, {Ctrl | Qt::Key_T, 34220}, {Ctrl | Qt::Key_U, 34301},
        {Ctrl | Qt::Key_V, 34005}, {Ctrl | Qt::Key_X, 34003}, {Ctrl | Qt::Key_Y, 34002},
        {Ctrl | Qt::Key_Z, 34001}, {Ctrl | Qt::Key_0, 34409}, {Ctrl | Qt::Key_1, 34408},
        {Ctrl | Qt::Key_2, 34407}, {Ctrl | Qt::Key_3, 34406}, {Ctrl | Qt::Key_4, 34405},
        {Ctrl | Qt::Key_9, 34410}, {Ctrl | Qt::Key_Home, 34104}, {Ctrl | Qt::Key_End, 34105},
        {Ctrl | Qt::Key_Up, 34106}, {Ctrl | Qt::Key_Down, 34107}, {Ctrl | Qt::Key_PageUp, 34108},
        {Ctrl | Qt::Key_PageDown, 34109}, {Qt::Key_F1, 32864}, {Qt::Key_F2, 32948},
        {Qt::Key_F3, 34032}, {Qt::Key_F4, 34031}, {Qt::Key_F5, 34034}, {Qt::Key_F6, 34035},
        {Qt::Key_F7, 34033}, {Qt::Key_F8, 34048}, {Qt::Key_F9, 34041}, {Qt::Key_F10, 34042},
        {Qt::ALT | Qt::Key_B, 34037},
    };
    QHash<QKeySequence, QList<QAction*>> byKey;
    for (QAction* action : allActions(main)) {
        for (const QKeySequence& key : action->shortcuts()) byKey[key].append(action);
    }
    for (auto it = byKey.constBegin(); it != byKey.constEnd(); ++it) {
        EXPECT_EQ(it.value().size(), 1) << it.key().toString().toStdString() << " is used twice";
    }
    for (const auto& [key, id] : table) {
        SCOPED_TRACE(key.toString().toStdString());
        const QList<QAction*> actions = byKey.value(key);
        ASSERT_EQ(actions.size(), 1);
        EXPECT_EQ(actions.first()->data().toInt(), id);
    }
}

TEST(MainBars, BarTogglesFollowTheBars) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    main.show();
    QMenu* viewMenu = nullptr;
    for (QAction* item : main.menuBar()->actions()) {
        if (item->text() == QString::fromUtf8("视图(&V)")) viewMenu = item->menu();
    }
    ASSERT_NE(viewMenu, nullptr);
    const std::pair<int, QWidget*> bars[] = {
        {34030, main.toolBars()->bar(34030)}, {34031, main.toolBars()->bar(34031)},
        {34032, main.toolBars()->bar(34032)}, {34034, main.sideBar(34034)},
        {34035, main.sideBar(34035)},         {34033, main.sideBar(34033)},
    };
    for (const auto& [id, bar] : bars) {
        SCOPED_TRACE(id);
        QAction* toggle = main.findCommand(id);
        ASSERT_NE(toggle, nullptr);
        EXPECT_TRUE(viewMenu->actions().contains(toggle));
        EXPECT_TRUE(bar->isVisible());
        EXPECT_TRUE(toggle->isChecked());
        toggle->trigger();
        EXPECT_FALSE(bar->isVisible());
        EXPECT_FALSE(toggle->isChecked());
        toggle->trigger();
        EXPECT_TRUE(bar->isVisible());
        EXPECT_TRUE(toggle->isChecked());
        // Closed by its own button, the bar's tick goes too.
        bar->close();
        EXPECT_FALSE(toggle->isChecked());
        toggle->trigger();
        EXPECT_TRUE(toggle->isChecked());
    }
    // The library bars start on the left, 信息编辑 at the bottom, 模板库 shown first.
    EXPECT_EQ(main.dockWidgetArea(main.sideBar(34034)), Qt::LeftDockWidgetArea);
    EXPECT_EQ(main.dockWidgetArea(main.sideBar(34035)), Qt::LeftDockWidgetArea);
    EXPECT_EQ(main.dockWidgetArea(main.sideBar(34033)), Qt::BottomDockWidgetArea);
    ASSERT_EQ(main.libraryTabs()->count(), 2);
    EXPECT_EQ(main.libraryTabs()->tabText(0), QString::fromUtf8("模板库"));
    EXPECT_EQ(main.libraryTabs()->tabText(1), QString::fromUtf8("常用图库"));
    EXPECT_EQ(main.libraryTabs()->currentIndex(), 0);

    // The library's panels are in the bars.
    EXPECT_TRUE(main.sideBar(34034)->widget()->inherits("pemo::BackgroundPanel"));
    EXPECT_TRUE(main.libraryTabs()->widget(0)->inherits("pemo::TemplatePanel"));
    EXPECT_TRUE(main.libraryTabs()->widget(1)->inherits("pemo::PictureLibraryPanel"));
}

TEST(MainBars, QtDialogsSpeakChinese) {
    ASSERT_TRUE(installQtTranslations());
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                         QDialogButtonBox::No);
    const std::pair<QDialogButtonBox::StandardButton, const char*> buttons[] = {
        {QDialogButtonBox::Ok, "确定"},
        {QDialogButtonBox::Cancel, "取消"},
        {QDialogButtonBox::Yes, "是"},
        {QDialogButtonBox::No, "否"},
    };
    for (const auto& [button, text] : buttons) {
        EXPECT_TRUE(box.button(button)->text().startsWith(QString::fromUtf8(text)))
            << box.button(button)->text().toStdString();
    }
}

TEST(MainBars, StartUpEmptiesOnlyBlocksLeftOnTheClipboard) {
    struct Case {
        const char* what;
        QString mime;
        bool emptied;
    };
    const Case cases[] = {
        {"blocks of an earlier run", QStringLiteral("application/x-qrwnpem-clipboard"), true},
        {"another program's text", QStringLiteral("text/plain"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* data = new QMimeData;
        data->setData(c.mime, QByteArray("x"));
        QApplication::clipboard()->setMimeData(data);
        CPatApp app;
        CPatDoc doc;
        CPatMain main(app, doc);
        const QMimeData* left = QApplication::clipboard()->mimeData();
        EXPECT_EQ(!left || !left->hasFormat(c.mime), c.emptied);
    }
    QApplication::clipboard()->clear();
}

TEST(MainBars, ViewAndRecordMenusHoldTheirCommandsInOrder) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    const std::pair<const char*, std::vector<int>> menus[] = {
        {"视图(&V)", {34030, 34032, 34031, 0, 34034, 34035, 34033, 0, 34036, 34037, 34048, 0, 34041,
                     34042, 34043, 34044, 0, 59393, 0, 32948}},
        {"信息(&I)", {34120, 34100, 34118, 0, 34119, 0, 34101, 0, 34102, 34103, 0, 34116, 34117, 0,
                     34104, 34105, 34106, 34107, 34108, 34109, 0, 34110, 34111, 0, 34112, 34150, 34151, 0, 34113,
                     34114, 0, 34141, 34143, 34142}},
    };
    for (const auto& [title, expected] : menus) {
        SCOPED_TRACE(title);
        const QMenu* menu = nullptr;
        for (const QAction* item : main.menuBar()->actions()) {
            if (item->text() == QString::fromUtf8(title)) menu = item->menu();
        }
        ASSERT_NE(menu, nullptr);
        std::vector<int> ids;
        for (const QAction* action : menu->actions())
            ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
        EXPECT_EQ(ids, expected);
    }
    // 信息打印 is a print command.
    const QAction* listPrint = main.findCommand(34115);
    ASSERT_NE(listPrint, nullptr);
    bool inPrintMenu = false;
    for (const QAction* item : main.menuBar()->actions()) {
        if (item->text() == QString::fromUtf8("打印(&P)"))
            inPrintMenu = item->menu()->actions().contains(const_cast<QAction*>(listPrint));
    }
    EXPECT_TRUE(inPrintMenu);
}

// The 对象 menu's commands stand in its order, whichever command set brought them.
TEST(MainBars, ObjectMenuHoldsItsCommandsInOrder) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    // Each item's text, "|" for a separator, up to 锁定; what follows it is not the
    // menu's own.
    const QStringList expected = QString::fromUtf8(
        "粗体(&B) 斜体(&I) 字符颜色(&C) 下划线(&U) | 艺术字(&W) 字距 | 版式 行距 竖排 | "
        "边框设置(&F) | 变量信息(&V) 常用文字(&T) 商场信息(&H) 价格信息(&J) 插入条码(&Q)... | 价格格式(&P) | "
        "自动排版(&A) | 插入图象(&G) | 绘制图形(&D) | 文字图形化 | 线型(&S) 图形颜色(&O) "
        "填充方式(&N) | 锁定").split(QLatin1Char(' '));
    const QMenu* menu = nullptr;
    for (const QAction* item : main.menuBar()->actions()) {
        if (item->text() == QString::fromUtf8("对象(&O)")) menu = item->menu();
    }
    ASSERT_NE(menu, nullptr);
    QStringList shown;
    for (const QAction* action : menu->actions()) {
        if (shown.size() == expected.size()) break;
        shown << (action->isSeparator() ? QStringLiteral("|") : action->text());
    }
    EXPECT_EQ(shown.join(QLatin1Char(' ')).toStdString(), expected.join(QLatin1Char(' ')).toStdString());
}

// 插入文字 shows pressed while a text tool is armed, as its menu item is ticked.
TEST(MainBars, InsertTextButtonShowsTheArmedTool) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    QAction* button = nullptr;
    for (QAction* action : main.toolBars()->bar(34032)->actions()) {
        if (action->data().toInt() == 34220) button = action;
    }
    ASSERT_NE(button, nullptr);
    const struct {
        int32_t armed;
        bool pressed;
    } cases[] = {{BlockKind::FixedText, true}, {BlockKind::Rectangle, false},
                 {BlockKind::FixedText + 2, true}, {BlockKind::SelectionTool, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.armed);
        main.view()->setArmedTool(c.armed);
        main.view()->canvas()->refresh();
        EXPECT_EQ(button->isChecked(), c.pressed);
    }
}

// Putting the 对象 menu in order must leave its commands working: 绘制图形 opens the shape
// picker, and a shape chosen there arms its drawing tool.
TEST(MainBars, DrawShapeOpensThePickerAfterTheMenuIsArranged) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    main.show();
    QAction* draw = nullptr;
    for (QAction* action : main.findChildren<QAction*>()) {
        if (action->data().toInt() == 34500) draw = action;
    }
    ASSERT_NE(draw, nullptr);
    draw->trigger();
    ShapePalette* palette = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* shown = qobject_cast<ShapePalette*>(window); shown && shown->isVisible())
            palette = shown;
    }
    ASSERT_NE(palette, nullptr);
    auto* rectangle = palette->findChild<QToolButton*>(QStringLiteral("shape34507"));
    ASSERT_NE(rectangle, nullptr);
    rectangle->click();
    EXPECT_EQ(main.findChild<CPatView*>()->armedTool(), BlockKind::Rectangle);
}

// 插入条码 stands with the insert commands and can be run whenever there is a page; the face
// boxes offer the barcode faces after the real faces, under a separator.
TEST(MainBars, BarcodesAreOfferedBesideTheInsertCommandsAndFaces) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    QMenu* menu = nullptr;
    for (const QAction* item : main.menuBar()->actions()) {
        if (item->text() == QString::fromUtf8("对象(&O)")) menu = item->menu();
    }
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    std::vector<int> ids;
    QAction* barcode = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        ids.push_back(action->data().toInt());
        if (ids.back() == 34537) barcode = action;
    }
    ASSERT_NE(barcode, nullptr);
    EXPECT_TRUE(barcode->isEnabled());
    const auto at = std::find(ids.begin(), ids.end(), 34537);
    EXPECT_EQ(*(at - 1), 34250);
    for (const char* name : {"ChineseFaceBox", "WesternFaceBox"}) {
        SCOPED_TRACE(name);
        const auto* box = main.findChild<FontNameBox*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr);
        const int first = box->findName(BarcodeFace::gbkName(BarcodeFace::Symbology::Ean13));
        ASSERT_GT(first, 1);
        EXPECT_EQ(box->itemData(first - 1, Qt::AccessibleDescriptionRole).toString(), QStringLiteral("separator"));
        EXPECT_EQ(box->count(), first + 8);
        EXPECT_EQ(box->findName(BarcodeFace::gbkName(BarcodeFace::Symbology::DataMatrix)), first + 7);
    }
}

// 插入条码 offers the prices beside the variables and the mall information: a price can be
// carried by a symbol too.
TEST(MainBars, BarcodesOfferThePricesAsContent) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    const auto* text = main.findChild<TextCommands*>();
    ASSERT_NE(text, nullptr);
    const QList<BarcodeDialog::Placeholder> offered = text->barcodePlaceholders();
    const struct {
        const char* name;
        int32_t kind;
    } prices[] = {{"原价", BlockKind::OriginalPrice}, {"现价", BlockKind::CurrentPrice}, {"折扣", BlockKind::Discount}};
    for (const auto& p : prices) {
        const auto it = std::find_if(offered.begin(), offered.end(), [&](const BarcodeDialog::Placeholder& o) {
            return o.name == QString::fromUtf8(p.name);
        });
        ASSERT_NE(it, offered.end()) << p.name;
        EXPECT_EQ(it->kind, p.kind) << p.name;
        EXPECT_TRUE(it->available) << p.name;
    }
    EXPECT_EQ(offered.size(), 10 + 3 + 5);
}
