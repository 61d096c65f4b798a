#include "ImportDialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>

#include "EncodingChoice.h"
#include "FileDialogLook.h"
#include "ImportMappingPane.h"
#include "core/platform/Messages.h"
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
        setNameFilters({QString::fromUtf8("所有文件 (*.txt)"), QString::fromUtf8("CSV文件 (*.csv)"),
                        QString::fromUtf8("全部文件 (*)")});
        setDefaultSuffix(QStringLiteral("txt"));
    } else {
        setNameFilters({QString::fromUtf8("所有文件 (*.xls)"),
                        QString::fromUtf8("Excel 2007工作簿 (*.xlsx)"),
                        QString::fromUtf8("全部文件 (*)")});
        setDefaultSuffix(QStringLiteral("xls"));
    }
    pane_ = new ImportMappingPane(kind, names, this);
    pane_->setSettings(ImportSettings::load(kind));
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(pane_, grid->rowCount(), 0, 1, grid->columnCount());
        if (kind == ImportSettings::Kind::Text) {
            encoding_ = new EncodingChoice(this);
            grid->addWidget(encoding_, grid->rowCount(), 0, 1, grid->columnCount());
            connect(this, &QFileDialog::currentChanged, encoding_, &EncodingChoice::guessFor);
        }
    }
    resize(sizeHint().expandedTo(QSize(760, 640)));
    connect(pane_, &ImportMappingPane::previewRequested, this, &ImportDialog::preview);
    connect(this, &QFileDialog::currentChanged, pane_, &ImportMappingPane::clearPreview);
}

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
    pane_->showPreview(sheet, s);
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
