#pragma once

#include <QDialog>

#include "core/config/PhraseList.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace pemo {

// 常用短语配置: the common phrases after the fixed "文字"; at most twenty.
class PhraseDialog : public QDialog {
    Q_OBJECT
public:
    PhraseDialog(const PhraseList& phrases, QWidget* parent = nullptr);

    // The phrases as listed (GBK), valid after the dialog was accepted.
    QList<QByteArray> phrases() const { return phrases_; }

    QLineEdit* edit() const { return edit_; }
    QListWidget* list() const { return list_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* removeButton() const { return remove_; }

private:
    void updateButtons();
    void select(int row);
    void accept() override;

    QLineEdit* edit_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* remove_ = nullptr;
    QList<QByteArray> phrases_;
};

}  // namespace pemo
