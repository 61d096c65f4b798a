#pragma once

#include <QSaveFile>
#include <QString>
#include <functional>

namespace pemo {

// A file written through a temporary file beside it, renamed over the target only when
// every byte has reached the disk: a full disk or any other write failure leaves the old
// file as it was. (QSaveFile alone commits a file whose buffered bytes failed to reach
// the disk.)
class SafeFile {
public:
    explicit SafeFile(const QString& path);

    // Replaces a read-only target as well; the rename needs only the folder to be writable.
    void replaceReadOnly();
    bool open();
    QIODevice& device() { return file_; }
    // Flushes, checks and renames over the target; false when anything failed, and then
    // the target is untouched.
    bool commit();
    // Gives up a write that failed on the way: notes why and leaves the target untouched.
    void abandon();
    // Why open, commit or a write given up failed: "磁盘已满" when the disk is full, else the system's text.
    QString errorText() const { return error_; }

    // The whole file in one go; throws IoError ("无法保存文件 <path>：<reason>") on failure.
    static void write(const QString& path, const QByteArray& bytes, bool replaceReadOnly = false);
    // The same with the file's bytes written by writeTo as it makes them (false when a
    // write failed); out may be sought in.
    static void write(const QString& path, const std::function<bool(QIODevice& out)>& writeTo,
                      bool replaceReadOnly = false);
    // The text of a failed save of path, as the program shows it.
    static QString failureText(const QString& path, const QString& reason);

private:
    void noteFailure();

    QSaveFile file_;
    QString error_;
};

}  // namespace pemo
