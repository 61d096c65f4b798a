#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QLocalSocket>

#include "ScriptedMessages.h"
#include "gui/app/CPatApp.h"
#include "gui/app/CPatMain.h"
#include "gui/app/InstanceChannel.h"
#include "gui/app/SplashWindow.h"
#include "core/document/DocumentFile.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordCommands.h"

using namespace pemo;
namespace RC = RecordCommand;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir().path());
    }
    static QTemporaryDir& settingsDir() {
        static QTemporaryDir dir;
        return dir;
    }
};

}  // namespace

TEST_F(MainWindowTest, StartsWithANewUntitledDocument) {
    CPatApp app;
    ASSERT_TRUE(app.initInstance({QStringLiteral("pemo")}));
    CPatMain* main = app.mainFrame();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->windowTitle(), QString::fromUtf8("佩墨 - 无标题"));
    EXPECT_EQ(mainFrame(), main);
    ASSERT_NE(document(), nullptr);
    EXPECT_EQ(document()->recordCount(), 1);
    EXPECT_EQ(currentRecord(), document()->recordAt(0));
    EXPECT_TRUE(main->isVisible());
}

TEST_F(MainWindowTest, TheRecordMenuInsertsDeletesAndNavigates) {
    CPatApp app;
    ASSERT_TRUE(app.initInstance({QStringLiteral("pemo")}));
    CPatMain* main = app.mainFrame();
    main->updateCommands();
    EXPECT_FALSE(main->action(RC::Delete)->isEnabled());
    main->action(RC::InsertFirst + 2)->trigger();  // 信息插入(3条)
    EXPECT_EQ(document()->recordCount(), 4);
    EXPECT_EQ(document()->currentIndex(), 0);
    EXPECT_TRUE(document()->isModified());
    EXPECT_TRUE(main->action(RC::Delete)->isEnabled());
    main->action(RC::Last)->trigger();
    EXPECT_EQ(document()->currentIndex(), 3);
    EXPECT_FALSE(main->action(RC::Next)->isEnabled());
    test::ScriptedMessages answers{Messages::Answer::No, Messages::Answer::Yes};
    main->action(RC::Delete)->trigger();  // asks first: No keeps the record
    EXPECT_EQ(document()->recordCount(), 4);
    main->action(RC::Delete)->trigger();
    EXPECT_EQ(answers.asked, (QStringList{QString::fromUtf8("删除第4项信息?"),
                                          QString::fromUtf8("删除第4项信息?")}));
    EXPECT_EQ(document()->recordCount(), 3);
    EXPECT_EQ(document()->currentIndex(), 2);
    EXPECT_EQ(main->windowTitle(), QString::fromUtf8("佩墨 - 无标题*"));
}

TEST_F(MainWindowTest, ASecondStartHandsItsFileOver) {
    CPatApp app;
    ASSERT_TRUE(app.initInstance({QStringLiteral("pemo")}));
    // The handed path names no file: the refusal goes to scripted messages.
    test::ScriptedMessages scripted;
    Messages::install(&scripted);
    QString received;
    // The running program's channel answers; the path arrives as an open request.
    auto* channel = app.findChild<InstanceChannel*>();
    ASSERT_NE(channel, nullptr);
    QObject::connect(channel, &InstanceChannel::openRequested,
                     [&received](const QString& path) { received = path; });
    // A second start connects, sends the path as one line and waits for "ok".
    QLocalSocket second;
    second.connectToServer(InstanceChannel::serverName());
    second.write("/tmp/x.vxq\n");
    QElapsedTimer timer;
    timer.start();
    while ((received.isEmpty() || second.bytesAvailable() == 0) && timer.elapsed() < 3000) {
        QApplication::processEvents();
    }
    EXPECT_TRUE(second.readAll().startsWith("ok"));
    EXPECT_EQ(received, QStringLiteral("/tmp/x.vxq"));
}

namespace {

// Tells nothing; while a message is shown, the splash goes away as after a click.
class SplashClosingMessages : public Messages {
public:
    Answer ask(const QString&, Buttons) override { return Answer::No; }
    void inform(const QString& text) override {
        informed << text;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<SplashWindow*>(w)) delete w;
        }
    }
    QStringList informed;
};

}  // namespace

TEST_F(MainWindowTest, ARefusedFileOnTheCommandLineLeavesANewDocument) {
    QTemporaryDir dir;
    QFile damaged(dir.filePath(QStringLiteral("damaged.vxq")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("\x08QRWNPEMF") + QByteArray(40, '\x7f'));
    damaged.close();
    for (const QString& file : {damaged.fileName(), dir.filePath(QStringLiteral("missing.vxq"))}) {
        SCOPED_TRACE(file.toStdString());
        CPatApp app;
        SplashClosingMessages messages;
        Messages::install(&messages);
        ASSERT_TRUE(app.initInstance({QStringLiteral("pemo"), file}));
        QApplication::processEvents();
        EXPECT_EQ(messages.informed.size(), 1);
        EXPECT_EQ(app.mainFrame()->windowTitle(), QString::fromUtf8("佩墨 - 无标题"));
        EXPECT_EQ(document()->recordCount(), 1);
        // The user works on in the new document.
        app.mainFrame()->action(RecordCommand::InsertFirst)->trigger();
        EXPECT_EQ(document()->recordCount(), 2);
        Messages::install(nullptr);
    }
}

TEST_F(MainWindowTest, ARecentFileThatNoLongerOpensLeavesTheList) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone.vxq"));
    {
        CPatDoc doc;
        doc.newDocument();
        DocumentFile::save(doc, path);
    }
    CPatApp app;
    ASSERT_TRUE(app.initInstance({QStringLiteral("pemo")}));
    ASSERT_TRUE(app.openDocument(path));
    EXPECT_TRUE(app.recentFiles().files().contains(path));
    QFile::remove(path);
    test::ScriptedMessages scripted;
    EXPECT_FALSE(app.openDocument(path));
    EXPECT_FALSE(app.recentFiles().files().contains(path));
    EXPECT_EQ(scripted.informed.size(), 1);
}

TEST_F(MainWindowTest, ALaterStartNeverTakesTheChannelOfARunningOne) {
    CPatApp app;
    ASSERT_TRUE(app.initInstance({QStringLiteral("pemo")}));
    {
        // A second start without a file runs on its own and closes again.
        InstanceChannel second;
        EXPECT_FALSE(second.listen());
    }
    QLocalSocket later;
    later.connectToServer(InstanceChannel::serverName());
    EXPECT_TRUE(later.waitForConnected(2000)) << "the first program still takes files";
}
