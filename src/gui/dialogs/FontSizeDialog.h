#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace pemo {

// 字号: a size typed or picked from the listed ones, 5 to 360 points. A size that
// cannot be taken greys out 确定 and the dialog says why.
class FontSizeDialog : public QDialog {
    Q_OBJECT
public:
    FontSizeDialog(int current, QWidget* parent = nullptr);

    int points() const;

    QComboBox* sizeBox() const { return size_; }
    QLabel* problemLabel() const { return problem_; }
    QPushButton* okButton() const { return ok_; }

private:
    void check();

    QComboBox* size_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace pemo
