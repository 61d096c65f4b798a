#pragma once

#include <QString>

namespace pemo {

// The mall logos and the product-picture placeholder kept beside the program:
// "PemLogo1", "PemLogo2" and "PemProd", each as ".wmf" or else ".bmp".
namespace ConfigPictures {

enum class Which { Logo1, Logo2, Product };

// The file to draw: the ".wmf" when it exists, else the ".bmp"; empty when neither.
QString path(Which which);

// Replaces the picture with a chosen file: a ".wmf" is copied unchanged, any other
// picture is stored as a ".bmp" drawn on white at its own size, its width rounded up
// to a multiple of 4. The new file is complete before the old ones go. False when the
// chosen file cannot be read or the new file cannot be written; the old files stay.
bool replace(Which which, const QString& chosenFile);

}  // namespace ConfigPictures

}  // namespace pemo
