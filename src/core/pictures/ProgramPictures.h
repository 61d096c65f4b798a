#pragma once

#include <QString>

namespace pemo {

class Picture;

// The pictures kept beside the program rather than in documents: the two mall logos
// and the product-picture placeholder. Each is "<name>.wmf" in the program folder, or,
// when that does not load, "<name>.bmp". They are read again whenever the files
// change, so replacing a logo file changes every sign on its next repaint.
namespace ProgramPictures {

enum class Which { Logo1, Logo2, Product };

// The picture to draw; null when neither file loads. The pointer stays valid until the
// next call for the same picture.
const Picture* picture(Which which);

// The base name in the program folder: "PemLogo1", "PemLogo2" or "PemProd".
QString baseName(Which which);

}  // namespace ProgramPictures

}  // namespace pemo
