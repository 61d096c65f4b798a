#pragma once

#include <QByteArray>
#include <QComboBox>
#include <QList>

namespace pemo {

// A drop-down list of font face names (no typing), each drawn in its own face: the list's
// items 16 pixels high, the names 14 pixels, one pixel from the left. Every item keeps
// its name as stored (GBK) beside the text shown.
class FontNameBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;
    static constexpr int kNamePixels = 14;

    explicit FontNameBox(QWidget* parent = nullptr);

    // The names, then, under a separator, the extra ones (the barcode faces).
    void setNames(const QList<QByteArray>& names, const QList<QByteArray>& extra = {});
    QByteArray nameAt(int index) const;
    // The first item whose name equals name byte for byte, or -1.
    int findName(const QByteArray& name) const;
    // Selects the face; a face that is not listed (a document's face this machine does
    // not have) still shows its name, with no item selected.
    void showName(const QByteArray& name);
    QByteArray shownName() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QByteArray unlisted_;
};

}  // namespace pemo
