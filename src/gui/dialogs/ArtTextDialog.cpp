#include "ArtTextDialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "core/codecs/Gbk.h"
#include "core/codecs/Picture.h"
#include "core/graphics/EffectPainter.h"
#include "core/platform/Folders.h"
#include "core/text/ArtText.h"
#include "core/text/CharStyle.h"
#include "core/text/FontFaces.h"

namespace pemo {

namespace {

constexpr int kItemHeight = 60;
constexpr int kPreviewPixels = 60;

struct EffectButton {
    int effect;
    int id;
    const char* name;
};

const EffectButton kButtons[] = {
    {0, 4331, "NORMAL"},   {1, 4332, "SHADOWLT"}, {2, 4333, "SHADOWRT"}, {3, 4334, "SHADOWLB"},
    {4, 4335, "SHADOWRB"}, {5, 4336, "NULL"},     {6, 4337, "BORDER"},   {7, 4338, "DBORDER"},
    {40, 4371, "COLORFLAT"}, {41, 4374, "PICFLAT"},
};

QString moreEffectName(int effect) {
    static const char* const soft[] = {"柔和阴影(左上)", "柔和阴影(右上)", "柔和阴影(左下)",
                                       "柔和阴影(右下)"};
    if (effect >= 8 && effect <= 11)
        return QString::fromUtf8(soft[effect - 8]);
    return QString::fromUtf8("变形%1").arg(effect - ArtText::kFirstWarp + 1);
}

CharStyle styleOf(const ArtCommand::Settings& s, int effect) {
    CharStyle style;
    style.textColour = s.textColour;
    style.effectColour = s.effectColour;
    style.effectSize = s.size;
    style.pattern = s.pattern;
    style.effect = effect;
    return style;
}

// One character centred in a box, painted in an effect with the dialog's settings.
void paintSample(QPainter& p, const QRect& box, const QString& text, const ArtCommand::Settings& s,
                 int effect, const QImage& texture) {
    const QFont font = FontFaces::font(s.face, kPreviewPixels, true, false);
    const QFontMetrics metrics(font);
    const int w = metrics.horizontalAdvance(text);
    const QPoint at(box.left() + (box.width() - w) / 2,
                    box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent());
    const int dpi = p.device() ? p.device()->logicalDpiX() : 96;
    const int pixels = std::max(1, s.size * dpi / 96);
    p.save();
    p.setClipRect(box);
    ArtText::paintCharacter(p, at, text, font, styleOf(s, effect), pixels, texture);
    p.restore();
}

// An effect button: the preview on a raised frame, sunken for the current effect.
class PreviewButton : public QAbstractButton {
public:
    using Painter = std::function<void(QPainter&, const QRect&)>;
    PreviewButton(Painter painter, QWidget* parent) : QAbstractButton(parent), painter_(std::move(painter)) {
        setFixedSize(76, 76);
        setCheckable(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.lineWidth = 2;
        frame.state |= isChecked() ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
        if (!isEnabled())
            p.setOpacity(0.4);
        painter_(p, rect().adjusted(3, 3, -3, -3));
        if (isChecked()) {
            p.setPen(QPen(palette().highlight().color(), 2));
            p.drawRect(rect().adjusted(1, 1, -2, -2));
        }
    }

private:
    Painter painter_;
};

// Pattern list items: a swatch of the pattern in the dialog's two colours.
class PatternDelegate : public QStyledItemDelegate {
public:
    PatternDelegate(const ArtCommand::Settings& settings, QObject* parent)
        : QStyledItemDelegate(parent), settings_(settings) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect box = option.rect.adjusted(2, 2, -2, -2);
        paintEffect(*p, box.left() + 28, box.top(), box.right() + 1, box.bottom() + 1, index.row() + 1,
                    uint32_t(settings_.textColour), uint32_t(settings_.effectColour));
        p->setPen(option.palette.text().color());
        p->drawText(QRect(box.left(), box.top(), 26, box.height()), Qt::AlignCenter,
                    QString::number(index.row()));
        if (option.state & QStyle::State_Selected) {
            p->setPen(QPen(option.palette.highlight().color(), 3));
            p->drawRect(box);
        }
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(120, kItemHeight);
    }

private:
    const ArtCommand::Settings& settings_;
};

QListWidget* makeList(int id, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::number(id));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

}  // namespace

QString ArtTextDialog::defaultTextureFolder() {
    return programFolder() + QStringLiteral("/贴图");
}

QString ArtTextDialog::textureName(const QString& fileName) {
    return fileName.size() > 4 ? fileName.left(fileName.size() - 4) : fileName;
}

QStringList ArtTextDialog::textureFiles(const QString& folder) {
    QStringList files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        const QString path = dir.filePath(name);
        if (!Picture::fromFile(path).image().isNull())
            files << path;
    }
    return files;
}

