#include <gtest/gtest.h>

#include <QEventLoop>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <thread>

#include "gui/app/InstanceChannel.h"

using namespace pemo;

// Opening a handed file may ask whether to save the open document or report a refused
// file: a modal box runs its own event loop, during which the second start, having got
// its answer, goes away. The request is served once its connection is done with, so that
// nothing returns into a connection the box's loop has deleted.
TEST(InstanceChannelTest, AModalBoxWhileOpeningOutlivesTheSecondStartLeaving) {
    InstanceChannel channel;
    ASSERT_TRUE(channel.listen());
    std::atomic<bool> handed{false};
    int opened = 0;
    int connectionsWhileOpening = -1;
    QObject::connect(&channel, &InstanceChannel::openRequested, [&](const QString&) {
        ++opened;
        connectionsWhileOpening = int(channel.findChildren<QLocalSocket*>().size());
        QEventLoop modal;
        QTimer::singleShot(600, &modal, &QEventLoop::quit);
        modal.exec();
    });
    // The second start blocks on the socket as a separate program would.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("x.vxq"));
    std::thread second([&handed, file] { handed = InstanceChannel::handOver(file); });
    QEventLoop running;
    QTimer::singleShot(1500, &running, &QEventLoop::quit);
    running.exec();
    second.join();
    EXPECT_TRUE(handed);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(connectionsWhileOpening, 0);
}
