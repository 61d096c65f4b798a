#include "ImportMappingPane.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/codecs/Gbk.h"
#include "core/config/VariableNameList.h"
#include "core/records/ImportColumns.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {

namespace {

constexpr int kPairsPerLine = 3;
constexpr int kPreviewColumnWidth = 70;
// Rows a drop-down's list shows at once; the rest scroll.
constexpr int kVisibleColumns = 12;

}  // namespace

ImportMappingPane::ImportMappingPane(ImportSettings::Kind kind, const VariableNameList& names,
                                     QWidget* parent)
    : QWidget(parent), kind_(kind) {
    auto* group = new QGroupBox(QString::fromUtf8("设置"), this);
    auto* grid = new QGridLayout(group);
    const char* const priceLabels[] = {"{商品原价} ", "{商品现价}", "{商品折扣}"};
    for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
        const QString label = t < VariableNameList::kVariableCount
                                  ? QLatin1Char('{') + Gbk::toUnicode(names.name(t)) + QLatin1Char('}')
                                  : QString::fromUtf8(priceLabels[t - VariableNameList::kVariableCount]);
        auto* box = new QComboBox(group);
        // A scrolling list of a few lines, not one as tall as the screen, whatever the style.
        box->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        box->setMaxVisibleItems(kVisibleColumns);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(8);
        box->setObjectName(QStringLiteral("target%1").arg(t));
        targets_.at(size_t(t)) = box;
        grid->addWidget(new QLabel(label, group), t / kPairsPerLine, 2 * (t % kPairsPerLine));
        grid->addWidget(box, t / kPairsPerLine, 2 * (t % kPairsPerLine) + 1);
    }
    showColumns(nullptr);
    const int row = ImportSettings::kTargetCount / kPairsPerLine;
    const int column = 2 * (ImportSettings::kTargetCount % kPairsPerLine);
    if (kind == ImportSettings::Kind::Text) {
        separator_ = new QComboBox(group);
        for (int i = 0; i < ImportSettings::kSeparatorCount; ++i) {
            separator_->addItem(QString(QLatin1Char(ImportSettings::separatorAt(i))));
        }
        grid->addWidget(new QLabel(QString::fromUtf8("{分割符}"), group), row, column);
        grid->addWidget(separator_, row, column + 1);
    } else {
        sheet_ = new QLineEdit(group);
        grid->addWidget(new QLabel(QString::fromUtf8("工作表名"), group), row, column);
        grid->addWidget(sheet_, row, column + 1, 1, 3);
    }
    preview_ = new QPushButton(QString::fromUtf8("预览"), group);
    grid->addWidget(preview_, row, 2 * kPairsPerLine - 1);
    connect(preview_, &QPushButton::clicked, this, &ImportMappingPane::previewRequested);

    auto* choices = new QHBoxLayout;
    header_ = new QCheckBox(QString::fromUtf8("第一行是标题"), group);
    connect(header_, &QCheckBox::toggled, this, &ImportMappingPane::headerToggled);
    choices->addWidget(header_);
    choices->addSpacing(24);
    choices->addWidget(new QLabel(QString::fromUtf8("新信息的页面"), group));
    page_ = new QComboBox(group);
    page_->addItem(QString::fromUtf8("当前信息的页面"), int(ImportTarget::Page::CurrentRecord));
    page_->addItem(QString::fromUtf8("模板库中选中的模板"), int(ImportTarget::Page::Library));
    choices->addWidget(page_);
    choices->addStretch(1);
    grid->addLayout(choices, row + 1, 0, 1, 2 * kPairsPerLine);

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setColumnCount(ImportSettings::kTargetCount);
    QStringList captions;
    for (int v = 0; v < VariableNameList::kVariableCount; ++v) {
        captions << Gbk::toUnicode(names.name(v));
    }
    captions << QString::fromUtf8("原价") << QString::fromUtf8("现价") << QString::fromUtf8("折扣");
    list_->setHeaderLabels(captions);
    for (int c = 0; c < ImportSettings::kTargetCount; ++c) {
        list_->setColumnWidth(c, kPreviewColumnWidth);
    }
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setMinimumHeight(120);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
    layout->addWidget(list_);
}

void ImportMappingPane::showColumns(const TableSheet* sheet) {
    // A saved column beyond the table keeps its place in the list.
    int count = sheet ? sheet->totalColumns() : ImportSettings::kMaxColumn;
    for (const QComboBox* box : targets_) count = std::max(count, box->currentIndex());
    count = std::min(count, int(ImportSettings::kMaxColumn));
    QStringList items{QString::fromUtf8("空")};
    if (sheet) {
        items << ImportColumns::labels(*sheet, count);
    } else {
        for (int c = 1; c <= count; ++c) items << ImportColumns::bareLabel(c);
    }
    for (QComboBox* box : targets_) {
        const int selected = std::max(0, box->currentIndex());
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(selected);
    }
}

void ImportMappingPane::setColumns(const ImportSettings::Columns& columns) {
    for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
        QComboBox* box = targets_.at(size_t(t));
        const int column = columns[size_t(t)];
        for (int c = box->count(); c <= column; ++c) box->addItem(ImportColumns::bareLabel(c));
        box->setCurrentIndex(column);
    }
}

void ImportMappingPane::setSettings(const ImportSettings& settings) {
    setColumns(settings.columns);
    if (separator_) separator_->setCurrentIndex(settings.separatorIndex);
    if (sheet_) sheet_->setText(Gbk::toUnicode(settings.sheetName));
    // A workbook's first row has always been its header.
    setFirstRowIsHeader(settings.header == ImportSettings::Header::Yes ||
                        (settings.header == ImportSettings::Header::Unknown &&
                         kind_ == ImportSettings::Kind::Workbook));
}

ImportSettings ImportMappingPane::settings() const {
    ImportSettings settings(kind_);
    for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
        settings.columns[size_t(t)] = targets_.at(size_t(t))->currentIndex();
    }
    if (separator_) settings.separatorIndex = separator_->currentIndex();
    // A name GBK cannot hold comes back empty and is refused as such.
    if (sheet_) settings.sheetName = Gbk::fromUnicode(sheet_->text());
    settings.header = firstRowIsHeader() ? ImportSettings::Header::Yes : ImportSettings::Header::No;
    return settings;
}

bool ImportMappingPane::firstRowIsHeader() const { return header_->isChecked(); }

void ImportMappingPane::setFirstRowIsHeader(bool on) {
    const QSignalBlocker block(header_);
    header_->setChecked(on);
}

ImportTarget::Page ImportMappingPane::page() const {
    return ImportTarget::Page(page_->currentData().toInt());
}

void ImportMappingPane::setPage(ImportTarget::Page page, bool canUseCurrentPage) {
    page_->setCurrentIndex(page_->findData(int(canUseCurrentPage ? page : ImportTarget::Page::Library)));
    page_->setEnabled(canUseCurrentPage);
}

void ImportMappingPane::clearPreview() { list_->clear(); }

void ImportMappingPane::showPreview(TableSheet& sheet, const ImportSettings& settings, int firstRow) {
    list_->clear();
    const int last = std::min(sheet.totalRows(), firstRow + kPreviewRows - 1);
    for (int r = firstRow; r <= last; ++r) {
        auto* item = new QTreeWidgetItem(list_);
        for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
            const int c = settings.columns[size_t(t)];
            if (c < 1 || c > sheet.totalColumns()) continue;
            item->setText(t, Gbk::toUnicode(RecordImport::cutText(sheet.cell(c, r), kPreviewBytes)));
        }
    }
}

}  // namespace pemo
