#include "FontNameBox.h"

#include <QScrollBar>
#include <algorithm>

#include <QAbstractItemView>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "core/codecs/Gbk.h"
#include "core/text/FontFaces.h"

namespace pemo {

namespace {

constexpr int kNameRole = Qt::UserRole;

QFont faceFont(const QByteArray& name) {
    QFont font = FontFaces::font(name, FontNameBox::kNamePixels, false, false);
    font.setHintingPreference(QFont::PreferDefaultHinting);
    return font;
}

// Each name in its own face, on white, or in the highlight colours when selected.
class FaceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), FontNameBox::kItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (index.data(Qt::AccessibleDescriptionRole).toString() == QLatin1String("separator")) {
            painter->fillRect(option.rect, Qt::white);
            painter->setPen(QColor(160, 160, 160));
            const int y = option.rect.center().y();
            painter->drawLine(option.rect.left() + 2, y, option.rect.right() - 2, y);
            return;
        }
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->fillRect(option.rect, selected ? palette.highlight() : QBrush(Qt::white));
        painter->setPen(selected ? palette.highlightedText().color() : QColor(Qt::black));
        painter->setFont(faceFont(index.data(kNameRole).toByteArray()));
        painter->drawText(option.rect.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
    }
};

}  // namespace

FontNameBox::FontNameBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    // Every item has the same height: the list never measures the faces.
    auto* list = new QListView(this);
    list->setUniformItemSizes(true);
    setView(list);
    setItemDelegate(new FaceDelegate(this));
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(4);
}

void FontNameBox::setNames(const QList<QByteArray>& names, const QList<QByteArray>& extra) {
    clear();
    int widest = 0;
    const auto add = [&](const QByteArray& name) {
        const QString shown = Gbk::toUnicode(name);
        addItem(shown, name);
        widest = std::max(widest, fontMetrics().horizontalAdvance(shown));
    };
    for (const QByteArray& name : names) add(name);
    if (!extra.isEmpty()) {
        insertSeparator(count());
        for (const QByteArray& name : extra) add(name);
    }
    // The box stays narrow on the toolbar; its list is as wide as the longest name.
    const int margins = 2 * view()->frameWidth() + view()->verticalScrollBar()->sizeHint().width() + 12;
    view()->setMinimumWidth(widest + margins);
}

QByteArray FontNameBox::nameAt(int index) const { return itemData(index, kNameRole).toByteArray(); }

int FontNameBox::findName(const QByteArray& name) const {
    for (int i = 0; i < count(); ++i) {
        if (nameAt(i) == name) return i;
    }
    return -1;
}

void FontNameBox::showName(const QByteArray& name) {
    const int index = findName(name);
    unlisted_ = index < 0 ? name : QByteArray();
    setPlaceholderText(index < 0 ? Gbk::toUnicode(name) : QString());
    setCurrentIndex(index);
    update();
}

QByteArray FontNameBox::shownName() const {
    return currentIndex() >= 0 ? nameAt(currentIndex()) : unlisted_;
}

void FontNameBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QString text = option.currentText.isEmpty() ? placeholderText() : option.currentText;
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                QStyle::SC_ComboBoxEditField, this);
    painter.setFont(faceFont(shownName()));
    painter.setPen(isEnabled() ? palette().color(QPalette::Text)
                               : palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(field.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace pemo
