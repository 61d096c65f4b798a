#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace pemo {

// One edit of a picture file in an outside editor, on a working copy:
//   start   removes an old working copy, copies the source in and starts the editor on
//           it (an argument list, never a shell); nothing is left behind when any of
//           this fails;
//   waiting the editor's process and the working copy are watched (a file watcher and a
//           short timer); editors that hand the file to a running instance and return at
//           once do not end the edit;
//   finish  takes the copy back only when its bytes changed and still make a picture,
//           through a temporary file renamed over the target, then removes the copy;
//   cancel  removes the copy and leaves the source alone.
// The editor itself is never stopped: it may stay open after the edit is over.
// Only one edit runs at a time in the program.
class PictureEdit : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Updated, Unchanged, Failed };

    explicit PictureEdit(QObject* parent = nullptr);
    // An edit still waiting is cancelled.
    ~PictureEdit() override;

    // Where the working copy goes; the temp folder unless set before start.
    void setWorkingFolder(const QString& folder) { folder_ = folder; }

    // False, with errorText(), when another edit is running, an old working copy cannot
    // be removed, the source cannot be read or copied, or the program cannot be started.
    bool start(const QString& program, const QString& source);

    const QString& workingCopy() const { return workingCopy_; }
    bool isWaiting() const { return waiting_; }
    // The working copy's bytes differ from the source's as copied in (as last looked at).
    bool hasChanged() const { return changed_; }
    bool editorRunning() const { return pid_ > 0; }
    // The editor's process ended while the copy had already changed: the editor that
    // made the change has closed, so the edit can be taken back without asking.
    bool endedAfterChange() const { return endedAfterChange_; }

    // Looks at the working copy now (the watcher and timer do so on their own).
    void check();

    // Ends the edit. A changed copy is written over target (the source when empty);
    // Failed, with errorText(), when that cannot be done, and the edited copy is then
    // kept beside under a name of its own (keptCopy()) so that nothing is lost.
    Outcome finish(const QString& target = QString());
    void cancel();

    QString errorText() const { return error_; }
    QString keptCopy() const { return kept_; }

    // An edit is running somewhere in the program.
    static bool isEditing();

signals:
    // The working copy changed (or changed back), or the editor's process ended.
    void stateChanged();
    void editorEnded();

private:
    bool fail(const QString& text);
    void watchProcess();
    void end();

    QString folder_;
    QString source_;
    QString workingCopy_;
    QString program_;
    QByteArray originalHash_;
    bool sourceIsPicture_ = false;
    qint64 seenSize_ = -1;
    QDateTime seenTime_;
    qint64 pid_ = 0;
    bool waiting_ = false;
    bool changed_ = false;
    bool endedAfterChange_ = false;
    QString error_;
    QString kept_;
    QFileSystemWatcher watcher_;
    QTimer poll_;
};

}  // namespace pemo
