#pragma once

#include <QDialog>

namespace pemo {

// The program's own HTML help, shown from the program folder.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // Opens the help at its default topic; reports a missing help file.
    static void showHelp(QWidget* parent);
    static QString helpFile();

private:
    explicit HelpWindow(const QString& file, QWidget* parent);
};

}  // namespace pemo
