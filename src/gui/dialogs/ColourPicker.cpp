#include "ColourPicker.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <optional>

#include "core/graphics/ColourModel.h"
#include "core/graphics/RecentColourList.h"
#include "core/graphics/TextOutline.h"
#include "gui/common/PopupPlace.h"

namespace pemo {

namespace {

constexpr QSize kFolded(565, 110);
constexpr QSize kFull(790, 206);
constexpr int kFieldWidth = 176;   // hue 0 … 239 across
constexpr int kFieldHeight = 172;  // saturation 240 … 0 down
constexpr int kPerRow[] = {37, 37, 37, 37, 35, 35};

QColor inverted(uint32_t c) {
    return colourOf(int32_t(~c & 0xFFFFFF));
}

void drawSwatch(QPainter& p, const QRect& r, uint32_t colour, bool current) {
    p.setPen(Qt::NoPen);
    p.fillRect(r, current ? QColor(Qt::white) : QColor(0xC0, 0xC0, 0xC0));
    p.fillRect(r.adjusted(1, 1, -1, -1), current ? inverted(colour) : QColor(Qt::black));
    p.fillRect(r.adjusted(2, 2, -2, -2), colourOf(int32_t(colour)));
}

}  // namespace

ColourPicker::ColourPicker(RecentColourList& recent, uint32_t colour, QPoint at, QWidget* parent)
    : QDialog(parent, Qt::Popup), recent_(recent), colour_(colour & 0xFFFFFF), at_(at) {
    recent_.addColour(colour_);
    expand_ = new QPushButton(QString::fromUtf8("颜色"), this);
    expand_->setGeometry(530, 76, 28, 26);
    expand_->setFocusPolicy(Qt::NoFocus);
    connect(expand_, &QPushButton::clicked, this, [this] { expanded_ ? add() : expand(); });
    const char* labels[] = {"色度", "饱和度", "亮度", "红色", "绿色", "蓝色"};
    for (int i = 0; i < 6; ++i) {
        const int x = i < 3 ? 357 : 437;
        const int y = 116 + (i % 3) * 26;
        auto* label = new QLabel(QString::fromUtf8(labels[i]), this);
        label->setGeometry(x - 45, y, 42, 22);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = new QLineEdit(this);
        box->setGeometry(x, y, 38, 22);
        boxes_[size_t(i)] = box;
        connect(box, &QLineEdit::textEdited, this, [this, i] { boxEdited(i); });
    }
    auto* hint = new QLabel(QString::fromUtf8("操作提示：\n    按<ESC>键取消；按<RETURN>键返回；\n或按<添加>按钮。"),
                            this);
    hint->setGeometry(4, 120, 300, 70);
    setFromRgb(colour_);
    setFixedSize(kFull);
    place(kFolded);
    setMouseTracking(false);
}

std::optional<uint32_t> ColourPicker::choose(QWidget* parent, RecentColourList& recent,
                                             uint32_t colour, QPoint at) {
    ColourPicker picker(recent, colour, at, parent);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.colour();
}

QRect ColourPicker::swatchRect(int index) {
    int row = 0;
    while (row < 5 && index >= kPerRow[row]) index -= kPerRow[row++];
    return QRect(3 + index * 15, 3 + row * 17, 14, 15);
}

QRect ColourPicker::fieldRect() { return QRect(567, 2, kFieldWidth + 3, kFieldHeight + 3); }
QRect ColourPicker::barRect() { return QRect(752, 2, 30, kFieldHeight + 3); }

void ColourPicker::place(QSize size) {
    setFixedSize(size);
    // Folded or unfolded, the picker stays whole on the screen.
    if (!at_.isNull()) {
        move(PopupPlace::onScreen(at_, size));
    } else if (parentWidget()) {
        const QRect p = parentWidget()->window()->geometry();
        move(PopupPlace::onScreen(p.center() - QPoint(size.width() / 2, size.height() / 2), size));
    }
}

void ColourPicker::expand() {
    expanded_ = true;
    expand_->setText(QString::fromUtf8("添加"));
    place(kFull);
    update();
}

void ColourPicker::add() {
    recent_.addColour(colour_);
    acceptIfBoxesRead();
}

void ColourPicker::acceptIfBoxesRead() {
    if (readBoxes()) accept();
}

void ColourPicker::setFromRgb(uint32_t colour) {
    colour_ = colour & 0xFFFFFF;
    red_ = int(colour_ & 0xFF);
    green_ = int((colour_ >> 8) & 0xFF);
    blue_ = int((colour_ >> 16) & 0xFF);
    const Hsl hsl = hslFromRgb(red_, green_, blue_, hue_);
    hue_ = hsl.hue;
    saturation_ = hsl.saturation;
    luminance_ = hsl.luminance;
    writeBoxes();
    update();
}

void ColourPicker::setFromHsl() {
    colour_ = rgbFromHsl(hue_, saturation_, luminance_);
    red_ = int(colour_ & 0xFF);
    green_ = int((colour_ >> 8) & 0xFF);
    blue_ = int((colour_ >> 16) & 0xFF);
    writeBoxes();
    update();
}

void ColourPicker::writeBoxes() {
    writing_ = true;
    const int values[] = {hue_, saturation_, luminance_, red_, green_, blue_};
    for (int i = 0; i < 6; ++i) boxes_[size_t(i)]->setText(QString::number(values[i]));
    writing_ = false;
}

bool ColourPicker::readBoxes() {
    for (QLineEdit* box : boxes_) {
        bool ok = false;
        box->text().trimmed().toInt(&ok);
        if (!ok) {
            QMessageBox::warning(this, QString(), QString::fromUtf8("请键入一个整数。"));
            return false;
        }
    }
    return true;
}

void ColourPicker::boxEdited(int i) {
    if (writing_) return;
    bool ok = false;
    const int v = boxes_[size_t(i)]->text().trimmed().toInt(&ok);
    if (!ok) {
        QMessageBox::warning(this, QString(), QString::fromUtf8("请键入一个整数。"));
        return;
    }
    const int limits[] = {239, 240, 255, 255, 255, 255};
    if (v < 0 || v > limits[i]) return;
    switch (i) {
        case 0: hue_ = v; break;
        case 1: saturation_ = v; break;
        case 2: luminance_ = v; break;
        case 3: red_ = v; break;
        case 4: green_ = v; break;
        default: blue_ = v; break;
    }
    writing_ = true;
    if (i < 3) {
        colour_ = rgbFromHsl(hue_, saturation_, luminance_);
        red_ = int(colour_ & 0xFF);
        green_ = int((colour_ >> 8) & 0xFF);
        blue_ = int((colour_ >> 16) & 0xFF);
        for (int k = 3; k < 6; ++k) {
            boxes_[size_t(k)]->setText(QString::number(k == 3 ? red_ : k == 4 ? green_ : blue_));
        }
    } else {
        colour_ = uint32_t(red_) | uint32_t(green_) << 8 | uint32_t(blue_) << 16;
        const Hsl hsl = hslFromRgb(red_, green_, blue_, hue_);
        hue_ = hsl.hue;
        saturation_ = hsl.saturation;
        luminance_ = hsl.luminance;
        for (int k = 0; k < 3; ++k) {
            boxes_[size_t(k)]->setText(QString::number(k == 0 ? hue_ : k == 1 ? saturation_ : luminance_));
        }
    }
    writing_ = false;
    update();
}

bool ColourPicker::chooseSwatch(int index) {
    const uint32_t c = recent_.colourAt(index);
    if (index >= RecentColourList::kFixedCount && c == RecentColourList::kEmpty) return false;
    colour_ = c;
    return true;
}

void ColourPicker::drag(QPoint p) {
    const QRect area = dragMode_ == 1 ? barRect() : fieldRect();
    const int y = std::clamp(p.y() - area.top(), 0, kFieldHeight);
    if (dragMode_ == 1) {
        luminance_ = (kFieldHeight - y) * 240 / kFieldHeight;
    } else {
        const int x = std::clamp(p.x() - area.left(), 0, kFieldWidth);
        saturation_ = 240 - y * 240 / kFieldHeight;
        hue_ = x * 239 / kFieldWidth;
    }
    setFromHsl();
}

void ColourPicker::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    for (int i = 0; i < RecentColourList::kIndexCount; ++i) {
        if (!swatchRect(i).contains(p)) continue;
        if (chooseSwatch(i)) {
            acceptIfBoxesRead();
        } else if (!expanded_) {
            acceptIfBoxesRead();  // an empty recent slot keeps the starting colour
        }
        return;
    }
    if (expanded_ && barRect().contains(p)) {
        dragMode_ = 1;
        drag(p);
        return;
    }
    if (expanded_ && fieldRect().contains(p)) {
        dragMode_ = 2;
        drag(p);
        return;
    }
    if (!expanded_) reject();  // a press elsewhere while folded cancels
}

