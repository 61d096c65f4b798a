#include "SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pemo {

QString SourceFile::open(QFile& file, const QString& path) {
    const QString cannotOpen = QString::fromUtf8("无法打开文件 %1。").arg(path);
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for ever. The
    // check runs on the descriptor that is then read, so the path cannot change between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return cannotOpen;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return cannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return QString::fromUtf8("文件 %1 不是普通文件，无法导入。").arg(path);
    }
    if (info.st_size > kMaxSize) {
        ::close(fd);
        return QString::fromUtf8("文件 %1 太大，无法导入。").arg(path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return cannotOpen;
    }
    return QString();
}

QString SourceFile::problem(const QString& path) {
    QFile file;
    return open(file, path);
}

QByteArray SourceFile::head(const QString& path, qint64 count) {
    QFile file;
    if (!open(file, path).isEmpty()) return QByteArray();
    return file.read(count);
}

}  // namespace pemo
