#pragma once

#include <QFileInfoList>
#include <QString>
#include <QStringList>

namespace pemo {

// The library's folders beside the program and the rules for the files in them.
namespace LibraryFolders {

// <program folder>/底图模板: one sub-folder per background category.
QString backgroundRoot();
// <program folder>/图库: one sub-folder per picture category.
QString pictureRoot();
// <program folder>/贴图: the textures art text can be filled with.
QString textureRoot();
// The category the panels never add to or delete from.
QString blankCategory();

// The names of the sub-folders of a root, sorted by name; none when it is missing.
QStringList categories(const QString& root);

// Whether a file name ends in one of the library's picture types (".bmp", ".jpg",
// ".gif", ".wmf", ".emf", ".tif", ".pcx", ".tga", in any case).
bool isAcceptedType(const QString& fileName);

// The files of a folder with an accepted type, sorted by name.
QFileInfoList pictureFiles(const QString& folder);

// The library's name of an entry: its file name without its last four characters.
QString entryName(const QString& fileName);

// The files of a folder whose name, up to its last ".", is exactly name. Names are
// compared as they are, so "*", "?" and "[" match only themselves.
QStringList filesNamed(const QString& folder, const QString& name);

// The files of a folder whose name starts with prefix and ends with suffix (any case),
// compared literally.
QStringList filesStartingWith(const QString& folder, const QString& prefix,
                              const QString& suffix = QString());

// Sorts names the way the lists show them: Chinese by its reading, numbers by value.
void sortNames(QStringList& names);

}  // namespace LibraryFolders

}  // namespace pemo
