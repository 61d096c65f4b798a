#pragma once

// Stand-in picture editors for the outside-editor tests: small shell scripts written into
// the test's own folder, which becomes the whole PATH while the object lives (so no real
// editor on the machine is ever found). Scripts call other programs by absolute path.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

namespace pemo::test {

class FakeEditors {
public:
    FakeEditors() : oldPath_(qgetenv("PATH")) { qputenv("PATH", dir_.path().toUtf8()); }
    ~FakeEditors() { qputenv("PATH", oldPath_); }
    FakeEditors(const FakeEditors&) = delete;
    FakeEditors& operator=(const FakeEditors&) = delete;

    QString folder() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

    // An executable /bin/sh script named name; $1 is the file to edit. The folder is in
    // $FAKE. Returns its path.
    QString add(const QString& name, const QString& body) const {
        const QString path = file(name);
        QFile script(path);
        script.open(QIODevice::WriteOnly | QIODevice::Truncate);
        script.write("#!/bin/sh\nFAKE='" + dir_.path().toUtf8() + "'\n" + body.toUtf8() + "\n");
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner);
        return path;
    }

    // Editors that behave like the real kinds:
    // appends two bytes to the file and ends (an editor closed after saving);
    QString addAppending(const QString& name) const {
        return add(name, QStringLiteral("printf 'xy' >> \"$1\""));
    }
    // ends at once, then, once the test creates "go", appends (a launcher handing the
    // file to an editor that is already running);
    QString addLauncher(const QString& name) const {
        return add(name, QStringLiteral("( while [ ! -e \"$FAKE/go\" ]; do /bin/sleep 0.05; done; "
                                        "printf 'xy' >> \"$1\"; : > \"$FAKE/done\" ) &"));
    }
    // a file that looks like a script but cannot be run;
    QString addBroken(const QString& name) const {
        const QString path = add(name, QString());
        QFile script(path);
        script.open(QIODevice::WriteOnly | QIODevice::Truncate);
        script.write("#!/nonexistent/interpreter\n");
        return path;
    }
    // writes how many arguments it got and the first one, then ends without editing.
    QString addRecorder(const QString& name) const {
        return add(name, QStringLiteral("printf '%s\\n%s' \"$#\" \"$1\" > \"$FAKE/args\""));
    }

    void release(const QString& name) const {
        QFile go(file(name));
        go.open(QIODevice::WriteOnly);
    }

private:
    QTemporaryDir dir_;
    QByteArray oldPath_;
};

// Runs the event loop until done() holds or the time is up; the final answer of done().
inline bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

}  // namespace pemo::test