QString ArtTextDialog::previewCharacter(int effect) {
    if (effect == 0)
        return QString::fromUtf8("正");
    if (effect >= 1 && effect <= 4)
        return QString::fromUtf8("影");
    if (effect == 5)
        return QString::fromUtf8("空");
    if (effect == 6 || effect == 7)
        return QString::fromUtf8("边");
    if (effect == ArtText::kPatternFill)
        return QString::fromUtf8("彩");
    if (effect == ArtText::kTextureFill)
        return QString::fromUtf8("图");
    return QString::fromUtf8("艺");
}

ArtTextDialog::ArtTextDialog(const ArtCommand::Settings& settings, bool outlineOnly,
                             const QString& textureFolder, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QString::fromUtf8("艺术字设置"));
    settings_.textureFile.clear();
    auto* layout = new QVBoxLayout(this);

    auto* effectsBox = new QGroupBox(QString::fromUtf8("效果"), this);
    auto* grid = new QGridLayout(effectsBox);
    int column = 0;
    for (const EffectButton& b : kButtons) {
        const int effect = b.effect;
        auto* button = new PreviewButton(
            [this, effect](QPainter& p, const QRect& box) {
                paintSample(p, box, previewCharacter(effect), settings_, effect,
                            effect == ArtText::kTextureFill ? chosenTexture() : QImage());
            },
            effectsBox);
        button->setObjectName(QString::number(b.id));
        button->setToolTip(QString::fromLatin1(b.name));
        connect(button, &QAbstractButton::clicked, this, [this, effect] { chooseEffect(effect); });
        grid->addWidget(button, column / 5, column % 5);
        ++column;
        effects_[effect] = button;
    }
    more_ = new QComboBox(effectsBox);
    more_->addItem(QString::fromUtf8("其他效果…"), -1);
    for (int e = 8; e <= ArtText::kLastWarp; ++e)
        more_->addItem(moreEffectName(e), e);
    more_->setVisible(!outlineOnly);
    connect(more_, &QComboBox::activated, this, [this](int index) {
        const int effect = more_->itemData(index).toInt();
        if (effect >= 0)
            chooseEffect(effect);
    });
    preview_ = new PreviewButton(
        [this](QPainter& p, const QRect& box) {
            paintSample(p, box, previewCharacter(settings_.effect), settings_, settings_.effect,
                        chosenTexture());
        },
        effectsBox);
    preview_->setAttribute(Qt::WA_TransparentForMouseEvents);
    preview_->setFocusPolicy(Qt::NoFocus);
    preview_->setVisible(!outlineOnly);
    grid->addWidget(more_, 2, 0, 1, 4);
    grid->addWidget(preview_, 2, 4);
    layout->addWidget(effectsBox);

    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    sizes_ = makeList(4377, this);
    for (const char* text : {"阴影(小)", "阴影(中)", "阴影(大)"})
        sizes_->addItem(QString::fromUtf8(text));
    sizes_->setFixedHeight(3 * sizes_->sizeHintForRow(0) + 8);
    sizes_->setCurrentRow(std::clamp(settings_.size, 1, 3) - 1);
    connect(sizes_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        settings_.size = row + 1;
        refresh();
    });
    textColour_ = new QPushButton(this);
    textColour_->setObjectName(QStringLiteral("4379"));
    effectColour_ = new QPushButton(this);
    effectColour_->setObjectName(QStringLiteral("4380"));
    connect(textColour_, &QPushButton::clicked, this, [this] { chooseColour(false); });
    connect(effectColour_, &QPushButton::clicked, this, [this] { chooseColour(true); });
    left->addWidget(new QLabel(QString::fromUtf8("阴影大小"), this));
    left->addWidget(sizes_);
    left->addWidget(textColour_);
    left->addWidget(effectColour_);
    left->addStretch();
    lists->addLayout(left);

    patterns_ = makeList(4376, this);
    patterns_->setItemDelegate(new PatternDelegate(settings_, patterns_));
    for (int i = 0; i < 32; ++i)
        patterns_->addItem(QString::number(i));
    patterns_->setCurrentRow(std::clamp(settings_.pattern, 1, 32) - 1);
    connect(patterns_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        settings_.pattern = row + 1;
        refresh();
    });
    auto* patternBox = new QVBoxLayout;
    patternBox->addWidget(new QLabel(QString::fromUtf8("图案"), this));
    patternBox->addWidget(patterns_);
    lists->addLayout(patternBox);

    textures_ = makeList(4378, this);
    textures_->setIconSize(QSize(kItemHeight, kItemHeight));
    textureFiles_ = textureFiles(textureFolder);
    for (const QString& path : textureFiles_) {
        const QImage image = Picture::fromFile(path).image();
        texturePictures_ << image;
        auto* item = new QListWidgetItem(
            QIcon(QPixmap::fromImage(image.scaled(kItemHeight, kItemHeight, Qt::KeepAspectRatio,
                                                  Qt::SmoothTransformation))),
            textureName(QFileInfo(path).fileName()));
        item->setSizeHint(QSize(140, kItemHeight + 4));
        textures_->addItem(item);
    }
    // The list shows the texture in use: a text without one takes the first of the folder;
    // the texture a text already fills with (its own or the built-in one) is none of the
    // list's, so no row is current then.
    if (textures_->count() > 0 && settings_.textureKey.isEmpty() &&
        settings_.effect != ArtText::kTextureFill) {
        textures_->setCurrentRow(0);
        settings_.textureFile = textureFiles_.front();
    }
    // A row made current by a click or by the keys replaces the texture.
    connect(textures_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || row >= textureFiles_.size())
            return;
        settings_.textureFile = textureFiles_[row];
        refresh();
    });
    auto* textureBox = new QVBoxLayout;
    textureBox->addWidget(new QLabel(QString::fromUtf8("贴图"), this));
    textureBox->addWidget(textures_);
    lists->addLayout(textureBox);
    layout->addLayout(lists);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 620);
    refresh();
}

