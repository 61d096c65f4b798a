// A document or template path that names no regular file is refused at once, saying what
// it names, by every command that opens one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"

#include "RunPemo.h"

using namespace pemo;

namespace {

TEST(DocumentPathKinds, EveryCommandRefusesWhatIsNoRegularFileAndSaysWhatItIs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath("home");
    QDir().mkpath(home);
    const QString fifo = dir.filePath("管道.vxq");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath("文件夹.vxq");
    QDir().mkpath(folder);
    const QString list = dir.filePath("list.csv");
    {
        QFile file(list);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("A1,Apple,3.50\n");
    }
    CPatDoc doc;
    doc.newDocument();
    const QString document = dir.filePath("doc.vxq");
    DocumentFile::save(doc, document);
    const QString out = dir.filePath("out.pdf");

    struct Kind {
        QString path;
        const char* says;
    };
    const Kind kinds[] = {{fifo, "命名管道"}, {folder, "文件夹"}, {"/dev/null", "设备"}};
    for (const Kind& kind : kinds) {
        const QStringList commands[] = {
            {"--check", kind.path},
            {"--export", out, kind.path},
            {"--dump", kind.path},
            {"--update", kind.path, "--from", list, "--match", "1", "--export", out},
            {"--import", list, "--template", kind.path, "--export", out},
        };
        for (const QStringList& command : commands) {
            SCOPED_TRACE(command.join(' ').toStdString());
            // A run that waits on a FIFO never ends by itself: it is stopped after 10 s.
            const test::PemoRun outcome = test::runPemo(command, home, {}, {10});
            EXPECT_EQ(outcome.exitCode, 1) << outcome.err.toStdString();
            EXPECT_TRUE(outcome.err.contains(kind.path)) << outcome.err.toStdString();
            EXPECT_TRUE(outcome.err.contains(QString::fromUtf8(kind.says))) << outcome.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(out));
        }
    }
    // The check on a real document still runs.
    EXPECT_NE(test::runPemo({"--check", document}, home).exitCode, -1);
}

}  // namespace
