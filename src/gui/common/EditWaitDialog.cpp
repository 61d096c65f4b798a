#include "EditWaitDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/pictures/PictureEdit.h"
#include "core/platform/Messages.h"

namespace pemo {

EditWaitDialog::EditWaitDialog(PictureEdit& edit, const QString& editorName,
                               const QString& fileName, QWidget* parent)
    : QDialog(parent), edit_(edit) {
    setWindowTitle(QString::fromUtf8("外部编辑"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QString::fromUtf8("正在用 %1 编辑图片 %2。\n\n在 %1 中保存图片后，按“完成”取回改动；"
                          "按“取消”放弃改动。")
            .arg(editorName, fileName),
        this);
    text->setWordWrap(true);
    layout->addWidget(text);
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("editState"));
    state_->setWordWrap(true);
    layout->addWidget(state_);
    auto* buttons = new QDialogButtonBox(this);
    done_ = buttons->addButton(QString::fromUtf8("完成"), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    done_->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&edit_, &PictureEdit::stateChanged, this, &EditWaitDialog::showState);
    connect(&edit_, &PictureEdit::editorEnded, this, [this] {
        if (edit_.endedAfterChange())
            accept();
    });
    setMinimumWidth(420);
    showState();
}

void EditWaitDialog::showState() {
    const char* text = edit_.hasChanged() ? "图片已改动。"
                       : edit_.editorRunning()
                           ? "等待编辑程序保存图片……"
                           : "编辑程序已结束，图片还没有改动。若图片仍在编辑程序中"
                             "打开，保存后按“完成”。";
    state_->setText(QString::fromUtf8(text));
}

void EditWaitDialog::done(int result) {
    edit_.check();
    // Leaving without a change is easy to do by mistake while the editor still works on
    // the picture; throwing a change away even more so.
    if (result == Accepted && !edit_.hasChanged() && !edit_.endedAfterChange()) {
        const auto answer = Messages::current().ask(
            QString::fromUtf8("图片还没有改动。结束编辑吗？"), Messages::Buttons::YesNo);
        if (answer != Messages::Answer::Yes)
            return;
    }
    if (result == Rejected && edit_.hasChanged()) {
        const auto answer = Messages::current().ask(QString::fromUtf8("放弃对图片的改动吗？"),
                                                    Messages::Buttons::YesNo);
        if (answer != Messages::Answer::Yes)
            return;
    }
    QDialog::done(result);
}

}  // namespace pemo
