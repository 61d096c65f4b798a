#include "ExportDialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>

#include "FileDialogLook.h"
#include "ExportPane.h"
#include "core/document/CPatDoc.h"
#include "core/platform/Messages.h"
#include "core/records/RecordExport.h"

namespace pemo {

ExportDialog::ExportDialog(ExportSettings::Kind kind, const CPatDoc& doc, QWidget* parent)
    : QFileDialog(parent), kind_(kind), doc_(doc) {
    // Qt's own dialog, which can carry the pane.
    setOption(QFileDialog::DontUseNativeDialog);
    // The overwrite question is asked of the file really written (see accept).
    setOption(QFileDialog::DontConfirmOverwrite);
    setWindowTitle(QString::fromUtf8("导出"));
    FileDialogLook::prepare(*this);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    if (kind == ExportSettings::Kind::Text) {
        setNameFilters({QString::fromUtf8("所有文件 (*.txt)"), QString::fromUtf8("CSV文件 (*.csv)")});
        setDefaultSuffix(QStringLiteral("txt"));
    } else {
        setNameFilters({QString::fromUtf8("Excel 2007工作簿 (*.xlsx)")});
        setDefaultSuffix(QStringLiteral("xlsx"));
    }
    pane_ = new ExportPane(kind, doc, this);
    pane_->setSettings(ExportSettings::load(kind));
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(pane_, grid->rowCount(), 0, 1, grid->columnCount());
    }
    resize(sizeHint().expandedTo(QSize(760, 640)));
    if (kind == ExportSettings::Kind::Workbook) {
        const auto note = [this](const QString& name) {
            pane_->setNote(name.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)
                               ? QString::fromUtf8("工作簿以 .xlsx 格式写出：%1")
                                     .arg(QFileInfo(RecordExport::workbookPath(name)).fileName())
                               : QString());
        };
        connect(this, &QFileDialog::currentChanged, this, note);
        // Qt's dialog names its file name edit; a typed name gets the note as well.
        if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            connect(edit, &QLineEdit::textChanged, this, note);
        }
    }
}

ExportSettings ExportDialog::settings() const { return pane_->settings(); }

QString ExportDialog::chosenPath() const {
    const QString path = selectedFiles().value(0);
    if (path.isEmpty() || QFileInfo(path).isDir()) return QString();
    return kind_ == ExportSettings::Kind::Workbook ? RecordExport::workbookPath(path) : path;
}

bool ExportDialog::validate() {
    const QString message = settings().check(chosenPath(), doc_.variableNames);
    if (message.isEmpty()) return true;
    Messages::current().inform(message);
    return false;
}

void ExportDialog::accept() {
    const QString path = selectedFiles().value(0);
    // A folder is opened by the dialog itself.
    if (!path.isEmpty() && QFileInfo(path).isDir()) {
        QFileDialog::accept();
        return;
    }
    if (!validate()) return;
    // A name ending in .xls is written as .xlsx: that is the file asked about.
    if (!Messages::mayReplace(chosenPath())) return;
    if (!settings().save()) {
        Messages::current().inform(QString::fromUtf8("无法写入 %1。").arg(ExportSettings::fileName(kind_)));
    }
    QFileDialog::accept();
}

}  // namespace pemo
