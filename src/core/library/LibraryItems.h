#pragma once

#include <QSize>
#include <QString>
#include <QVector>

#include "core/pictures/PictureDescription.h"

namespace pemo {

// One background of a category: a description of kind 1 whose size comes from the
// picture file's header (the picture is decoded only for its thumbnail). A file with
// no such header is listed unmeasured, 0 × 0, until its thumbnail or a choice of it
// decodes it.
struct BackgroundItem {
    PictureDescription description;
    bool measured = true;
    QString caption() const;  // "name(wxh)"
    QString path() const { return description.filePath; }
};

// One template of a background.
struct TemplateItem {
    PictureDescription background;  // the background it belongs to
    QString templateName;           // the part of the file name after its last "-"
    QString templatePath;
    QString previewPath;  // the template path ending in "bmp"
    int widthMm = 0;
    int heightMm = 0;
    // "background-template(A4)", or with "(wxh)" for sizes other than A4 … A0.
    QString caption() const;
};

// One picture of a category of the picture library (or of the textures).
struct PictureItem {
    PictureDescription description;  // kind 2 (3 for a texture)
    bool measured = true;            // as for a background
    QString caption() const;         // "name(wxh)"
    QString path() const { return description.filePath; }
};

namespace LibraryItems {

// Whether a file's pixel size is known only by decoding the picture (metafiles, PCX
// and TGA).
bool sizeNeedsDecoding(const QString& path);

enum class Measure { Whole, HeaderOnly };
// A description of a library file with its pixel size read from the file's header
// where the format allows, else (Measure::Whole) from the decoded picture; 0 × 0 when
// it does not decode or is left unmeasured.
PictureDescription describe(const QString& path, PictureDescription::Kind kind,
                            const QString& category, const QString& name,
                            Measure how = Measure::Whole);
// Puts a measured pixel size into a description (0 × 0 for an empty one).
void takeSize(PictureDescription& d, QSize size);

// The backgrounds of a category, sorted by name.
QVector<BackgroundItem> backgrounds(const QString& category);
// The templates of one background, sorted by name: those whose file has a readable
// header, a preview beside it and a name with a "-" after its first character.
QVector<TemplateItem> templates(const BackgroundItem& background);
// The pictures of a category of 图库, sorted by name.
QVector<PictureItem> pictures(const QString& category);
// The textures of 贴图 (kind 3, no category), sorted by name.
QVector<PictureItem> textures();

// The folder of a background's templates: its path up to its last "." and "-TMPL".
QString templateFolder(const QString& backgroundPath);

}  // namespace LibraryItems

}  // namespace pemo
