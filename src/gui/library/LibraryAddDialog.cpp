#include "LibraryAddDialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "core/library/LibraryFolders.h"
#include "core/platform/Messages.h"

namespace pemo {

namespace {

using What = LibraryEdits::What;

QStringList addFilters(What what) {
    QStringList filters;
    if (what == What::Background) {
        filters << QString::fromUtf8(
            "所有文件 (*.bmp,*.gif,*.emf,*.wmf,*.jpg) "
            "(*.bmp *.gif *.emf *.wmf *.jpg)");
    } else {
        filters << QString::fromUtf8(
            "所有文件 (*.bmp,*.gif,*.emf,*.wmf,*.jpg,*.tif,*.pcx,*.tga) "
            "(*.bmp *.gif *.emf *.wmf *.jpg *.tif *.pcx *.tga)");
    }
    filters << QStringLiteral("Bitmaps Files (*.bmp)") << QStringLiteral("GIF Files (*.gif)")
            << QStringLiteral("JPEG Files (*.jpg)");
    if (what == What::Picture) {
        filters << QStringLiteral("TIFF Files (*.tif)") << QStringLiteral("PCX Files (*.pcx)")
                << QStringLiteral("TGA Files (*.tga)");
    }
    filters << QStringLiteral("Enhanced MetaFile (*.emf)")
            << QStringLiteral("Window MetaFile (*.wmf)");
    return filters;
}

}  // namespace

LibraryAddDialog::LibraryAddDialog(What what, const QString& root, const QString& category,
                                   QWidget* parent)
    : CResImageLoad(parent, QString::fromUtf8(what == What::Background ? "增加底图" : "增加图片"),
                    addFilters(what)),
      what_(what),
      root_(root) {
    auto* group =
        new QGroupBox(QString::fromUtf8(what == What::Background ? "底图设置" : "图片设置"), this);
    auto* layout = new QGridLayout(group);
    categories_ = new QComboBox(group);
    QStringList names = LibraryFolders::categories(root);
    if (what == What::Background)
        names.removeAll(LibraryFolders::blankCategory());
    categories_->addItems(names);
    categories_->setCurrentIndex(int(names.indexOf(category)));
    name_ = new QLineEdit(group);
    layout->addWidget(new QLabel(QString::fromUtf8("类别:"), group), 0, 0);
    layout->addWidget(categories_, 0, 1);
    layout->addWidget(new QLabel(QString::fromUtf8("名称:"), group), 1, 0);
    layout->addWidget(name_, 1, 1);
    paneLayout()->addWidget(group, 2, 0, 1, 2);
}

QString LibraryAddDialog::category() const {
    return categories_->currentText();
}
QString LibraryAddDialog::name() const {
    return name_->text();
}

void LibraryAddDialog::fileSelected(const QString& path) {
    if (!path.isEmpty())
        name_->setText(QFileInfo(path).completeBaseName());
}

QString LibraryAddDialog::problem() const {
    if (categories_->currentIndex() < 0)
        return QString::fromUtf8("请选择类别!");
    if (!LibraryFolders::isAcceptedType(selectedPath())) {
        return QString::fromUtf8("只能增加 BMP, JPG, GIF, WMF, EMF, TIF, PCX, TGA 类型的图片!");
    }
    return LibraryEdits::nameProblem(what_, root_ + QLatin1Char('/') + category(), name());
}

void LibraryAddDialog::accept() {
    // Opening a folder is the file dialog's own business.
    const QStringList files = selectedFiles();
    if (files.isEmpty() || !QFileInfo(files.constFirst()).isFile()) {
        CResImageLoad::accept();
        return;
    }
    // A path typed into the file name field never passes through the file list.
    if (files.constFirst() != selectedPath()) {
        const QString typedName = name();
        selectionChanged(files.constFirst());
        name_->setText(typedName);
    }
    if (categories_->currentIndex() < 0)
        return;
    const QString message = problem();
    if (!message.isEmpty()) {
        Messages::current().inform(message);
        return;
    }
    CResImageLoad::accept();
}

CResBkgdAdd::CResBkgdAdd(const QString& category, QWidget* parent)
    : LibraryAddDialog(What::Background, LibraryFolders::backgroundRoot(), category, parent) {}

CResImageAdd::CResImageAdd(const QString& category, QWidget* parent)
    : LibraryAddDialog(What::Picture, LibraryFolders::pictureRoot(), category, parent) {}

}  // namespace pemo
