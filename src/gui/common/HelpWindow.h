#pragma once

#include <QDialog>
#include <QString>

class QDialogButtonBox;

namespace pemo {

// The program's own HTML help, shown from the program folder.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // Opens the help at a page of PemoHelp ("labels.html"), at its contents by default;
    // reports a missing help file. From a dialog the help opens beside it.
    static void showHelp(QWidget* parent, const QString& page = QString());
    static QString helpFile(const QString& page = QString());
    // A dialog's 帮助 button (and F1 in it) opens the page.
    static void addHelpButton(QDialogButtonBox* buttons, QDialog* dialog, const QString& page);

    QString shownPage() const;

private:
    explicit HelpWindow(const QString& file, QWidget* parent);
    void showFile(const QString& file);
};

}  // namespace pemo
