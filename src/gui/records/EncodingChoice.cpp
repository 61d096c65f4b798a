#include "EncodingChoice.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <iterator>

#include "core/platform/SourceFile.h"

namespace pemo {

namespace {

using Encoding = DelimitedText::Encoding;
constexpr Encoding kEncodings[] = {Encoding::Gbk, Encoding::Utf8, Encoding::Utf16Le, Encoding::Utf16Be};
// Enough of a file to tell its encoding.
constexpr qint64 kSample = 1024 * 1024;

}  // namespace

EncodingChoice::EncodingChoice(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QString::fromUtf8("编码"), this);
    box_ = new QComboBox(this);
    box_->addItem(QString::fromUtf8("自动"));
    for (Encoding encoding : kEncodings) box_->addItem(DelimitedText::name(encoding));
    label->setBuddy(box_);
    layout->addWidget(label);
    layout->addWidget(box_);
    layout->addStretch(1);
}

void EncodingChoice::guessFor(const QString& path) {
    const QByteArray head = path.isEmpty() ? QByteArray() : SourceFile::head(path, kSample);
    if (head.isEmpty()) {
        box_->setCurrentIndex(0);
        return;
    }
    const Encoding guessed = DelimitedText::detect(head);
    for (int i = 0; i < int(std::size(kEncodings)); ++i) {
        if (kEncodings[i] == guessed) box_->setCurrentIndex(i + 1);
    }
}

std::optional<DelimitedText::Encoding> EncodingChoice::encoding() const {
    const int index = box_->currentIndex();
    if (index < 1 || index > int(std::size(kEncodings))) return std::nullopt;
    return kEncodings[index - 1];
}

}  // namespace pemo
