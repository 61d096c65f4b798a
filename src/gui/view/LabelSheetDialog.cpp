#include "LabelSheetDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "LabelSheetPicture.h"
#include "core/labels/LabelCatalogue.h"

namespace pemo {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// A measured sheet to start from: 21 labels of 63.5 × 38.1 mm on A4.
const char* const kDefaultCustom = "A4,7x3,63.5x38.1,7.2,15.1,66,38.1";
const char* const kPapers[] = {"A4", "A3", "A5", "Letter"};

QDoubleSpinBox* millimetreBox(double maximum) {
    auto* box = new QDoubleSpinBox;
    box->setDecimals(2);
    box->setRange(0, maximum);
    box->setSingleStep(0.1);
    box->setSuffix(u(" 毫米"));
    return box;
}

QString paperText(const LabelTemplate& t) {
    if (t.paperName == QStringLiteral("Other")) {
        return QStringLiteral("%1×%2").arg(t.paperMm.width(), 0, 'f', 1).arg(t.paperMm.height(), 0, 'f', 1);
    }
    return t.paperName;
}

}  // namespace

LabelSheetDialog::LabelSheetDialog(const LabelCatalogue& catalogue, const LabelChoice& choice, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), choice_(choice) {
    setWindowTitle(u("标签纸"));

    catalogueButton_ = new QRadioButton(u("目录中的标签纸"));
    customButton_ = new QRadioButton(u("自定义标签纸"));
    search_ = new QLineEdit;
    search_->setPlaceholderText(u("搜索品牌、型号、说明或尺寸"));
    search_->setClearButtonEnabled(true);
    list_ = new QTableWidget(0, 6);
    list_->setHorizontalHeaderLabels({u("品牌"), u("型号"), u("说明"), u("尺寸"), u("每张"), u("纸张")});
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setMinimumWidth(520);
    missing_ = new QLabel(LabelCatalogue::missingText());
    missing_->setWordWrap(true);
    customFields_ = buildCustomFields();

    picture_ = new LabelSheetPicture;
    summary_ = new QLabel;
    summary_->setWordWrap(true);
    start_ = new QSpinBox;
    start_->setRange(1, 1);
    outline_ = new QCheckBox(u("画出标签轮廓（白纸试印）"));
    outline_->setChecked(choice_.outline);

    auto* left = new QVBoxLayout;
    left->addWidget(catalogueButton_);
    left->addWidget(search_);
    left->addWidget(list_, 1);
    left->addWidget(missing_);
    left->addWidget(customButton_);
    left->addWidget(customFields_);
    auto* right = new QVBoxLayout;
    right->addWidget(picture_, 1);
    right->addWidget(summary_);
    auto* startRow = new QFormLayout;
    startRow->addRow(u("起始标签："), start_);
    right->addLayout(startRow);
    right->addWidget(new QLabel(u("点击图中的标签选第一个空标签。")));
    right->addWidget(outline_);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns, 1);
    all->addWidget(buttons);

    const bool haveCatalogue = !catalogue_.isEmpty();
    missing_->setVisible(!haveCatalogue);
    search_->setEnabled(haveCatalogue);
    list_->setEnabled(haveCatalogue);
    catalogueButton_->setEnabled(haveCatalogue);
    const QString prefix = QString::fromLatin1(LabelChoice::kCustomPrefix);
    const bool custom = !haveCatalogue || choice_.sheet.startsWith(prefix);
    (custom ? customButton_ : catalogueButton_)->setChecked(true);
    setCustomFields(LabelTemplate::fromCustomText(choice_.custom)
                        .value_or(*LabelTemplate::fromCustomText(QString::fromLatin1(kDefaultCustom))));
    fillList();
    if (!custom) selectProduct(choice_.sheet);
    start_->setValue(choice_.start);

    connect(search_, &QLineEdit::textChanged, this, [this] { fillList(); });
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!list_->selectedItems().isEmpty()) catalogueButton_->setChecked(true);
        showSheet();
    });
    connect(catalogueButton_, &QRadioButton::toggled, this, [this] { showSheet(); });
    connect(picture_, &LabelSheetPicture::startChosen, start_, &QSpinBox::setValue);
    connect(start_, &QSpinBox::valueChanged, picture_, &LabelSheetPicture::setStart);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showSheet();
    start_->setValue(choice_.start);
    picture_->setStart(start_->value());
    resize(1000, 640);
}

