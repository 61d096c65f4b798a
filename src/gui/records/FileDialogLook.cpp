#include "FileDialogLook.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTreeView>

namespace pemo {

namespace {
constexpr int kNameColumnWidth = 320;
constexpr int kOtherColumnWidth = 110;
}  // namespace

QString FileDialogLook::documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

void FileDialogLook::prepare(QFileDialog& dialog) {
    dialog.setDirectory(documentsFolder());
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = view->header();
        header->setMinimumSectionSize(60);
        header->resizeSection(0, kNameColumnWidth);
        for (int column = 1; column < header->count(); ++column) {
            header->resizeSection(column, kOtherColumnWidth);
        }
    }
}

}  // namespace pemo
