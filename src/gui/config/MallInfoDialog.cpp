#include "MallInfoDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "PicturePreviewButton.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Messages.h"

namespace pemo {

std::optional<QList<QByteArray>> gbkTexts(const QList<QString>& texts) {
    QList<QByteArray> out;
    for (const QString& text : texts) {
        bool ok = false;
        const QByteArray gbk = Gbk::fromUnicode(text, &ok);
        if (!ok) {
            Messages::current().inform(
                QString::fromUtf8("“%1”中有无法保存的字符。").arg(text));
            return std::nullopt;
        }
        out.append(gbk);
    }
    return out;
}

MallInfoDialog::MallInfoDialog(const MallInfoList& mallInfo, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("商场信息配置"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    static const char* const kLabels[MallInfoList::kItemCount] = {
        "{商场简称}", "{商场全称}", "{监督电话}", "{服务电话}", "{商场网址}"};
    for (int i = 0; i < MallInfoList::kItemCount; ++i) {
        auto* edit = new QLineEdit(Gbk::toUnicode(mallInfo.entry(i).value), this);
        // Room for a mall's full name or web address without scrolling.
        constexpr int kShownCharacters = 20;
        edit->setMinimumWidth(
            edit->fontMetrics().horizontalAdvance(QString(kShownCharacters, QChar(0x4E2D))));
        edits_[size_t(i)] = edit;
        form->addRow(QString::fromUtf8(kLabels[i]), edit);
        connect(edit, &QLineEdit::textChanged, this, &MallInfoDialog::updateOk);
    }
    layout->addLayout(form);

    auto* logoRow = new QHBoxLayout;
    const ConfigPictures::Which which[2] = {ConfigPictures::Which::Logo1,
                                            ConfigPictures::Which::Logo2};
    for (int i = 0; i < 2; ++i) {
        auto* column = new QVBoxLayout;
        logos_[size_t(i)] = new PicturePreviewButton(which[i], this);
        auto* choose = new QPushButton(QString::fromUtf8("{商场LOGO}"), this);
        column->addWidget(logos_[size_t(i)]);
        column->addWidget(choose);
        logoRow->addLayout(column);
        // The logo files change at once; 取消 does not bring the old ones back.
        connect(choose, &QPushButton::clicked, this, [this, i, w = which[i]] {
            if (chooseConfigPicture(w, this)) logos_[size_t(i)]->update();
        });
    }
    layout->addLayout(logoRow);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QString::fromUtf8("返回"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &MallInfoDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    updateOk();
}

void MallInfoDialog::updateOk() {
    bool allFilled = true;
    for (QLineEdit* edit : edits_) allFilled = allFilled && !edit->text().isEmpty();
    ok_->setEnabled(allFilled);
}

void MallInfoDialog::accept() {
    QList<QString> texts;
    for (QLineEdit* edit : edits_) texts.append(edit->text());
    const auto gbk = gbkTexts(texts);
    if (!gbk) return;
    values_ = *gbk;
    QDialog::accept();
}

}  // namespace pemo
