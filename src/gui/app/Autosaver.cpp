#include "Autosaver.h"

#include <QDateTime>
#include <QElapsedTimer>

#include "core/document/DocumentFile.h"
#include "core/document/RecoveryStore.h"
#include "core/document/SlicedBody.h"
#include "core/platform/FileError.h"

namespace pemo {

namespace {
// How soon a copy held back by a drag, or begun again after a change, is tried again.
constexpr int kRetryMs = 500;
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
    slice_.setSingleShot(true);
    slice_.setInterval(0);
    connect(&slice_, &QTimer::timeout, this, &Autosaver::nextSlice);
    doc_.onChange = [this](CPatDoc::Change change) {
        if (previous_) previous_(change);
        documentChanged(change);
    };
}

Autosaver::~Autosaver() {
    slices_.reset();
    doc_.onChange = std::move(previous_);
    writer_.waitForDone();
}

void Autosaver::documentChanged(CPatDoc::Change change) {
    if (slices_) {
        // What was taken so far no longer matches the document.
        slices_.reset();
        slice_.stop();
        retry_.start();
    }
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
    if (!dirty_ || !doc_.isModified() || !store_.isActive() || slices_) return;
    if (isBusy && isBusy()) {
        retry_.start();
        return;
    }
    slices_ = std::make_unique<SlicedBody>(doc_);
    lastSnapshotMs_ = 0;
    nextSlice();
}

void Autosaver::nextSlice() {
    if (!slices_) return;
    if (isBusy && isBusy()) {
        slices_.reset();
        retry_.start();
        return;
    }
    const bool done = slices_->step(kSliceMs);
    lastSnapshotMs_ = slices_->longestStepMs();
    if (!done) {
        slice_.start();
        return;
    }
    std::vector<QByteArray> parts = slices_->takeParts();
    slices_.reset();
    dirty_ = false;
    write(std::move(parts));
}

void Autosaver::saveNow() {
    if (!store_.isActive()) return;
    timer_.stop();
    retry_.stop();
    slice_.stop();
    slices_.reset();
    QElapsedTimer clock;
    clock.start();
    std::vector<QByteArray> parts{DocumentFile::writeBody(doc_)};
    lastSnapshotMs_ = clock.elapsed();
    dirty_ = false;
    write(std::move(parts));
}

void Autosaver::write(std::vector<QByteArray> parts) {
    hasCopy_ = true;
    const QString copyPath = store_.copyPath();
    const QString documentFile = documentPath ? documentPath() : QString();
    const QDateTime now = QDateTime::currentDateTime();
    writer_.start([this, parts = std::move(parts), copyPath, documentFile, now] {
        try {
            // The parts go to the file as they are, never joined or packed in memory.
            RecoveryStore::writeCopy(
                copyPath, [&](QIODevice& out) { return DocumentFile::writeFile(out, parts); }, documentFile, now);
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
    slice_.stop();
    slices_.reset();
    dirty_ = false;
    hasCopy_ = false;
    const QString copyPath = store_.copyPath();
    writer_.start([copyPath] { RecoveryStore::removeCopy(copyPath); });
}

void Autosaver::afterWrites(std::function<void()> task) { writer_.start(std::move(task)); }

void Autosaver::waitForWrites() { writer_.waitForDone(); }

}  // namespace pemo
