#include "ImportMappingPane.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/codecs/Gbk.h"
#include "core/config/VariableNameList.h"
#include "core/records/RecordImport.h"
#include "core/records/TableSheet.h"

namespace pemo {

namespace {

constexpr int kPairsPerLine = 3;
constexpr int kPreviewColumnWidth = 70;

}  // namespace

ImportMappingPane::ImportMappingPane(ImportSettings::Kind kind, const VariableNameList& names,
                                     QWidget* parent)
    : QWidget(parent), kind_(kind) {
    auto* group = new QGroupBox(QString::fromUtf8("设置"), this);
    auto* grid = new QGridLayout(group);
    QStringList columns{QString::fromUtf8("空")};
    for (int c = 1; c <= ImportSettings::kMaxColumn; ++c) columns << QString::number(c);
    const char* const priceLabels[] = {"{商品原价} ", "{商品现价}", "{商品折扣}"};
    for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
        const QString label = t < VariableNameList::kVariableCount
                                  ? QLatin1Char('{') + Gbk::toUnicode(names.name(t)) + QLatin1Char('}')
                                  : QString::fromUtf8(priceLabels[t - VariableNameList::kVariableCount]);
        auto* box = new QComboBox(group);
        box->addItems(columns);
        box->setMaxVisibleItems(20);
        box->setObjectName(QStringLiteral("target%1").arg(t));
        targets_.at(size_t(t)) = box;
        grid->addWidget(new QLabel(label, group), t / kPairsPerLine, 2 * (t % kPairsPerLine));
        grid->addWidget(box, t / kPairsPerLine, 2 * (t % kPairsPerLine) + 1);
    }
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

void ImportMappingPane::setSettings(const ImportSettings& settings) {
    for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
        targets_.at(size_t(t))->setCurrentIndex(settings.columns[size_t(t)]);
    }
    if (separator_) separator_->setCurrentIndex(settings.separatorIndex);
    if (sheet_) sheet_->setText(Gbk::toUnicode(settings.sheetName));
}

ImportSettings ImportMappingPane::settings() const {
    ImportSettings settings(kind_);
    for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
        settings.columns[size_t(t)] = targets_.at(size_t(t))->currentIndex();
    }
    if (separator_) settings.separatorIndex = separator_->currentIndex();
    // A name GBK cannot hold comes back empty and is refused as such.
    if (sheet_) settings.sheetName = Gbk::fromUnicode(sheet_->text());
    return settings;
}

void ImportMappingPane::clearPreview() { list_->clear(); }

void ImportMappingPane::showPreview(TableSheet& sheet, const ImportSettings& settings) {
    list_->clear();
    const int rows = std::min(sheet.totalRows(), kPreviewRows);
    for (int r = 1; r <= rows; ++r) {
        auto* item = new QTreeWidgetItem(list_);
        for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
            const int c = settings.columns[size_t(t)];
            if (c < 1 || c > sheet.totalColumns()) continue;
            item->setText(t, Gbk::toUnicode(RecordImport::cutText(sheet.cell(c, r), kPreviewBytes)));
        }
    }
}

}  // namespace pemo
