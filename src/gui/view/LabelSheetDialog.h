#pragma once

#include <QDialog>
#include <optional>

#include "core/labels/LabelChoice.h"
#include "core/labels/LabelTemplate.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace pemo {

class LabelCatalogue;
class LabelSheetPicture;

// 标签纸: the sheet to print on — a product of the catalogue (searchable in English and
// Chinese, the ones used lately first) or a sheet the user measured — the first free
// label on the first sheet (clicked in the sheet's picture, typed, or 接着上次: where the
// last printed job left its sheet), and outlines for test prints.
class LabelSheetDialog : public QDialog {
    Q_OBJECT
public:
    LabelSheetDialog(const LabelCatalogue& catalogue, const LabelChoice& choice, QWidget* parent = nullptr);

    // The choice as the dialog shows it (the chosen sheet put first among the recent).
    LabelChoice choice() const;
    // The sheet shown, nothing while none is chosen or the measured one is not valid.
    std::optional<LabelTemplate> sheet() const;

    // For tests and the settings: the list's rows and its search box.
    QTableWidget* productList() const { return list_; }
    QLineEdit* searchBox() const { return search_; }
    QSpinBox* startBox() const { return start_; }
    LabelSheetPicture* picture() const { return picture_; }
    QRadioButton* customButton() const { return customButton_; }
    QPushButton* continueButton() const { return continue_; }
    // What the dialog says of a sheet: its name, size, labels, paper and distances.
    static QString summaryOf(const LabelTemplate& sheet);
    // Selects the product of that name in the list (it is shown whatever the search).
    bool selectProduct(const QString& name);

    void accept() override;

private:
    void fillList();
    void showSheet();
    // The label 接着上次 offers on the sheet shown, 0 for none.
    int continuation() const;
    void setCustomFields(const LabelTemplate& sheet);
    std::optional<LabelTemplate> customSheet() const;
    QWidget* buildCustomFields();

    const LabelCatalogue& catalogue_;
    LabelChoice choice_;
    QRadioButton* catalogueButton_ = nullptr;
    QRadioButton* customButton_ = nullptr;
    QLineEdit* search_ = nullptr;
    QTableWidget* list_ = nullptr;
    QLabel* missing_ = nullptr;
    QWidget* customFields_ = nullptr;
    QComboBox* paper_ = nullptr;
    QSpinBox* rows_ = nullptr;
    QSpinBox* columns_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QDoubleSpinBox* height_ = nullptr;
    QDoubleSpinBox* left_ = nullptr;
    QDoubleSpinBox* top_ = nullptr;
    QDoubleSpinBox* hPitch_ = nullptr;
    QDoubleSpinBox* vPitch_ = nullptr;
    QDoubleSpinBox* corner_ = nullptr;
    QLabel* customProblem_ = nullptr;
    LabelSheetPicture* picture_ = nullptr;
    QLabel* summary_ = nullptr;
    QSpinBox* start_ = nullptr;
    QPushButton* continue_ = nullptr;
    // The start label as the user chose it, whatever sheet is shown meanwhile.
    int wantedStart_ = 1;
    QCheckBox* outline_ = nullptr;
};

}  // namespace pemo
