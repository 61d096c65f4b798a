#include "FillDialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ButtonFaces.h"
#include "ColourPicker.h"
#include "core/graphics/EffectFill.h"
#include "core/graphics/TextOutline.h"

namespace pemo {

namespace {

constexpr int32_t kFirstEffect = 1003;
constexpr int32_t kLastEffect = 1020;

bool isEffect(int32_t code) { return code >= kFirstEffect && code <= kLastEffect; }

Qt::BrushStyle hatchOf(int32_t code) {
    static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                             Qt::FDiagPattern, Qt::BDiagPattern,
                                             Qt::CrossPattern, Qt::DiagCrossPattern};
    return hatches[std::clamp(code, 0, 5)];
}

// A button painted entirely by a function.
class DrawnButton : public QAbstractButton {
public:
    using Painter = std::function<void(QPainter&, const QRect&)>;
    DrawnButton(QSize size, Painter painter, QWidget* parent)
        : QAbstractButton(parent), painter_(std::move(painter)) {
        setFixedSize(size);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        painter_(p, rect());
    }

private:
    Painter painter_;
};

// The sample of a fill code in a box: the shape is a rectangle on the buttons and an
// ellipse in the preview.
void drawSample(QPainter& p, const QRect& box, int32_t code, uint32_t pen, uint32_t fill,
                bool ellipse) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor penColour = colourOf(int32_t(pen));
    const QColor fillColour = colourOf(int32_t(fill));
    const auto shape = [&](const QPen& q, const QBrush& b) {
        p.setPen(q);
        p.setBrush(b);
        if (ellipse) {
            p.drawEllipse(box.adjusted(0, 0, -1, -1));
        } else {
            p.drawRect(box.adjusted(0, 0, -1, -1));
        }
    };
    if (isEffect(code)) {
        // The ellipse's effect spans the box padded to whole bytes, as a shape's does.
        const QRect area(box.topLeft(),
                         QSize(ellipse ? (box.width() + 7) / 8 * 8 : box.width(), box.height()));
        paintEffectFill(p, area, code - 1002, pen, fill, [&](QPainter& q, const QBrush& b) {
            if (!ellipse) {
                q.fillRect(box, b);
                return;
            }
            q.setPen(QPen(b, 1));
            q.setBrush(b);
            q.drawEllipse(box.adjusted(0, 0, -1, -1));
        });
    } else if (code == 1000) {
        shape(QPen(penColour, 1), Qt::NoBrush);
    } else if (code == 1001) {
        shape(QPen(penColour, 1), QBrush(fillColour));
    } else if (code == 1002) {
        if (ellipse) {
            shape(QPen(penColour, 1), QBrush(penColour));
        } else {
            p.fillRect(box, penColour);
        }
    } else {
        shape(QPen(penColour, 1), QBrush(fillColour, hatchOf(code)));
    }
    p.restore();
}

}  // namespace

const std::vector<int32_t>& FillDialog::fillCodes() {
    static const std::vector<int32_t> codes = {
        1000, 1002, 1001, 0,    1,     4,    2,    3,    5,     // brushes and hatches
        1003, 1011, 1004, 1005, 1006,  1007, 1008, 1009, 1010,  // effects 1
        1012, 1013, 1014, 1015, 1016,  1017, 1018, 1019, 1020,  // effects 2
    };
    return codes;
}

