#pragma once

#include "CResImageLoad.h"
#include "core/library/LibraryEdits.h"

class QComboBox;
class QLineEdit;

namespace pemo {

// "增加底图" and "增加图片": the picture dialog with a settings group for the category
// and the name the picture gets in the library. The name starts as the chosen file's
// title; confirming checks it and keeps the dialog open with a message when it
// cannot be used.
class LibraryAddDialog : public CResImageLoad {
    Q_OBJECT
public:
    // root: the library folder whose sub-folders are the categories; the preset
    // category is selected when it is among them.
    LibraryAddDialog(LibraryEdits::What what, const QString& root, const QString& category,
                     QWidget* parent = nullptr);

    QString category() const;
    QString name() const;
    QComboBox* categoryBox() const { return categories_; }
    QLineEdit* nameEdit() const { return name_; }

    // The message that keeps the dialog open, or empty when the choice is complete.
    QString problem() const;

public slots:
    void accept() override;

protected:
    void fileSelected(const QString& path) override;

private:
    LibraryEdits::What what_;
    QString root_;
    QComboBox* categories_ = nullptr;
    QLineEdit* name_ = nullptr;
};

// The dialogs under the names the program uses for them.
class CResBkgdAdd : public LibraryAddDialog {
    Q_OBJECT
public:
    explicit CResBkgdAdd(const QString& category, QWidget* parent = nullptr);
};

class CResImageAdd : public LibraryAddDialog {
    Q_OBJECT
public:
    explicit CResImageAdd(const QString& category, QWidget* parent = nullptr);
};

}  // namespace pemo
