#include "SafeFile.h"

#include <cerrno>

#include "FileError.h"

namespace pemo {

namespace {

bool isDiskFull(int error) {
#ifdef EDQUOT
    if (error == EDQUOT) return true;
#endif
    return error == ENOSPC || error == EFBIG;
}

}  // namespace

SafeFile::SafeFile(const QString& path) : file_(path) {}

void SafeFile::replaceReadOnly() { file_.setDirectWriteFallback(false); }

bool SafeFile::open() {
    errno = 0;
    if (file_.open(QIODevice::WriteOnly)) return true;
    noteFailure();
    return false;
}

bool SafeFile::commit() {
    errno = 0;
    // A buffered write that failed shows up only here; commit() would rename anyway.
    if (!file_.flush() || file_.error() != QFileDevice::NoError) {
        noteFailure();
        file_.cancelWriting();
        return false;
    }
    if (!file_.commit()) {
        noteFailure();
        return false;
    }
    return true;
}

void SafeFile::abandon() {
    noteFailure();
    file_.cancelWriting();
}

void SafeFile::noteFailure() {
    const int error = errno;
    error_ = isDiskFull(error) ? QString::fromUtf8("磁盘已满") : file_.errorString();
}

void SafeFile::write(const QString& path, const QByteArray& bytes, bool replaceReadOnly) {
    write(path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); }, replaceReadOnly);
}

void SafeFile::write(const QString& path, const std::function<bool(QIODevice& out)>& writeTo,
                     bool replaceReadOnly) {
    SafeFile file(path);
    if (replaceReadOnly) file.replaceReadOnly();
    if (!file.open()) throw IoError(failureText(path, file.errorText()));
    errno = 0;
    if (!writeTo(file.device())) {
        file.abandon();
        throw IoError(failureText(path, file.errorText()));
    }
    if (!file.commit()) throw IoError(failureText(path, file.errorText()));
}

QString SafeFile::failureText(const QString& path, const QString& reason) {
    return QString::fromUtf8("无法保存文件 %1：%2").arg(path, reason);
}

}  // namespace pemo
