#pragma once

#include <QString>
#include <QStringList>

// The pictures of the starter library, drawn with QPainter: backgrounds, decorations
// for 图库 and textures for 贴图.
namespace LibraryPictures {

struct Background {
    QString category;
    QString name;
    QString path;  // where it was written
    bool landscape = false;
};

// Writes every background under <folder>/底图模板/<category>/ and returns them.
QList<Background> writeBackgrounds(const QString& folder);
// Writes the decorations under <folder>/图库/<category>/ and the textures under
// <folder>/贴图/; returns the decorations' paths.
QStringList writeDecorations(const QString& folder);
void writeTextures(const QString& folder);
// Writes the mall logos and the product-picture placeholder (PemLogo1, PemLogo2,
// PemProd as ".bmp") into the folder, each only when it has neither a ".wmf" nor a
// ".bmp" yet: a logo the user chose stays.
void writeProgramPictures(const QString& folder);

}  // namespace LibraryPictures
