#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "core/blocks/BlockKind.h"
#include "core/document/CPatDoc.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/app/StatusNote.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"
#include "gui/view/ObjectMenu.h"
#include "gui/view/TextCommands.h"

using namespace pemo;

// After 插入条码 → 确定 the status bar says what to do next, for as long as the barcode
// waits to be placed.
TEST(StatusNote, InsertingABarcodeSaysWhatToDoNextUntilItIsPlaced) {
    CPatApp app;
    CPatDoc doc;
    CPatMain main(app, doc);
    doc.newDocument();
    main.show();
    QTimer::singleShot(50, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    main.findCommand(34537)->trigger();  // 插入条码
    ASSERT_TRUE(main.view()->canvas()->pendingBarcode());
    StatusNote* note = main.statusNote();
    EXPECT_TRUE(note->isVisibleTo(&main));
    EXPECT_TRUE(note->text().contains(QString::fromUtf8("拖出"))) << note->text().toStdString();

    CPatCanvas* canvas = main.view()->canvas();
    const QPoint at(40, 40);
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), QPointF(canvas->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    }
    EXPECT_EQ(doc.currentRecord()->blocks.size(), 1u);
    EXPECT_FALSE(note->isVisibleTo(&main)) << "placed: nothing more to do";
}