void ColourPicker::mouseMoveEvent(QMouseEvent* event) {
    if (dragMode_ != 0) drag(event->position().toPoint());
}

void ColourPicker::mouseReleaseEvent(QMouseEvent* event) {
    if (dragMode_ == 0) return;
    drag(event->position().toPoint());
    dragMode_ = 0;
    update();
}

void ColourPicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        acceptIfBoxesRead();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ColourPicker::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    for (int i = 0; i < RecentColourList::kIndexCount; ++i) {
        const uint32_t c = recent_.colourAt(i);
        const bool recentSlot = i >= RecentColourList::kFixedCount;
        drawSwatch(p, swatchRect(i), c,
                   c == colour_ && !(recentSlot && colour_ == RecentColourList::kEmpty));
    }
    if (!expanded_) return;
    // Hue–saturation field.
    static const QImage field = [] {
        QImage image(kFieldWidth, kFieldHeight, QImage::Format_RGB32);
        for (int y = 0; y < kFieldHeight; ++y) {
            for (int x = 0; x < kFieldWidth; ++x) {
                const uint32_t c =
                    rgbFromHsl(x * 239 / kFieldWidth, 240 - y * 240 / kFieldHeight, 120);
                image.setPixel(x, y, colourOf(int32_t(c)).rgb());
            }
        }
        return image;
    }();
    const QRect f = fieldRect();
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.left(), f.top(), kFieldWidth + 2, kFieldHeight + 2);
    p.drawImage(f.topLeft() + QPoint(1, 1), field);
    if (dragMode_ != 2) {
        const int mx = f.left() + 1 + hue_ * kFieldWidth / 239;
        const int my = f.top() + 1 + (240 - saturation_) * kFieldHeight / 240;
        p.setPen(QPen(QColor(255, 255, 0), 1));
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(mx - 4, my - 4, 8, 8));
    }
    // Luminance strip and its marker.
    const QRect b = barRect();
    for (int k = 0; k <= kFieldHeight; ++k) {
        const uint32_t c = rgbFromHsl(hue_, saturation_, 240 * (kFieldHeight - k) / kFieldHeight);
        p.fillRect(QRect(b.left() + 1, b.top() + k + 1, 9, 1), colourOf(int32_t(c)));
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(b.left(), b.top(), 10, kFieldHeight + 2);
    const int my = b.top() + (240 - std::min(luminance_, 240)) * kFieldHeight / 240;
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({{b.left() + 11, my}, {b.left() + 19, my - 4}, {b.left() + 19, my + 4}}));
    // Preview.
    const QRect preview(487, 117, 67, 73);
    p.setBrush(colourOf(int32_t(colour_)));
    p.drawRect(preview);
}

}  // namespace pemo
