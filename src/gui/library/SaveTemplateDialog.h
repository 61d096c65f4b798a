#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace pemo {

// "保存模板": lists the templates already made for the background ("已建立模板") and
// takes a new name ("模板名称"). 保存 is enabled only for a valid name that is not
// in the list.
class SaveTemplateDialog : public QDialog {
    Q_OBJECT
public:
    SaveTemplateDialog(const QStringList& existingNames, QWidget* parent = nullptr);

    QString templateName() const;
    QPushButton* saveButton() const { return save_; }
    QLineEdit* nameEdit() const { return name_; }

    // The names of the templates in a background's template folder.
    static QStringList existingTemplates(const QString& folder);

private:
    void updateSaveButton();

    QStringList existing_;
    QListWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* save_ = nullptr;
};

}  // namespace pemo
