#include "PriceFormatDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/codecs/Gbk.h"
#include "core/text/PriceItem.h"
#include "core/text/RichText.h"

namespace pemo {

namespace {

constexpr int kColour1 = 4222;
constexpr int kColour2 = 4223;
constexpr int kCurrentStyles[] = {1, 4, 5, 8, 9, 12};  // buttons 4213..4218

// A picture of a price style: a sample price drawn by the price item itself.
QPixmap stylePicture(int style) {
    const QSize size(104, 40);
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    CharStyle charStyle;
    charStyle.chineseFace = Gbk::fromUnicode(QStringLiteral("黑体"));
    charStyle.size = 20;
    RichText text(1560, 600, QByteArrayLiteral("88.80"), charStyle, TextKind::OriginalPrice, 20, 0,
                  RichText::Left);
    static_cast<PriceItem&>(text.item(0)).priceStyle = style;
    text.layout();
    QPainter painter(&pixmap);
    text.draw(painter, TextDevice{1.0, 4, 4, 96, 96}, false);
    return pixmap;
}

QColor toColour(int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

std::optional<int32_t> pickWithQt(QWidget* parent, QPoint, int32_t current) {
    const QColor c = QColorDialog::getColor(toColour(current), parent);
    if (!c.isValid())
        return std::nullopt;
    return int32_t(c.red() | (c.green() << 8) | (c.blue() << 16));
}

}  // namespace

int PriceFormatDialog::styleOfButton(int32_t kind, int id) {
    if (kind == TextKind::OriginalPrice && id >= 4201 && id <= 4212)
        return id - 4200;
    if (kind == TextKind::CurrentPrice && id >= 4213 && id <= 4218)
        return kCurrentStyles[id - 4213];
    if (kind == TextKind::Discount && id >= 4219 && id <= 4221)
        return id - 4206;
    return 0;
}

PriceFormatDialog::PriceFormatDialog(int32_t kind, int32_t priceStyle, int32_t lineColour,
                                     QWidget* parent)
    : QDialog(parent),
      kind_(kind),
      priceStyle_(priceStyle),
      lineColour_(lineColour),
      chooser_(pickWithQt) {
    setWindowTitle(QStringLiteral("价格信息格式"));
    auto* layout = new QVBoxLayout(this);

    auto makeStyleButton = [this](int id, int style) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("button%1").arg(id));
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setIcon(stylePicture(style));
        b->setIconSize(QSize(104, 40));
        b->setEnabled(styleOfButton(kind_, id) != 0);
        connect(b, &QToolButton::clicked, this,
                [this, id] { chooseStyle(styleOfButton(kind_, id)); });
        buttons_[id] = b;
        return b;
    };
    auto makeColourButton = [this](int id, const char* text) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("button%1").arg(id));
        b->setText(QString::fromUtf8(text));
        b->setEnabled((id == kColour1 && kind_ == TextKind::OriginalPrice) ||
                      (id == kColour2 && kind_ == TextKind::CurrentPrice));
        connect(b, &QToolButton::clicked, this, [this, b] { chooseColour(b); });
        buttons_[id] = b;
        return b;
    };

    auto* original = new QGroupBox(QStringLiteral("{原价}"), this);
    auto* originalGrid = new QGridLayout(original);
    for (int i = 0; i < 12; ++i)
        originalGrid->addWidget(makeStyleButton(4201 + i, i + 1), i / 4, i % 4);
    originalGrid->addWidget(makeColourButton(kColour1, "线条颜色"), 3, 3);
    layout->addWidget(original);

    auto* current = new QGroupBox(QStringLiteral("{现价}"), this);
    auto* currentGrid = new QGridLayout(current);
    for (int i = 0; i < 6; ++i)
        currentGrid->addWidget(makeStyleButton(4213 + i, kCurrentStyles[i]), i / 4, i % 4);
    currentGrid->addWidget(makeColourButton(kColour2, "线条颜色"), 1, 3);
    layout->addWidget(current);

    auto* discount = new QGroupBox(QStringLiteral("{折扣}"), this);
    auto* discountGrid = new QGridLayout(discount);
    for (int i = 0; i < 3; ++i)
        discountGrid->addWidget(makeStyleButton(4219 + i, 13 + i), 0, i);
    layout->addWidget(discount);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    refreshButtons();
}

QAbstractButton* PriceFormatDialog::button(int id) const {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void PriceFormatDialog::chooseStyle(int style) {
    if (style == 0)
        return;
    priceStyle_ = style;
    refreshButtons();
}

void PriceFormatDialog::chooseColour(QToolButton* b) {
    const QPoint at = b->mapToGlobal(QPoint(-530, b->height()));
    if (auto colour = chooser_(this, at, lineColour_)) {
        lineColour_ = *colour;
        refreshButtons();
    }
}

void PriceFormatDialog::refreshButtons() {
    for (auto& [id, b] : buttons_) {
        if (id == kColour1 || id == kColour2) {
            // The enabled colour button shows the line colour.
            QPixmap swatch(16, 16);
            swatch.fill(b->isEnabled() ? toColour(lineColour_) : QColor(Qt::lightGray));
            b->setIcon(swatch);
            b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            continue;
        }
        // The current style's button is shown pressed.
        b->setChecked(b->isEnabled() && styleOfButton(kind_, id) == priceStyle_);
    }
}

}  // namespace pemo
