#pragma once

#include <QString>
#include <stdexcept>

namespace pemo {

// How reading and writing files report failure, everywhere in the program:
// - FormatError (core/codecs/Archive.h): the bytes were read but refused — damaged, not
//   ours, a newer version. Its text is usually "非法文件".
// - IoError: the system could not read or write the file — missing, no permission, not a
//   regular file, disk full. Its text names the file and the system's reason.
// Both derive from FileError and carry the program's own text to show the user (UTF-8);
// the commands that open, save, import, export or print catch FileError and show it
// (the window) or print it with exit status 1 (the command line). Nothing is half
// written: writers go through SafeFile, which leaves the old file when anything fails.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

class IoError : public FileError {
public:
    using FileError::FileError;
};

}  // namespace pemo
