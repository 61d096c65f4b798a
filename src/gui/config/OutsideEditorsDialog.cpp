#include "OutsideEditorsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace pemo {

namespace {

QString typesText(EditorSlot slot) {
    QStringList types;
    for (const QString& extension : OutsideEditors::extensions(slot))
        types << extension.mid(1);
    return types.join(QLatin1Char(' '));
}

// What an empty line stands for: the first usual program installed.
QString usualText(EditorSlot slot) {
    for (const QString& program : OutsideEditors::usualPrograms(slot)) {
        const QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty())
            return QString::fromUtf8("自动：%1").arg(found);
    }
    return QString::fromUtf8("自动：未找到（%1）")
        .arg(OutsideEditors::usualPrograms(slot).join(QStringLiteral("、")));
}

}  // namespace

OutsideEditorsDialog::OutsideEditorsDialog(OutsideEditors& editors, QWidget* parent)
    : QDialog(parent), editors_(editors) {
    setWindowTitle(QString::fromUtf8("外部编辑程序"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (EditorSlot slot : OutsideEditors::allSlots()) {
        const int i = static_cast<int>(slot);
        grid->addWidget(
            new QLabel(QString::fromUtf8("编辑程序%1（%2）").arg(i + 1).arg(typesText(slot)), this),
            2 * i, 0, 1, 3);
        auto* program = new QLineEdit(this);
        program->setPlaceholderText(usualText(slot));
        program->setMinimumWidth(360);
        auto* browse = new QPushButton(QString::fromUtf8("浏览…"), this);
        auto* unused = new QCheckBox(QString::fromUtf8("不使用"), this);
        const QString choice = editors_.choice(slot);
        unused->setChecked(choice == QLatin1String(OutsideEditors::kNone));
        program->setText(unused->isChecked() ? QString() : choice);
        program->setEnabled(!unused->isChecked());
        browse->setEnabled(!unused->isChecked());
        connect(unused, &QCheckBox::toggled, program, [program, browse](bool on) {
            program->setEnabled(!on);
            browse->setEnabled(!on);
        });
        connect(browse, &QPushButton::clicked, this, [this, i] { this->browse(i); });
        grid->addWidget(program, 2 * i + 1, 0);
        grid->addWidget(browse, 2 * i + 1, 1);
        grid->addWidget(unused, 2 * i + 1, 2);
        programs_.append(program);
        unused_.append(unused);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void OutsideEditorsDialog::browse(int slot) {
    const QString path = QFileDialog::getOpenFileName(this, QString::fromUtf8("选择编辑程序"),
                                                      QStringLiteral("/usr/bin"));
    if (!path.isEmpty())
        programs_.at(slot)->setText(path);
}

void OutsideEditorsDialog::accept() {
    for (EditorSlot slot : OutsideEditors::allSlots()) {
        const int i = static_cast<int>(slot);
        editors_.setChoice(slot, unused_.at(i)->isChecked()
                                     ? QString::fromLatin1(OutsideEditors::kNone)
                                     : programs_.at(i)->text());
    }
    QDialog::accept();
}

}  // namespace pemo
