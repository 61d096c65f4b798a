#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "core/config/MallInfoList.h"

class QLineEdit;
class QPushButton;

namespace pemo {

class PicturePreviewButton;

// 商场信息配置: the five mall-information values and the two logos. 返回 is enabled
// only while all five values are filled in.
class MallInfoDialog : public QDialog {
    Q_OBJECT
public:
    MallInfoDialog(const MallInfoList& mallInfo, QWidget* parent = nullptr);

    // The values as typed (GBK); valid after the dialog was accepted.
    QList<QByteArray> values() const { return values_; }

    QLineEdit* valueEdit(int index) const { return edits_[size_t(index)]; }
    QPushButton* okButton() const { return ok_; }

private:
    void updateOk();
    void accept() override;

    std::array<QLineEdit*, MallInfoList::kItemCount> edits_{};
    std::array<PicturePreviewButton*, 2> logos_{};
    QPushButton* ok_ = nullptr;
    QList<QByteArray> values_;
};

// Converts the texts of edits to GBK; on a character GBK cannot hold, reports it and
// gives nothing.
std::optional<QList<QByteArray>> gbkTexts(const QList<QString>& texts);

}  // namespace pemo
