#pragma once

#include <QWidget>
#include <vector>

#include "core/labels/LabelTemplate.h"

namespace pemo {

// A small picture of a label sheet: the labels before the start label grey (used
// already), the start label marked. Clicking a label makes it the start label.
class LabelSheetPicture : public QWidget {
    Q_OBJECT
public:
    explicit LabelSheetPicture(QWidget* parent = nullptr);

    void setSheet(const LabelTemplate& sheet);
    void clearSheet();
    int start() const { return start_; }
    void setStart(int start);
    // The label (1-based) under a point of the widget; 0 for none.
    int labelAt(QPointF point) const;
    // Where label n (1-based) is drawn, in widget coordinates.
    QRectF labelRect(int n) const;

    QSize sizeHint() const override { return QSize(220, 300); }

signals:
    void startChosen(int start);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Widget pixels per sheet millimetre, and the sheet's top-left corner.
    double scale() const;
    QPointF origin() const;

    LabelTemplate sheet_;
    std::vector<QRectF> labels_;
    bool hasSheet_ = false;
    int start_ = 1;
};

}  // namespace pemo