QWidget* LabelSheetDialog::buildCustomFields() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(20, 0, 0, 0);
    paper_ = new QComboBox;
    for (const char* paper : kPapers) paper_->addItem(QString::fromLatin1(paper));
    rows_ = new QSpinBox;
    rows_->setRange(1, 100);
    columns_ = new QSpinBox;
    columns_->setRange(1, 100);
    width_ = millimetreBox(1000);
    height_ = millimetreBox(1000);
    left_ = millimetreBox(1000);
    top_ = millimetreBox(1000);
    hPitch_ = millimetreBox(1000);
    vPitch_ = millimetreBox(1000);
    corner_ = millimetreBox(100);
    customProblem_ = new QLabel;
    customProblem_->setStyleSheet(QStringLiteral("color: #b00000"));
    const std::pair<const char*, QWidget*> fields[] = {
        {"纸张：", paper_},     {"行数：", rows_},        {"列数：", columns_},     {"标签宽：", width_},
        {"标签高：", height_},  {"左边距：", left_},      {"上边距：", top_},       {"横向间距：", hPitch_},
        {"纵向间距：", vPitch_}, {"圆角半径：", corner_},
    };
    int i = 0;
    for (const auto& [label, widget] : fields) {
        grid->addWidget(new QLabel(u(label)), i / 2, (i % 2) * 2);
        grid->addWidget(widget, i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    grid->addWidget(customProblem_, (i + 1) / 2, 0, 1, 4);
    hPitch_->setToolTip(u("一个标签的左边到右边下一个标签的左边"));
    vPitch_->setToolTip(u("一个标签的上边到下面下一个标签的上边"));
    const auto changed = [this] {
        customButton_->setChecked(true);
        showSheet();
    };
    connect(paper_, &QComboBox::currentIndexChanged, this, changed);
    for (QSpinBox* b : {rows_, columns_}) connect(b, &QSpinBox::valueChanged, this, changed);
    for (QDoubleSpinBox* b : {width_, height_, left_, top_, hPitch_, vPitch_, corner_}) {
        connect(b, &QDoubleSpinBox::valueChanged, this, changed);
    }
    return box;
}

void LabelSheetDialog::setCustomFields(const LabelTemplate& sheet) {
    const LabelGrid g = sheet.grids.empty() ? LabelGrid() : sheet.grids.front();
    const QString paper = sheet.customText().section(QLatin1Char(','), 0, 0);
    const int index = paper_->findText(paper, Qt::MatchFixedString);
    const QSignalBlocker blockers[] = {QSignalBlocker(paper_), QSignalBlocker(rows_), QSignalBlocker(columns_),
                                       QSignalBlocker(width_), QSignalBlocker(height_), QSignalBlocker(left_),
                                       QSignalBlocker(top_),   QSignalBlocker(hPitch_), QSignalBlocker(vPitch_),
                                       QSignalBlocker(corner_)};
    paper_->setCurrentIndex(std::max(0, index));
    rows_->setValue(g.rows);
    columns_->setValue(g.columns);
    width_->setValue(sheet.labelMm.width());
    height_->setValue(sheet.labelMm.height());
    left_->setValue(g.x0);
    top_->setValue(g.y0);
    hPitch_->setValue(g.dx);
    vPitch_->setValue(g.dy);
    corner_->setValue(sheet.cornerMm);
}

std::optional<LabelTemplate> LabelSheetDialog::customSheet() const {
    const QString text = QStringLiteral("%1,%2x%3,%4x%5,%6,%7,%8,%9,%10")
                             .arg(paper_->currentText())
                             .arg(rows_->value())
                             .arg(columns_->value())
                             .arg(width_->value())
                             .arg(height_->value())
                             .arg(left_->value())
                             .arg(top_->value())
                             .arg(hPitch_->value())
                             .arg(vPitch_->value())
                             .arg(corner_->value());
    return LabelTemplate::fromCustomText(text);
}

void LabelSheetDialog::fillList() {
    const QString selected = list_->selectedItems().isEmpty()
                                 ? QString()
                                 : list_->item(list_->currentRow(), 0)->data(Qt::UserRole).toString();
    std::vector<const LabelTemplate*> found = catalogue_.search(search_->text());
    // The products used lately go first, latest first.
    std::vector<const LabelTemplate*> rows;
    for (const QString& name : choice_.recent) {
        const auto it = std::find_if(found.begin(), found.end(), [&](const LabelTemplate* t) {
            return t->name().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it == found.end()) continue;
        rows.push_back(*it);
        found.erase(it);
    }
    const size_t recentCount = rows.size();
    rows.insert(rows.end(), found.begin(), found.end());

    const QSignalBlocker blocker(list_);
    list_->setUpdatesEnabled(false);
    list_->clearContents();
    list_->setRowCount(static_cast<int>(rows.size()));
    int selectRow = -1;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const LabelTemplate& t = *rows[r];
        const QString cells[] = {t.brand, t.part, t.description, t.sizeText(), QString::number(t.labelsPerSheet()),
                                 paperText(t)};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (static_cast<size_t>(r) < recentCount) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setToolTip(u("最近使用"));
            }
            list_->setItem(r, c, item);
        }
        list_->item(r, 0)->setData(Qt::UserRole, t.name());
        if (t.name() == selected) selectRow = r;
    }
    list_->resizeColumnsToContents();
    list_->setUpdatesEnabled(true);
    if (selectRow >= 0) list_->selectRow(selectRow);
    showSheet();
}

