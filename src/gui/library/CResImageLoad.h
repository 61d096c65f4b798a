#pragma once

#include <QFileDialog>

class QGridLayout;
class QLineEdit;

namespace pemo {

class PicturePreview;

// "打开图片": the file dialog for choosing any picture file, with a pane beside the
// files that previews the selected picture (fitted into its box) and shows its width
// and height in pixels under "图片信息" (0 × 0 when it does not load; it can still be
// chosen).
class CResImageLoad : public QFileDialog {
    Q_OBJECT
public:
    explicit CResImageLoad(QWidget* parent = nullptr);

    QString selectedPath() const { return path_; }
    int pictureWidth() const { return width_; }
    int pictureHeight() const { return height_; }

    // Shows the dialog; the chosen file, or empty when cancelled.
    static QString choose(QWidget* parent);

protected:
    // For dialogs built on this one: the title, the filter list and the pane.
    CResImageLoad(QWidget* parent, const QString& title, const QStringList& filters);
    QGridLayout* paneLayout() const { return pane_; }
    // The selected file changed (after the size and preview were taken).
    virtual void fileSelected(const QString& path);
    // Takes path as the selected file: measures it, previews it, calls fileSelected.
    void selectionChanged(const QString& path);

private:
    void build();

    QGridLayout* pane_ = nullptr;
    PicturePreview* preview_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QString path_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace pemo
