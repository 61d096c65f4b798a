#include "BorderDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "ColourPicker.h"
#include "core/graphics/GlyphBorder.h"
#include "core/graphics/TextOutline.h"

namespace pemo {

namespace {

class BorderPreview : public QWidget {
public:
    explicit BorderPreview(const BorderDialog::Values& values, QWidget* parent)
        : QWidget(parent), values_(values) {
        setMinimumSize(300, 220);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const QRect r = rect().adjusted(40, 40, -40, -40);
        const int height = logicalDpiX() * values_.size * 20 / 1440;
        drawGlyphBorder(p, r.left(), r.top(), r.right() + 1, r.bottom() + 1, values_.kind, height,
                        values_.borderColour, values_.transparent, values_.backgroundColour);
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, QString::fromUtf8("效果预览"));
    }

private:
    const BorderDialog::Values& values_;
};

}  // namespace

BorderDialog::BorderDialog(RecentColourList& recent, const Values& values, QWidget* parent)
    : QDialog(parent), values_(values) {
    setWindowTitle(QString::fromUtf8("边框与填充"));
    chooser_ = [this, &recent](QPoint at, uint32_t current) {
        return ColourPicker::choose(this, recent, current, at);
    };
    auto* grid = new QGridLayout(this);
    kinds_ = new QListWidget(this);
    kinds_->setFixedWidth(150);
    const QFont symbols = GlyphBorder::symbolFont(12);
    for (int kind : GlyphBorder::kinds()) {
        QString text;
        if (kind == GlyphBorder::kNone) {
            text = QString::fromUtf8("无边框");
        } else if (kind == GlyphBorder::kRectangle) {
            text = QString::fromUtf8("──────");
        } else {
            text = GlyphBorder::symbolOf(kind).repeated(5);
        }
        auto* item = new QListWidgetItem(text, kinds_);
        if (kind > GlyphBorder::kRectangle) item->setFont(symbols);
        item->setData(Qt::UserRole, kind);
        if (kind == values_.kind) kinds_->setCurrentItem(item);
    }
    grid->addWidget(kinds_, 0, 0, 5, 1);
    preview_ = new BorderPreview(values_, this);
    grid->addWidget(preview_, 0, 1, 5, 1);

    auto* colour = new QPushButton(QString::fromUtf8("边框颜色"), this);
    sizes_ = new QComboBox(this);
    for (int s = 12; s <= 64; s += 4) sizes_->addItem(QString::number(s));
    sizes_->setCurrentIndex(std::clamp((values_.size - 12) / 4, 0, 13));
    auto* transparent = new QPushButton(QString::fromUtf8("透明方式"), this);
    auto* fill = new QPushButton(QString::fromUtf8("填充颜色"), this);
    grid->addWidget(colour, 0, 2);
    grid->addWidget(sizes_, 1, 2);
    grid->addWidget(transparent, 2, 2);
    grid->addWidget(fill, 3, 2);

    connect(kinds_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item) values_.kind = item->data(Qt::UserRole).toInt();
        preview_->update();
    });
    connect(sizes_, &QComboBox::currentIndexChanged, this, [this](int index) {
        values_.size = 12 + 4 * std::max(0, index);
        preview_->update();
    });
    const auto underButton = [](const QWidget* button) {
        return button->mapToGlobal(QPoint(0, button->height()));
    };
    connect(colour, &QPushButton::clicked, this, [this, colour, underButton] {
        if (const auto c = chooser_(underButton(colour), values_.borderColour)) values_.borderColour = *c;
        preview_->update();
    });
    connect(transparent, &QPushButton::clicked, this, [this] {
        values_.transparent = true;
        preview_->update();
    });
    connect(fill, &QPushButton::clicked, this, [this, fill, underButton] {
        if (values_.transparent) {
            values_.transparent = false;
        } else if (const auto c = chooser_(underButton(fill), values_.backgroundColour)) {
            values_.backgroundColour = *c;
        }
        preview_->update();
    });
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 5, 0, 1, 3);
}

}  // namespace pemo