bool LabelSheetDialog::selectProduct(const QString& name) {
    for (int pass = 0; pass < 2; ++pass) {
        for (int r = 0; r < list_->rowCount(); ++r) {
            if (list_->item(r, 0)->data(Qt::UserRole).toString().compare(name, Qt::CaseInsensitive) == 0) {
                list_->selectRow(r);
                list_->scrollToItem(list_->item(r, 0));
                catalogueButton_->setChecked(true);
                return true;
            }
        }
        if (search_->text().isEmpty()) break;
        search_->clear();  // it may be hidden by the search
    }
    return false;
}

std::optional<LabelTemplate> LabelSheetDialog::sheet() const {
    if (customButton_->isChecked()) return customSheet();
    const QList<QTableWidgetItem*> items = list_->selectedItems();
    if (items.isEmpty()) return std::nullopt;
    const LabelTemplate* t = catalogue_.find(list_->item(items.front()->row(), 0)->data(Qt::UserRole).toString());
    return t ? std::optional<LabelTemplate>(*t) : std::nullopt;
}

void LabelSheetDialog::showSheet() {
    const std::optional<LabelTemplate> t = sheet();
    customProblem_->setText(customButton_->isChecked() && !t ? u("这些尺寸排不成一张标签纸：标签相互重叠或超出了纸张。")
                                                             : QString());
    if (!t) {
        picture_->clearSheet();
        summary_->setText(customButton_->isChecked() ? QString() : u("请在列表中选择标签纸。"));
        start_->setRange(1, 1);
        return;
    }
    picture_->setSheet(*t);
    start_->setRange(1, t->labelsPerSheet());
    picture_->setStart(start_->value());
    QString text = QStringLiteral("%1\n%2，每张 %3 个，%4").arg(t->isCustom() ? u("自定义标签纸") : t->name(),
                                                               t->sizeText())
                       .arg(t->labelsPerSheet())
                       .arg(paperText(*t));
    if (!t->equivalentOf.isEmpty()) text += u("\n同 %1 %2").arg(t->brand, t->equivalentOf);
    summary_->setText(text);
}

LabelChoice LabelSheetDialog::choice() const {
    LabelChoice c = choice_;
    if (const std::optional<LabelTemplate> custom = customSheet()) c.custom = custom->customText();
    if (const std::optional<LabelTemplate> t = sheet()) {
        c.sheet = t->isCustom() ? QString::fromLatin1(LabelChoice::kCustomPrefix) + t->customText() : t->name();
        if (!t->isCustom()) c.remember(c.sheet);
    }
    c.start = start_->value();
    c.outline = outline_->isChecked();
    return c;
}

void LabelSheetDialog::accept() {
    if (!sheet()) {
        QMessageBox::warning(this, windowTitle(),
                             customButton_->isChecked() ? u("这些尺寸排不成一张标签纸：标签相互重叠或超出了纸张。")
                                                        : u("请在列表中选择标签纸。"));
        return;
    }
    QDialog::accept();
}

}  // namespace pemo
