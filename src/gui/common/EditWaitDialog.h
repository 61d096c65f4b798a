#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace pemo {

class PictureEdit;

// The window shown while a picture is in an outside editor. It is modal, but the program
// goes on painting and the editor's progress shows in it: 完成 takes the edited copy
// back, 取消 (or closing the window) leaves the picture as it was. When the editor that
// changed the copy closes, the window finishes on its own.
class EditWaitDialog : public QDialog {
    Q_OBJECT
public:
    EditWaitDialog(PictureEdit& edit, const QString& editorName, const QString& fileName,
                   QWidget* parent = nullptr);

    QPushButton* doneButton() const { return done_; }
    QPushButton* cancelButton() const { return cancel_; }

    void done(int result) override;

private:
    void showState();

    PictureEdit& edit_;
    QLabel* state_;
    QPushButton* done_;
    QPushButton* cancel_;
};

}  // namespace pemo
