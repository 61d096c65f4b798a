#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include "core/barcodes/BarcodeRequest.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace pemo {

// 插入条码: the symbology, what it encodes (a fixed text, or one of the placeholders) and
// whether the digits show under the bars.
class BarcodeDialog : public QDialog {
    Q_OBJECT
public:
    struct Placeholder {
        QString name;  // shown as "{name}"
        int32_t kind = 0;
        bool available = true;  // false while a block of the kind is on the page
    };

    BarcodeDialog(const QList<Placeholder>& placeholders, QWidget* parent = nullptr);

    BarcodeRequest request() const { return request_; }

    void accept() override;

private:
    void updateStates();

    QComboBox* symbology_ = nullptr;
    QRadioButton* fixed_ = nullptr;
    QLineEdit* text_ = nullptr;
    QRadioButton* placeholder_ = nullptr;
    QComboBox* placeholders_ = nullptr;
    QCheckBox* showText_ = nullptr;
    QLabel* hint_ = nullptr;
    BarcodeRequest request_;
};

}  // namespace pemo
