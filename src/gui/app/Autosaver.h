#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>

#include "core/document/CPatDoc.h"

namespace pemo {

class RecoveryStore;

// Keeps a recovery copy of the open document while it has unsaved changes: some time after
// the first change since the last copy (two minutes unless set otherwise) the document's
// stored form is taken on the window's thread and packed and written on a thread of its
// own, so typing never waits for the disk. No copy is taken while a drag is under way; it
// follows once the drag is over. The copy goes when the document is saved, replaced or
// closed.
class Autosaver : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultIntervalMs = 2 * 60 * 1000;

    // Chains itself into the document's change notification; the store must outlive it.
    Autosaver(CPatDoc& doc, RecoveryStore& store, QObject* parent = nullptr);
    ~Autosaver() override;

    void setInterval(int ms) { timer_.setInterval(ms); }
    // Whether a copy must wait (a drag on the canvas).
    std::function<bool()> isBusy;
    // The file the document belongs to, written into the copy's description.
    std::function<QString()> documentPath;

    // Takes a copy at once (a recovered document that must not be lost again).
    void saveNow();
    // Removes the copy (the document was saved or closed without saving).
    void discardCopy();
    // Runs task on the writing thread once every write asked for so far is done.
    void afterWrites(std::function<void()> task);
    // Blocks until the writing thread is idle.
    void waitForWrites();

    // Milliseconds the last copy held the window's thread.
    qint64 lastSnapshotMs() const { return lastSnapshotMs_; }

signals:
    void copyWritten();
    void writeFailed(const QString& message);

private:
    void documentChanged(CPatDoc::Change change);
    void timeout();

    CPatDoc& doc_;
    RecoveryStore& store_;
    std::function<void(CPatDoc::Change)> previous_;
    QTimer timer_;
    QTimer retry_;
    QThreadPool writer_;
    bool dirty_ = false;
    bool hasCopy_ = false;
    qint64 lastSnapshotMs_ = 0;
};

}  // namespace pemo
