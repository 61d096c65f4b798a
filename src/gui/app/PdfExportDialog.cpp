#include "PdfExportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRegularExpression>
#include <QSpinBox>
#include <algorithm>
#include <iterator>

#include "core/print/PdfOutput.h"
#include "core/print/PrintMode.h"

namespace pemo {

namespace {

struct Paper {
    const char* name;
    double width, height;
};
constexpr Paper kPapers[] = {{"A4", 210, 297}, {"A3", 297, 420}, {"A5", 148, 210}};

}  // namespace

QString PdfExportDialog::modeName(const QString& menuText) {
    QString name = menuText;
    name.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    name.remove(QStringLiteral("..."));
    return name.trimmed();
}

PdfExportDialog::PdfExportDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("导出PDF"));
    auto* form = new QFormLayout(this);
    mode_ = new QComboBox(this);
    for (const PrintMode& mode : PrintMode::all()) mode_->addItem(modeName(mode.printText), mode.code);
    mode_->setCurrentIndex(mode_->findData(int(PrintMode::ByItemWithBackground)));
    form->addRow(QString::fromUtf8("打印方式"), mode_);
    paper_ = new QComboBox(this);
    for (const Paper& p : kPapers) paper_->addItem(QString::fromLatin1(p.name));
    form->addRow(QString::fromUtf8("纸张"), paper_);
    overlap_ = new QSpinBox(this);
    overlap_->setRange(0, 100);
    overlap_->setValue(PrintSettings().tileOverlapMm);
    overlap_->setSuffix(QString::fromUtf8(" 毫米"));
    form->addRow(QString::fromUtf8("拼版重叠"), overlap_);
    spacing_ = new QSpinBox(this);
    spacing_->setRange(0, 100);
    spacing_->setValue(PrintSettings().mergeSpacingMm);
    spacing_->setSuffix(QString::fromUtf8(" 毫米"));
    form->addRow(QString::fromUtf8("合并间距"), spacing_);
    auto updateChoices = [this] {
        const int code = mode_->currentData().toInt();
        overlap_->setEnabled(code == PrintMode::Tile);
        spacing_->setEnabled(code == PrintMode::Merge);
    };
    connect(mode_, &QComboBox::currentIndexChanged, this, updateChoices);
    updateChoices();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QSizeF PdfExportDialog::paperMm() const {
    const Paper& p = kPapers[std::clamp(paper_->currentIndex(), 0, int(std::size(kPapers)) - 1)];
    return QSizeF(p.width, p.height);
}

PrintSettings PdfExportDialog::settings() const {
    PrintSettings settings;
    settings.mode = mode_->currentData().toInt();
    settings.sheetMm = PdfOutput::printableMm(paperMm());
    settings.tileOverlapMm = overlap_->value();
    settings.mergeSpacingMm = spacing_->value();
    return settings;
}

}  // namespace pemo
