#include "DesignHint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "core/document/PageDesign.h"

namespace pemo {

namespace {
constexpr int kSettleMs = 400;
}  // namespace

DesignHint::DesignHint(CPatDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QString::fromUtf8("设计已更改:"), this));
    button_ = new QPushButton(QString::fromUtf8("应用到所有信息"), this);
    button_->setObjectName(QStringLiteral("applyDesignHint"));
    button_->setToolTip(QString::fromUtf8("把当前信息的幅面、底图和对象用到所有信息上，"
                                          "各项信息保留自己的内容、图片和份数"));
    button_->setFlat(true);
    layout->addWidget(button_);
    connect(button_, &QPushButton::clicked, this, [this] {
        if (apply) apply();
    });
    timer_.setSingleShot(true);
    timer_.setInterval(kSettleMs);
    connect(&timer_, &QTimer::timeout, this, &DesignHint::check);
    hide();
}

QByteArray DesignHint::currentDesign() const {
    const InfoRecord* record = doc_.currentRecord();
    return record ? PageDesign::fingerprint(*record, doc_.placeholderSources()) : QByteArray();
}

void DesignHint::restart() {
    timer_.stop();
    hide();
    const InfoRecord* record = doc_.currentRecord();
    serial_ = record ? record->serial : 0;
    baseline_ = currentDesign();
}

void DesignHint::documentChanged(CPatDoc::Change change) {
    const InfoRecord* record = doc_.currentRecord();
    if (change == CPatDoc::Change::Records || !record || record->serial != serial_) {
        restart();
    } else if (change == CPatDoc::Change::Page) {
        pageEdited();
    }
}

void DesignHint::pageEdited() {
    if (doc_.recordCount() > 1) timer_.start();
}

void DesignHint::check() {
    const InfoRecord* record = doc_.currentRecord();
    if (!record || record->serial != serial_) {
        restart();
        return;
    }
    setVisible(doc_.recordCount() > 1 && currentDesign() != baseline_);
}

}  // namespace pemo
