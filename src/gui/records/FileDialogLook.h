#pragma once

#include <QString>

class QFileDialog;

namespace pemo {

// What every file dialog of the program starts with: the user's documents folder (not
// the program's), and a name column wide enough for long Chinese file names.
class FileDialogLook {
public:
    // The user's documents folder, or the home folder when there is none.
    static QString documentsFolder();
    // Applies both to a dialog built with DontUseNativeDialog.
    static void prepare(QFileDialog& dialog);
};

}  // namespace pemo
