#include "BarcodeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "core/barcodes/BarcodeData.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Messages.h"
#include "gui/common/HelpWindow.h"

namespace pemo {

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

BarcodeDialog::BarcodeDialog(const QList<Placeholder>& placeholders, QWidget* parent) : QDialog(parent) {
    setWindowTitle(u("插入条码"));
    symbology_ = new QComboBox(this);
    symbology_->setObjectName(QStringLiteral("Symbology"));
    for (const BarcodeFace::Symbology s : BarcodeFace::all()) symbology_->addItem(BarcodeFace::name(s), int(s));

    fixed_ = new QRadioButton(u("固定文字"), this);
    fixed_->setObjectName(QStringLiteral("FixedText"));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("Text"));
    placeholder_ = new QRadioButton(u("占位符"), this);
    placeholder_->setObjectName(QStringLiteral("Placeholder"));
    placeholders_ = new QComboBox(this);
    placeholders_->setObjectName(QStringLiteral("Placeholders"));
    auto* model = new QStandardItemModel(placeholders_);
    int firstAvailable = -1;
    for (const Placeholder& p : placeholders) {
        auto* item = new QStandardItem(QStringLiteral("{%1}").arg(p.name));
        item->setData(p.kind, Qt::UserRole);
        item->setEnabled(p.available);
        if (p.available && firstAvailable < 0) firstAvailable = model->rowCount();
        model->appendRow(item);
    }
    placeholders_->setModel(model);
    placeholders_->setCurrentIndex(std::max(firstAvailable, 0));
    showText_ = new QCheckBox(u("显示数字"), this);
    showText_->setObjectName(QStringLiteral("ShowText"));
    showText_->setChecked(true);
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("Hint"));
    hint_->setStyleSheet(QStringLiteral("color: #c00000"));

    // A placeholder gives every record its own symbol, so it comes first when one is free.
    (firstAvailable >= 0 ? placeholder_ : fixed_)->setChecked(true);
    placeholder_->setEnabled(firstAvailable >= 0);

    auto* form = new QFormLayout;
    form->addRow(u("条码类型："), symbology_);
    form->addRow(placeholder_, placeholders_);
    form->addRow(fixed_, text_);
    form->addRow(QString(), showText_);
    form->addRow(QString(), hint_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(u("取消"));
    HelpWindow::addHelpButton(buttons, this, QStringLiteral("barcodes.html"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &BarcodeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &BarcodeDialog::reject);
    connect(symbology_, &QComboBox::currentIndexChanged, this, &BarcodeDialog::updateStates);
    connect(fixed_, &QRadioButton::toggled, this, &BarcodeDialog::updateStates);
    connect(text_, &QLineEdit::textChanged, this, &BarcodeDialog::updateStates);
    updateStates();
}

void BarcodeDialog::updateStates() {
    const auto symbology = BarcodeFace::Symbology(symbology_->currentData().toInt());
    const bool matrix = BarcodeFace::isMatrix(symbology);
    showText_->setEnabled(!matrix);
    text_->setEnabled(fixed_->isChecked());
    placeholders_->setEnabled(placeholder_->isChecked());
    // A fixed text is checked as it is typed; a placeholder's values by the print check.
    const BarcodeData data = BarcodeData::prepare(symbology, text_->text());
    hint_->setText(fixed_->isChecked() && !text_->text().isEmpty() && !data.valid() ? data.problem : QString());
}

void BarcodeDialog::accept() {
    BarcodeRequest request;
    request.symbology = BarcodeFace::Symbology(symbology_->currentData().toInt());
    request.showText = !BarcodeFace::isMatrix(request.symbology) && showText_->isChecked();
    if (fixed_->isChecked()) {
        if (text_->text().trimmed().isEmpty()) {
            Messages::current().inform(u("请输入条码的内容。"));
            return;
        }
        bool ok = true;
        request.fixedText = Gbk::fromUnicode(text_->text(), &ok);
        if (!ok) {
            Messages::current().inform(u("条码内容中有不能保存的字符。"));
            return;
        }
        request.kind = BlockKind::FixedText;
    } else {
        request.kind = placeholders_->currentData(Qt::UserRole).toInt();
        if (request.kind == 0) return;
    }
    request_ = request;
    QDialog::accept();
}

}  // namespace pemo