QAbstractButton* ArtTextDialog::effectButton(int effect) const {
    const auto it = effects_.find(effect);
    return it == effects_.end() ? nullptr : it->second;
}

QImage ArtTextDialog::chosenTexture() const {
    const int row = textureFiles_.indexOf(settings_.textureFile);
    if (row >= 0)
        return texturePictures_[row];
    return ArtText::texture(settings_.textureKey);
}

void ArtTextDialog::chooseEffect(int effect) {
    settings_.effect = effect;
    refresh();
}

void ArtTextDialog::chooseColour(bool effectColour) {
    int32_t& colour = effectColour ? settings_.effectColour : settings_.textColour;
    QPushButton* button = effectColour ? effectColour_ : textColour_;
    if (!chooser_)
        return;
    if (const auto chosen = chooser_(button->mapToGlobal(QPoint(0, button->height())), uint32_t(colour))) {
        colour = int32_t(*chosen);
        refresh();
    }
}

void ArtTextDialog::refresh() {
    const int e = settings_.effect;
    for (const auto& [effect, button] : effects_) {
        button->setChecked(effect == e);
        button->update();
    }
    const int moreIndex = more_->findData(e);
    more_->setCurrentIndex(moreIndex >= 0 ? moreIndex : 0);
    preview_->update();
    patterns_->setEnabled(e == ArtText::kPatternFill);
    patterns_->viewport()->update();
    sizes_->setEnabled(e >= 1 && e <= 11);
    textures_->setEnabled(e == ArtText::kTextureFill);
    textColour_->setText(QString::fromUtf8(e == ArtText::kPatternFill ? "开始颜色" : "文字颜色"));
    effectColour_->setText(QString::fromUtf8(e == ArtText::kPatternFill ? "结束颜色" : "边框颜色"));
    textColour_->setEnabled(e != ArtText::kTextureFill);
    effectColour_->setEnabled((e >= 1 && e <= 4) || (e >= 6 && e <= 11) || e == ArtText::kPatternFill);
}

}  // namespace pemo
