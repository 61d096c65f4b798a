#include "ExportPane.h"

#include <QCheckBox>
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
#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "core/records/ImportSettings.h"
#include "core/records/RecordImport.h"

namespace pemo {

namespace {

constexpr int kPairsPerLine = 3;
constexpr int kPreviewColumnWidth = 70;

}  // namespace

ExportPane::ExportPane(ExportSettings::Kind kind, const CPatDoc& doc, QWidget* parent)
    : QWidget(parent), kind_(kind) {
    const VariableNameList& names = doc.variableNames;
    auto* group = new QGroupBox(QString::fromUtf8("设置"), this);
    auto* grid = new QGridLayout(group);
    QStringList numbers{QString::fromUtf8("空")};
    for (int c = 1; c <= ExportSettings::kTargetCount; ++c) numbers << QString::number(c);
    const char* const priceLabels[] = {"{商品原价} ", "{商品现价}", "{商品折扣}"};
    for (int t = 0; t < ExportSettings::kTargetCount; ++t) {
        const QString label = t < VariableNameList::kVariableCount
                                  ? QLatin1Char('{') + Gbk::toUnicode(names.name(t)) + QLatin1Char('}')
                                  : QString::fromUtf8(priceLabels[t - VariableNameList::kVariableCount]);
        auto* box = new QComboBox(group);
        box->addItems(numbers);
        box->setMaxVisibleItems(14);
        box->setObjectName(QStringLiteral("target%1").arg(t));
        targets_.at(size_t(t)) = box;
        grid->addWidget(new QLabel(label, group), t / kPairsPerLine, 2 * (t % kPairsPerLine));
        grid->addWidget(box, t / kPairsPerLine, 2 * (t % kPairsPerLine) + 1);
    }
    const int row = ExportSettings::kTargetCount / kPairsPerLine;
    const int column = 2 * (ExportSettings::kTargetCount % kPairsPerLine);
    if (kind == ExportSettings::Kind::Text) {
        separator_ = new QComboBox(group);
        for (int i = 0; i < ImportSettings::kSeparatorCount; ++i) {
            separator_->addItem(QString(QLatin1Char(ImportSettings::separatorAt(i))));
        }
        grid->addWidget(new QLabel(QString::fromUtf8("{分割符}"), group), row, column);
        grid->addWidget(separator_, row, column + 1);
        utf8_ = new QCheckBox(QString::fromUtf8("UTF-8编码"), group);
        utf8_->setToolTip(QString::fromUtf8("以带字节顺序标记的UTF-8写出，供其他程序读取"));
        grid->addWidget(utf8_, row, column + 2);
    } else {
        sheet_ = new QLineEdit(group);
        sheet_->setMaxLength(ExportSettings::kMaxSheetName);
        grid->addWidget(new QLabel(QString::fromUtf8("工作表名"), group), row, column);
        grid->addWidget(sheet_, row, column + 1, 1, 2);
    }
    all_ = new QPushButton(QString::fromUtf8("全部导出"), group);
    grid->addWidget(all_, row, 2 * kPairsPerLine - 1);
    connect(all_, &QPushButton::clicked, this, [this] {
        for (int t = 0; t < ExportSettings::kTargetCount; ++t) targets_.at(size_t(t))->setCurrentIndex(t + 1);
    });
    note_ = new QLabel(group);
    note_->setObjectName(QStringLiteral("xlsxNote"));
    note_->setVisible(false);
    grid->addWidget(note_, row + 1, 0, 1, 2 * kPairsPerLine);

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setColumnCount(ExportSettings::kTargetCount);
    QStringList captions;
    for (int t = 0; t < ExportSettings::kTargetCount; ++t) {
        captions << Gbk::toUnicode(ExportSettings::caption(t, names));
    }
    list_->setHeaderLabels(captions);
    for (int c = 0; c < ExportSettings::kTargetCount; ++c) list_->setColumnWidth(c, kPreviewColumnWidth);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setMinimumHeight(120);
    // The first records as they are, whatever order is chosen.
    const int rows = std::min(doc.recordCount(), kPreviewRows);
    for (int r = 0; r < rows; ++r) {
        auto* item = new QTreeWidgetItem(list_);
        for (int t = 0; t < ExportSettings::kTargetCount; ++t) {
            item->setText(t, Gbk::toUnicode(RecordImport::cutText(doc.recordAt(r)->value(t), kPreviewBytes)));
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
    layout->addWidget(list_);
}

void ExportPane::setSettings(const ExportSettings& settings) {
    for (int t = 0; t < ExportSettings::kTargetCount; ++t) {
        targets_.at(size_t(t))->setCurrentIndex(settings.orders[size_t(t)]);
    }
    if (separator_) separator_->setCurrentIndex(settings.separatorIndex);
    if (sheet_) sheet_->setText(Gbk::toUnicode(settings.sheetName));
}

ExportSettings ExportPane::settings() const {
    ExportSettings settings(kind_);
    for (int t = 0; t < ExportSettings::kTargetCount; ++t) {
        settings.orders[size_t(t)] = targets_.at(size_t(t))->currentIndex();
    }
    if (separator_) settings.separatorIndex = separator_->currentIndex();
    // A name GBK cannot hold comes back empty and is refused as such.
    if (sheet_) settings.sheetName = Gbk::fromUnicode(sheet_->text());
    return settings;
}

bool ExportPane::utf8() const { return utf8_ && utf8_->isChecked(); }

void ExportPane::setNote(const QString& text) {
    note_->setText(text);
    note_->setVisible(!text.isEmpty());
}

}  // namespace pemo
