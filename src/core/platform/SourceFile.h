#pragma once

#include <QFile>
#include <QString>

namespace pemo {

// A file the program reads data from (a document, a table to import, a database): a
// regular file of at most kMaxSize bytes. A FIFO, a device such as /dev/zero or a folder
// is refused before anything waits on it or reads without end.
class SourceFile {
public:
    // A text, workbook or database larger than this is no product list.
    static constexpr qint64 kMaxSize = qint64(1) << 30;

    // Opens path for reading into file, never blocking on a FIFO. Empty when it worked,
    // else the text to show: "无法打开文件 <path>。" when the file is missing or cannot
    // be read, "文件 <path> 不是普通文件，无法导入。" or "文件 <path> 太大，无法导入。".
    static QString open(QFile& file, const QString& path);
    // The same check without keeping the file open.
    static QString problem(const QString& path);
    // Up to count bytes from the start of a file that passes the check; empty otherwise.
    static QByteArray head(const QString& path, qint64 count);

    // The same opening for any reader, told apart by what went wrong; `kind` names what a
    // path that is no regular file is ("文件夹", "命名管道（FIFO）", "设备" …).
    enum class Refusal { None, CannotOpen, NotRegular, TooLarge };
    struct Opened {
        Refusal refusal = Refusal::None;
        QString kind;
    };
    static Opened openRegular(QFile& file, const QString& path, qint64 maxSize);
};

}  // namespace pemo
