#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "core/document/CPatDoc.h"

namespace pemo {

class RecoveryStore;
class SlicedBody;

// Keeps a recovery copy of the open document while it has unsaved changes: some time after
// the first change since the last copy (two minutes unless set otherwise) the document's
// stored form is taken on the window's thread a few records at a time (a slice never holds
// it for more than a few milliseconds, whatever the document's size), then packed and
// written on a thread of its own, so typing never waits. A change while the slices run
// starts the copy again a moment later; no copy is taken while a drag is under way. The
// copy goes when the document is saved, replaced or closed.
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

    // Takes a copy at once, in one go (a recovered document that must not be lost again).
    void saveNow();
    // Whether a copy is being taken slice by slice.
    bool isTakingCopy() const { return slices_ != nullptr; }
    // Removes the copy (the document was saved or closed without saving).
    void discardCopy();
    // Runs task on the writing thread once every write asked for so far is done.
    void afterWrites(std::function<void()> task);
    // Blocks until the writing thread is idle.
    void waitForWrites();

    // The longest time, in milliseconds, the last copy held the window's thread at once.
    qint64 lastSnapshotMs() const { return lastSnapshotMs_; }
    // How long one slice may run.
    static constexpr int kSliceMs = 8;

signals:
    void copyWritten();
    void writeFailed(const QString& message);

private:
    void documentChanged(CPatDoc::Change change);
    void timeout();
    void nextSlice();
    // Joins the parts of a body, packs and writes it, on the writing thread.
    void write(std::vector<QByteArray> parts);

    CPatDoc& doc_;
    RecoveryStore& store_;
    std::function<void(CPatDoc::Change)> previous_;
    QTimer timer_;
    QTimer retry_;
    QTimer slice_;
    std::unique_ptr<SlicedBody> slices_;
    QThreadPool writer_;
    bool dirty_ = false;
    bool hasCopy_ = false;
    qint64 lastSnapshotMs_ = 0;
};

}  // namespace pemo
