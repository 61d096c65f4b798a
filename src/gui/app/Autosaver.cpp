#include "Autosaver.h"

#include <QDateTime>
#include <QElapsedTimer>

#include "core/document/DocumentFile.h"
#include "core/document/RecoveryStore.h"
#include "core/platform/FileError.h"

namespace pemo {

namespace {
// How soon a copy held back by a drag is tried again.
constexpr int kRetryMs = 1000;
}  // namespace

Autosaver::Autosaver(CPatDoc& doc, RecoveryStore& store, QObject* parent)
    : QObject(parent), doc_(doc), store_(store), previous_(std::move(doc.onChange)) {
    // One writer: copies and removals reach the disk in the order they were asked for.
    writer_.setMaxThreadCount(1);
    timer_.setSingleShot(true);
    timer_.setInterval(kDefaultIntervalMs);
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&timer_, &QTimer::timeout, this, &Autosaver::timeout);
    connect(&retry_, &QTimer::timeout, this, &Autosaver::timeout);
    doc_.onChange = [this](CPatDoc::Change change) {
        if (previous_) previous_(change);
        documentChanged(change);
    };
}

Autosaver::~Autosaver() {
    doc_.onChange = std::move(previous_);
    writer_.waitForDone();
}

void Autosaver::documentChanged(CPatDoc::Change change) {
    if (!doc_.isModified()) {
        // Saved, or replaced by a new or opened document.
        if (dirty_ || hasCopy_) discardCopy();
        return;
    }
    if (change != CPatDoc::Change::Modified) return;
    dirty_ = true;
    if (!timer_.isActive() && !retry_.isActive()) timer_.start();
}

void Autosaver::timeout() {
    if (!dirty_ || !doc_.isModified() || !store_.isActive()) return;
    if (isBusy && isBusy()) {
        retry_.start();
        return;
    }
    saveNow();
}

void Autosaver::saveNow() {
    if (!store_.isActive()) return;
    timer_.stop();
    retry_.stop();
    QElapsedTimer clock;
    clock.start();
    const QByteArray body = DocumentFile::writeBody(doc_);
    lastSnapshotMs_ = clock.elapsed();
    dirty_ = false;
    hasCopy_ = true;
    const QString copyPath = store_.copyPath();
    const QString documentFile = documentPath ? documentPath() : QString();
    const QDateTime now = QDateTime::currentDateTime();
    writer_.start([this, body, copyPath, documentFile, now] {
        try {
            RecoveryStore::writeCopy(copyPath, DocumentFile::pack(body), documentFile, now);
            QMetaObject::invokeMethod(this, &Autosaver::copyWritten, Qt::QueuedConnection);
        } catch (const FileError& error) {
            const QString message = error.message();
            QMetaObject::invokeMethod(this, [this, message] { emit writeFailed(message); },
                                      Qt::QueuedConnection);
        }
    });
}

void Autosaver::discardCopy() {
    timer_.stop();
    retry_.stop();
    dirty_ = false;
    hasCopy_ = false;
    const QString copyPath = store_.copyPath();
    writer_.start([copyPath] { RecoveryStore::removeCopy(copyPath); });
}

void Autosaver::afterWrites(std::function<void()> task) { writer_.start(std::move(task)); }

void Autosaver::waitForWrites() { writer_.waitForDone(); }

}  // namespace pemo
