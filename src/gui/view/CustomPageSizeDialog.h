#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace pemo {

// "自定义模板幅面": the page's width and height in whole millimetres. 确认 is enabled only
// while both lie between 20 and 2000; typing that does not make a whole number is
// refused with "请键入一个整数。".
class CustomPageSizeDialog : public QDialog {
    Q_OBJECT
public:
    CustomPageSizeDialog(int widthMm, int heightMm, QWidget* parent = nullptr);

    int widthMm() const;
    int heightMm() const;

    QLineEdit* widthEdit() const { return width_; }
    QLineEdit* heightEdit() const { return height_; }
    QPushButton* confirmButton() const { return confirm_; }

private:
    QLineEdit* addEdit(int value);
    // Keeps the last whole number (or empty text) of an edit when typing spoils it.
    void checkTyped(QLineEdit* edit);
    void updateConfirm();

    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QPushButton* confirm_ = nullptr;
};

}  // namespace pemo
