#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace pemo {

// The configuration dictionaries beside the program ("PemVar.dic" and the others):
// archive-encoded counts and texts.
namespace DicFile {

// The path of a dictionary or picture file in the program folder.
QString path(const QString& fileName);

// The file's bytes, or nothing when it cannot be opened.
std::optional<QByteArray> read(const QString& fileName);

// Replaces the file whole, also when it is read-only; the old file stays intact until
// the new one is complete. False when it cannot be written.
bool write(const QString& fileName, const QByteArray& bytes);

}  // namespace DicFile

}  // namespace pemo
