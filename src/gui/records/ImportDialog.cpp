#include "ImportDialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>

#include "EncodingChoice.h"
#include "FileDialogLook.h"
#include "ImportMappingPane.h"
#include "core/platform/Messages.h"
#include "core/records/ImportColumns.h"
#include "core/records/MappingGuess.h"
#include "core/records/TableSheet.h"

namespace pemo {

ImportDialog::ImportDialog(ImportSettings::Kind kind, const VariableNameList& names,
                           QWidget* parent)
    : QFileDialog(parent), kind_(kind), names_(names) {
    // Qt's own dialog, which can carry the pane.
    setOption(QFileDialog::DontUseNativeDialog);
    FileDialogLook::prepare(*this);
    setWindowTitle(QString::fromUtf8("导入"));
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    if (kind == ImportSettings::Kind::Text) {
        setNameFilters({QString::fromUtf8("文本文件 (*.txt *.csv *.tsv)"), QString::fromUtf8("CSV文件 (*.csv)"),
                        QString::fromUtf8("全部文件 (*)")});
        setDefaultSuffix(QStringLiteral("txt"));
    } else {
        setNameFilters({QString::fromUtf8("工作簿 (*.xls *.xlsx)"), QString::fromUtf8("所有文件 (*.xls)"),
                        QString::fromUtf8("Excel 2007工作簿 (*.xlsx)"), QString::fromUtf8("全部文件 (*)")});
        setDefaultSuffix(QStringLiteral("xls"));
    }
    pane_ = new ImportMappingPane(kind, names, this);
    const ImportSettings saved = ImportSettings::load(kind);
    savedHeader_ = saved.header;
    pane_->setSettings(saved);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(pane_, grid->rowCount(), 0, 1, grid->columnCount());
        if (kind == ImportSettings::Kind::Text) {
            encoding_ = new EncodingChoice(this);
            grid->addWidget(encoding_, grid->rowCount(), 0, 1, grid->columnCount());
            connect(this, &QFileDialog::currentChanged, encoding_, &EncodingChoice::guessFor);
            // Another encoding names the columns anew.
            connect(encoding_->box(), &QComboBox::activated, this, [this] { chooseFile(chosenPath()); });
        }
    }
    resize(sizeHint().expandedTo(QSize(760, 640)));
    connect(pane_, &ImportMappingPane::previewRequested, this, &ImportDialog::preview);
    connect(pane_, &ImportMappingPane::headerToggled, this, [this](bool on) {
        pane_->clearPreview();
        if (on) guessMapping();
    });
    connect(this, &QFileDialog::currentChanged, this, &ImportDialog::chooseFile);
    // A name typed or pasted into the name box is a choice too.
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(name, &QLineEdit::textChanged, this, [this] {
            const QString path = chosenPath();
            if (QFileInfo(path).isFile()) chooseFile(path);
        });
    }
    // Another separator or sheet gives other columns.
    if (QComboBox* separator = pane_->separatorBox()) {
        connect(separator, &QComboBox::currentIndexChanged, this, [this] { chooseFile(chosenPath()); });
    }
    if (QLineEdit* sheet = pane_->sheetEdit()) {
        connect(sheet, &QLineEdit::editingFinished, this, [this] { chooseFile(chosenPath()); });
    }
}

ImportDialog::~ImportDialog() = default;

ImportSettings ImportDialog::settings() const { return pane_->settings(); }

QString ImportDialog::chosenPath() const {
    const QString path = selectedFiles().value(0);
    return path.isEmpty() || QFileInfo(path).isDir() ? QString() : path;
}

QString ImportDialog::sheetName() const {
    return pane_->sheetEdit() ? pane_->sheetEdit()->text() : QString();
}

std::optional<DelimitedText::Encoding> ImportDialog::encoding() const {
    return encoding_ ? encoding_->encoding() : std::nullopt;
}

int ImportDialog::firstRow() const { return pane_->firstRowIsHeader() ? 2 : 1; }

ImportTarget::Page ImportDialog::page() const { return pane_->page(); }

void ImportDialog::setPage(ImportTarget::Page page, bool canUseCurrentPage) {
    pane_->setPage(page, canUseCurrentPage);
}

void ImportDialog::chooseFile(const QString& path) {
    pane_->clearPreview();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) return;
    const ImportSettings s = settings();
    sheet_ = std::make_unique<TableSheet>(path, s.separator(), sheetName(), encoding());
    if (!sheet_->isRead() || sheet_->totalRows() == 0) {
        sheet_.reset();
        pane_->showColumns(nullptr);
        return;
    }
    pane_->showColumns(sheet_.get());
    if (savedHeader_ == ImportSettings::Header::Unknown) {
        pane_->setFirstRowIsHeader(ImportColumns::firstRowIsHeader(*sheet_, s.columns, names_));
    }
    if (pane_->firstRowIsHeader()) guessMapping();
}

void ImportDialog::guessMapping() {
    // One column is a whole line: most likely the separator is not the file's yet.
    if (!sheet_ || sheet_->totalColumns() < 2) return;
    const ImportSettings::Columns guessed = MappingGuess::guess(ImportColumns::firstRow(*sheet_), names_);
    if (MappingGuess::mappedCount(guessed) > 0) pane_->setColumns(guessed);
}

bool ImportDialog::validate() {
    const QString message = settings().check(chosenPath(), names_);
    if (message.isEmpty()) return true;
    Messages::current().inform(message);
    return false;
}

void ImportDialog::preview() {
    if (!validate()) return;
    pane_->clearPreview();
    // A typed name is not a selection: show what the file seems to be in before reading it.
    if (encoding_ && !encoding()) encoding_->guessFor(chosenPath());
    const ImportSettings s = settings();
    TableSheet sheet(chosenPath(), s.separator(), sheetName(), encoding());
    if (!sheet.isRead()) {
        Messages::current().inform(sheet.message());
        return;
    }
    pane_->showPreview(sheet, s, firstRow());
}

void ImportDialog::accept() {
    const QString path = selectedFiles().value(0);
    // A folder is opened, a missing file is reported by the dialog itself.
    if (!path.isEmpty() && (QFileInfo(path).isDir() || !QFileInfo::exists(path))) {
        QFileDialog::accept();
        return;
    }
    if (!validate()) return;
    if (!settings().save()) {
        Messages::current().inform(
            QString::fromUtf8("无法写入 %1。").arg(ImportSettings::fileName(kind_)));
    }
    QFileDialog::accept();
}

}  // namespace pemo
