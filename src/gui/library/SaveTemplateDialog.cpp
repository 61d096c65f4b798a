#include "SaveTemplateDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/document/TemplateFile.h"

namespace pemo {

SaveTemplateDialog::SaveTemplateDialog(const QStringList& existingNames, QWidget* parent)
    : QDialog(parent), existing_(existingNames) {
    setWindowTitle(QString::fromUtf8("保存模板"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8("已建立模板"), this));
    list_ = new QListWidget(this);
    list_->addItems(existing_);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(list_);
    layout->addWidget(new QLabel(QString::fromUtf8("模板名称"), this));
    name_ = new QLineEdit(this);
    layout->addWidget(name_);
    auto* buttons = new QDialogButtonBox(this);
    save_ = buttons->addButton(QString::fromUtf8("保存"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(name_, &QLineEdit::textChanged, this, &SaveTemplateDialog::updateSaveButton);
    updateSaveButton();
}

QString SaveTemplateDialog::templateName() const { return name_->text(); }

void SaveTemplateDialog::updateSaveButton() {
    const QString name = name_->text();
    save_->setEnabled(TemplateFile::isValidName(name) && !existing_.contains(name));
}

QStringList SaveTemplateDialog::existingTemplates(const QString& folder) {
    QStringList names;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.vxt")}, QDir::Files, QDir::Name);
    for (const QFileInfo& f : files) names.append(TemplateFile::nameFromFileName(f.completeBaseName()));
    return names;
}

}  // namespace pemo
