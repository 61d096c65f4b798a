#include "SourceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pemo {

namespace {

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return QString::fromUtf8("文件夹");
    if (S_ISFIFO(mode)) return QString::fromUtf8("命名管道（FIFO）");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QString::fromUtf8("设备");
    if (S_ISSOCK(mode)) return QString::fromUtf8("套接字");
    return QString::fromUtf8("特殊文件");
}

}  // namespace

SourceFile::Opened SourceFile::openRegular(QFile& file, const QString& path, qint64 maxSize) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for ever. The
    // check runs on the descriptor that is then read, so the path cannot change between.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A socket cannot be opened at all; say what it is all the same.
        if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
            return {Refusal::NotRegular, kindOf(info.st_mode)};
        }
        return {Refusal::CannotOpen, {}};
    }
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return {Refusal::CannotOpen, {}};
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return {Refusal::NotRegular, kindOf(info.st_mode)};
    }
    if (info.st_size > maxSize) {
        ::close(fd);
        return {Refusal::TooLarge, {}};
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {Refusal::CannotOpen, {}};
    }
    return {};
}

QString SourceFile::open(QFile& file, const QString& path) {
    switch (openRegular(file, path, kMaxSize).refusal) {
    case Refusal::None: return QString();
    case Refusal::NotRegular: return QString::fromUtf8("文件 %1 不是普通文件，无法导入。").arg(path);
    case Refusal::TooLarge: return QString::fromUtf8("文件 %1 太大，无法导入。").arg(path);
    case Refusal::CannotOpen: break;
    }
    return QString::fromUtf8("无法打开文件 %1。").arg(path);
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