FillDialog::FillDialog(RecentColourList& recent, const Values& values, QWidget* parent)
    : QDialog(parent), values_(values) {
    setWindowTitle(QString::fromUtf8("填充设置"));
    chooser_ = [this, &recent](QPoint at, uint32_t current) {
        return ColourPicker::choose(this, recent, current, at);
    };
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);

    auto* mode = new QGroupBox(QString::fromUtf8("绘制方式"), this);
    auto* modeRow = new QHBoxLayout(mode);
    for (int d = 0; d <= 4; ++d) {
        auto* b = new DrawnButton(QSize(45, 45), [this, d](QPainter& p, const QRect& r) {
            d == values_.shadowDirection ? drawPressedFace(p, r) : drawRaisedFace(p, r);
            QFont font(QStringLiteral("AR PL UMing CN"));
            font.setPixelSize(30);
            font.setBold(true);
            p.setFont(font);
            const QRect inner = r.adjusted(3, 3, -3, -3);
            if (d == 0) {
                p.setPen(colourOf(int32_t(values_.penColour)));
                p.drawText(inner, Qt::AlignCenter, QString::fromUtf8("正"));
                return;
            }
            const int s = values_.shadowDistance;
            const QPoint off(d % 2 == 1 ? -s : s, d <= 2 ? -s : s);
            p.setPen(colourOf(int32_t(values_.shadowColour)));
            p.drawText(inner.translated(off), Qt::AlignCenter, QString::fromUtf8("影"));
            p.setPen(colourOf(int32_t(values_.penColour)));
            p.drawText(inner, Qt::AlignCenter, QString::fromUtf8("影"));
        }, mode);
        connect(b, &QAbstractButton::clicked, this, [this, d] {
            values_.shadowDirection = int16_t(d);
            refreshShadowControls();
        });
        directions_.push_back(b);
        modeRow->addWidget(b);
    }
    top->addWidget(mode);

    auto* shadow = new QGroupBox(QString::fromUtf8("阴影"), this);
    auto* shadowRow = new QVBoxLayout(shadow);
    const char* sizeNames[] = {"小", "中", "大"};
    for (int s = 1; s <= 3; ++s) {
        auto* r = new QRadioButton(QString::fromUtf8(sizeNames[s - 1]), shadow);
        r->setAutoExclusive(false);
        connect(r, &QRadioButton::clicked, this, [this, s] {
            values_.shadowDistance = int16_t(s);
            refreshShadowControls();
        });
        sizes_.push_back(r);
        shadowRow->addWidget(r);
    }
    top->addWidget(shadow);

    auto* colourGroup = new QGroupBox(QString::fromUtf8("颜色"), this);
    auto* colourRow = new QVBoxLayout(colourGroup);
    for (int i = 0; i < 3; ++i) {
        auto* b = new DrawnButton(QSize(110, 26), [this, i](QPainter& p, const QRect& r) {
            const uint32_t c = i == 0   ? values_.penColour
                               : i == 1 ? values_.fillColour
                                        : values_.shadowColour;
            const QColor inv = colourOf(int32_t(~c & 0xFFFFFF));
            p.fillRect(r, Qt::white);
            p.fillRect(r.adjusted(1, 1, -1, -1), inv);
            p.fillRect(r.adjusted(2, 2, -2, -2), colourOf(int32_t(c)));
            QFont font(QStringLiteral("AR PL UMing CN"));
            font.setPixelSize(14);
            p.setFont(font);
            p.setPen(inv);
            p.drawText(r, Qt::AlignCenter, colourCaption(i));
        }, colourGroup);
        connect(b, &QAbstractButton::clicked, this, [this, i] { chooseColour(i); });
        colours_.push_back(b);
        colourRow->addWidget(b);
    }
    top->addWidget(colourGroup);

    auto* previewGroup = new QGroupBox(QString::fromUtf8("预览"), this);
    auto* previewRow = new QVBoxLayout(previewGroup);
    preview_ = new DrawnButton(QSize(130, 65), [this](QPainter& p, const QRect& r) {
        drawPressedFace(p, r);
        const QRect box(QPoint(8, 10), QPoint(8 + ((r.width() - 16) / 8) * 8 - 1, r.height() - 11));
        const int d = values_.shadowDistance;
        if (values_.shadowDirection >= 1 && values_.shadowDirection <= 4 && d != 0) {
            const int dir = values_.shadowDirection;
            const QPoint off(dir % 2 == 1 ? -d : d, dir <= 2 ? -d : d);
            drawSample(p, box.translated(off), 1002, values_.shadowColour, values_.shadowColour,
                       true);
        }
        drawSample(p, box, values_.fillType, values_.penColour, values_.fillColour, true);
    }, previewGroup);
    previewRow->addWidget(preview_);
    top->addWidget(previewGroup);

    auto* fillGroup = new QGroupBox(QString::fromUtf8("填充方式"), this);
    auto* grid = new QGridLayout(fillGroup);
    const auto& codes = fillCodes();
    for (size_t k = 0; k < codes.size(); ++k) {
        const int32_t code = codes[k];
        auto* b = new DrawnButton(QSize(45, 45), [this, code](QPainter& p, const QRect& r) {
            if (code == values_.fillType) {
                drawPressedFace(p, r);
                p.fillRect(r.adjusted(2, 2, -2, -2), Qt::white);
            } else {
                drawRaisedFace(p, r);
            }
            drawSample(p, r.adjusted(6, 6, -6, -6), code, values_.penColour, values_.fillColour,
                       false);
        }, fillGroup);
        connect(b, &QAbstractButton::clicked, this, [this, code] {
            values_.fillType = code;
            for (QAbstractButton* f : fills_) f->update();
            for (QAbstractButton* c : colours_) c->update();
            preview_->update();
        });
        fills_.push_back(b);
        grid->addWidget(b, int(k / 9), int(k % 9));
    }
    layout->addWidget(fillGroup);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8("确认"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    refreshShadowControls();
}

QString FillDialog::colourCaption(int i) const {
    const bool effect = isEffect(values_.fillType);
    if (i == 0) return QString::fromUtf8(effect ? "开始颜色" : "边框颜色");
    if (i == 1) return QString::fromUtf8(effect ? "结束颜色" : "填充颜色");
    return QString::fromUtf8("阴影颜色");
}

void FillDialog::refreshShadowControls() {
    for (QAbstractButton* d : directions_) d->update();
    const bool on = values_.shadowDirection != 0;
    for (int s = 1; s <= 3; ++s) {
        QRadioButton* r = sizes_[size_t(s - 1)];
        r->setEnabled(on);
        r->setChecked(values_.shadowDistance == s);
    }
    colours_[2]->setVisible(on);
    for (QAbstractButton* c : colours_) c->update();
    preview_->update();
}

void FillDialog::chooseColour(int i) {
    uint32_t& target = i == 0 ? values_.penColour : i == 1 ? values_.fillColour : values_.shadowColour;
    QAbstractButton* b = colours_[size_t(i)];
    const QPoint at = b->mapToGlobal(QPoint(0, b->height())) - QPoint(497, 0);
    if (const auto chosen = chooser_(at, target)) {
        target = *chosen & 0xFFFFFF;
        refreshShadowControls();
        for (QAbstractButton* f : fills_) f->update();
    }
}

QAbstractButton* FillDialog::fillButton(int32_t code) const {
    const auto& codes = fillCodes();
    for (size_t k = 0; k < codes.size(); ++k) {
        if (codes[k] == code) return fills_[k];
    }
    return nullptr;
}

QAbstractButton* FillDialog::directionButton(int direction) const {
    return direction >= 0 && direction <= 4 ? directions_[size_t(direction)] : nullptr;
}

QRadioButton* FillDialog::sizeButton(int distance) const {
    return distance >= 1 && distance <= 3 ? sizes_[size_t(distance - 1)] : nullptr;
}

QAbstractButton* FillDialog::colourButton(int i) const {
    return i >= 0 && i <= 2 ? colours_[size_t(i)] : nullptr;
}

}  // namespace pemo
