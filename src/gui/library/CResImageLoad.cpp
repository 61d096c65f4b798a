#include "CResImageLoad.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "core/codecs/Picture.h"
#include "core/library/ThumbnailGeometry.h"

namespace pemo {

// The 160 × 120 preview: the picture fitted into the box inside a one-pixel margin.
class PicturePreview : public QWidget {
public:
    explicit PicturePreview(QWidget* parent) : QWidget(parent) { setFixedSize(160, 120); }
    void setPicture(const Picture& picture) {
        picture_ = picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Highlight).darker(150));
        const QRect box = rect().adjusted(1, 1, -1, -1);
        painter.fillRect(box, palette().color(QPalette::Window));
        if (picture_.isNull())
            return;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        picture_.draw(painter, fitRect(picture_.size(), box));
    }

private:
    Picture picture_;
};

namespace {

QStringList loadFilters() {
    return {QString::fromUtf8("所有文件 (*.bmp,*.gif,*.emf,*.wmf,*.jpg,*.tif,*.pcx,*.tga) "
                              "(*.bmp *.gif *.emf *.wmf *.jpg *.tif *.pcx *.tga)"),
            QStringLiteral("Bitmaps Files (*.bmp)"),
            QStringLiteral("GIF Files (*.gif)"),
            QStringLiteral("JPEG Files (*.jpg)"),
            QStringLiteral("TIFF Files (*.tif)"),
            QStringLiteral("PCX Files (*.pcx)"),
            QStringLiteral("TGA Files (*.tga)"),
            QStringLiteral("Enhanced MetaFile (*.emf)"),
            QStringLiteral("Window MetaFile (*.wmf)")};
}

}  // namespace

CResImageLoad::CResImageLoad(QWidget* parent)
    : CResImageLoad(parent, QString::fromUtf8("打开图片"), loadFilters()) {}

CResImageLoad::CResImageLoad(QWidget* parent, const QString& title, const QStringList& filters)
    : QFileDialog(parent, title) {
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::ReadOnly);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters(filters);
    build();
}

void CResImageLoad::build() {
    auto* paneWidget = new QWidget(this);
    pane_ = new QGridLayout(paneWidget);
    pane_->setContentsMargins(6, 0, 0, 0);
    preview_ = new PicturePreview(paneWidget);
    pane_->addWidget(preview_, 0, 0, 1, 2, Qt::AlignTop);
    auto* info = new QGroupBox(QString::fromUtf8("图片信息"), paneWidget);
    auto* infoLayout = new QGridLayout(info);
    widthEdit_ = new QLineEdit(QStringLiteral("0"), info);
    heightEdit_ = new QLineEdit(QStringLiteral("0"), info);
    for (QLineEdit* edit : {widthEdit_, heightEdit_})
        edit->setReadOnly(true);
    infoLayout->addWidget(new QLabel(QString::fromUtf8("宽度:"), info), 0, 0);
    infoLayout->addWidget(widthEdit_, 0, 1);
    infoLayout->addWidget(new QLabel(QString::fromUtf8("高度:"), info), 1, 0);
    infoLayout->addWidget(heightEdit_, 1, 1);
    pane_->addWidget(info, 1, 0, 1, 2);
    pane_->setRowStretch(10, 1);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(paneWidget, 0, grid->columnCount(), grid->rowCount(), 1);
    }
    connect(this, &QFileDialog::currentChanged, this, &CResImageLoad::selectionChanged);
}

void CResImageLoad::selectionChanged(const QString& path) {
    path_ = QFileInfo(path).isFile() ? path : QString();
    width_ = height_ = 0;
    Picture picture;
    if (!path_.isEmpty())
        picture = Picture::fromFile(path_);
    if (!picture.isNull()) {
        width_ = picture.size().width();
        height_ = picture.size().height();
    }
    widthEdit_->setText(QString::number(width_));
    heightEdit_->setText(QString::number(height_));
    preview_->setPicture(picture);
    fileSelected(path_);
}

void CResImageLoad::fileSelected(const QString&) {}

QString CResImageLoad::choose(QWidget* parent) {
    CResImageLoad dialog(parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace pemo
