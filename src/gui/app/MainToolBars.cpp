#include "MainToolBars.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "DropDownButton.h"
#include "FontNameBox.h"
#include "gui/common/ToolIcons.h"
#include "core/barcodes/BarcodeFace.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/CPatDoc.h"
#include "core/document/TextFormat.h"
#include "core/text/FontChoices.h"
#include "core/text/FontFaces.h"
#include "core/text/RichText.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"
#include "gui/view/ShapeCommands.h"
#include "gui/view/StyleCommands.h"
#include "gui/view/TextCommands.h"
#include "gui/common/PopupPlace.h"

namespace pemo {

namespace FC = FormatCommand;

namespace {

const std::vector<ToolButtonEntry> kCommon = {
    {57600, "新建", "建立新文档", "document-new"},
    {57601, "打开", "打开一个现有文档", "document-open"},
    {57603, "保存", "保存当前文档", "document-save"},
    {0, nullptr, nullptr, nullptr},
    {34001, "撤消", "撤消最后一步操作", "edit-undo"},
    {34002, "重新执行", "重新执行先前撤消的操作", "edit-redo"},
    {0, nullptr, nullptr, nullptr},
    {34003, "剪切", "剪切所选对象并放到剪贴板上", "edit-cut"},
    {34004, "复制", "复制所选对象并放到剪贴板上", "edit-copy"},
    {34005, "粘贴", "插入剪贴板内容", "edit-paste"},
    {0, nullptr, nullptr, nullptr},
    {34034, "显隐底图", "显示或隐藏底图库", ":/icons/bar-backgrounds.svg"},
    {34035, "显隐模板", "显示或隐藏模板库和常用图库", ":/icons/bar-templates.svg"},
    {34033, "显隐信息编辑", "显示或隐藏信息编辑表格", ":/icons/bar-records.svg"},
    {0, nullptr, nullptr, nullptr},
    {34041, "放大视图", "放大显示页面", "zoom-in"},
    {34042, "缩小视图", "缩小显示页面", "zoom-out"},
    {34044, "整版显示", "按窗口大小显示整个页面", "zoom-fit-page"},
    {0, nullptr, nullptr, nullptr},
    {34048, "模板方式", "页面上的变量显示变量名称", ":/icons/template-mode.svg"},
    {0, nullptr, nullptr, nullptr},
    {34120, "信息插入", "在当前信息前插入新信息", ":/icons/record-insert.svg"},
    {0, nullptr, nullptr, nullptr},
    {34100, "删除", "删除当前信息", ":/icons/record-delete.svg"},
    {34118, "信息清除", "删除全部信息", "edit-clear-all"},
    {34119, "删除空信息", "删除没有内容的信息", ":/icons/record-delete-empty.svg"},
    {34101, "查找", "在信息中查找文字", "edit-find"},
    {0, nullptr, nullptr, nullptr},
    {34102, "全选打印队列", "全部信息加入打印队列", ":/icons/queue-all.svg"},
    {34103, "清空打印队列", "清空打印队列", ":/icons/queue-none.svg"},
    {0, nullptr, nullptr, nullptr},
    {34104, "第一条信息", "显示第一条信息", "go-first"},
    {34106, "前一条信息", "显示前一条信息", "go-previous"},
    {34107, "下一条信息", "显示下一条信息", "go-next"},
    {34105, "最后一条信息", "显示最后一条信息", "go-last"},
    {34108, "前一组信息", "信息表格向前翻一页", "go-up"},
    {34109, "下一组信息", "信息表格向后翻一页", "go-down"},
};

const std::vector<ToolButtonEntry> kPosition = {
    {34013, "左框对齐", "所选对象的左边对齐", "align-horizontal-left"},
    {34014, "左右居中", "所选对象左右居中对齐", "align-horizontal-center"},
    {34015, "右框对齐", "所选对象的右边对齐", "align-horizontal-right"},
    {0, nullptr, nullptr, nullptr},
    {34010, "顶框对齐", "所选对象的顶边对齐", "align-vertical-top"},
    {34011, "上下居中", "所选对象上下居中对齐", "align-vertical-center"},
    {34012, "底框对齐", "所选对象的底边对齐", "align-vertical-bottom"},
    {0, nullptr, nullptr, nullptr},
    {32944, "左边框对齐", "所选对象靠页面左边", ":/icons/page-edge-left.svg"},
    {32945, "右边框对齐", "所选对象靠页面右边", ":/icons/page-edge-right.svg"},
    {32941, "上边框对齐", "所选对象靠页面上边", ":/icons/page-edge-top.svg"},
    {32942, "下边框对齐", "所选对象靠页面下边", ":/icons/page-edge-bottom.svg"},
    {0, nullptr, nullptr, nullptr},
    {34016, "上移一层", "所选对象上移一层", "object-order-raise"},
    {34017, "下移一层", "所选对象下移一层", "object-order-lower"},
    {34018, "移到顶层", "所选对象移到最上层", "object-order-front"},
    {34019, "移到底层", "所选对象移到最下层", "object-order-back"},
    {0, nullptr, nullptr, nullptr},
    {34020, "加锁/解锁", "锁定或解锁所选对象", "object-locked"},
};

const std::vector<ToolButtonEntry> kObject = {
    {32949, "中文字体", "选择中文字体", nullptr},
    {32950, "英文字体", "选择英文字体", nullptr},
    {32951, "字号", "选择字号", nullptr},
    {0, nullptr, nullptr, nullptr},
    {34270, "粗体", "所选文字加粗或取消加粗", "format-text-bold"},
    {34271, "斜体", "所选文字倾斜或取消倾斜", "format-text-italic"},
    {34272, "下划线", "所选文字加或去下划线", "format-text-underline"},
    {34304, "艺术字", "所选文字的艺术字效果", ":/icons/art-text.svg"},
    {0, nullptr, nullptr, nullptr},
    {34273, "字符颜色", "所选文字用当前字符颜色", "format-text-color"},
    {34310, "字距", "所选文字的字符间距", ":/icons/char-spacing.svg"},
    {0, nullptr, nullptr, nullptr},
    {34280, "版式", "文字的排列方式", "format-justify-fill"},
    {34290, "行距", "文字的行间距", "format-line-spacing-normal"},
    {34303, "竖排格式", "文字竖排或横排", "format-text-direction-vertical"},
    {0, nullptr, nullptr, nullptr},
    {34200, "插入变量信息", "插入商品变量", ":/icons/insert-variable.svg"},
    {34220, "插入文字", "插入常用文字", "insert-text"},
    {34260, "商场信息", "插入商场信息或商场标志", ":/icons/insert-mall.svg"},
    {34250, "价格信息", "插入原价、现价或折扣", ":/icons/insert-price.svg"},
    {34537, "插入条码", "插入条码或二维码", ":/icons/insert-barcode.svg"},
    {0, nullptr, nullptr, nullptr},
    {34302, "价格格式", "所选价格的显示格式", ":/icons/price-format.svg"},
    {0, nullptr, nullptr, nullptr},
    {34301, "启停自动排版", "文字随文字框大小自动缩放", ":/icons/auto-fit.svg"},
    {0, nullptr, nullptr, nullptr},
    {34305, "文字图形化", "把所选文字转换为图形", ":/icons/text-to-graphic.svg"},
    {0, nullptr, nullptr, nullptr},
    {34501, "插入图象", "插入图象文件", "insert-image"},
    {34500, "绘制图形", "选择要绘制的图形", "draw-rectangle"},
    {0, nullptr, nullptr, nullptr},
    {34513, "图形颜色", "所选图形用当前图形颜色", "format-stroke-color"},
    {0, nullptr, nullptr, nullptr},
    {34512, "线型", "所选图形的线宽和线型", ":/icons/line-style.svg"},
    {0, nullptr, nullptr, nullptr},
    {34515, "填充方式", "所选图形的填充和阴影", "format-fill-color"},
};

// Commands a button opens as a popup under itself.
bool isPopup(int id) {
    switch (id) {
        case 34120: case 34310: case 34280: case 34290:
        case 34200: case 34220: case 34260: case 34250:
            return true;
        default: return false;
    }
}

// The face of 字符颜色 or 图形颜色: its picture with the bottom three rows of each
// size in the colour (0x00BBGGRR).
QIcon colourBarIcon(const QIcon& base, uint32_t colour) {
    const QColor c(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    QIcon out;
    for (const int size : {16, 22, 32, 48}) {
        QPixmap pixmap = base.pixmap(size, size);
        if (pixmap.isNull()) pixmap = QPixmap(size, size), pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        const int bar = std::max(3, size * 3 / 16);
        painter.fillRect(0, size - bar, size, bar, c);
        painter.end();
        out.addPixmap(pixmap);
    }
    return out;
}

const char* alignmentIcon(int alignment) {
    switch (alignment) {
        case RichText::Left: return "format-justify-left";
        case RichText::Right: return "format-justify-right";
        case RichText::Centre: return "format-justify-center";
        default: return "format-justify-fill";
    }
}

}  // namespace

const std::vector<ToolButtonEntry>& MainToolBars::buttons(int bar) {
    switch (bar) {
        case kCommonBar: return kCommon;
        case kPositionBar: return kPosition;
        default: return kObject;
    }
}

MainToolBars::MainToolBars(QMainWindow& window, CPatView& view)
    : QObject(&window), window_(window), view_(view) {}

void MainToolBars::create() {
    const auto make = [this](int id, const char* title, const char* name) {
        auto* bar = new QToolBar(QString::fromUtf8(title), &window_);
        bar->setObjectName(QString::fromUtf8(name));
        bar->setIconSize(QSize(16, 16));
        bar->setMovable(true);
        bar->toggleViewAction()->setData(id);
        bars_.insert(id, bar);
        return bar;
    };
    QToolBar* common = make(kCommonBar, "常用工具栏", "CommonToolBar");
    QToolBar* object = make(kObjectBar, "对象工具栏", "ObjectToolBar");
    QToolBar* position = make(kPositionBar, "位置工具栏", "PositionToolBar");
    common->setAllowedAreas(Qt::TopToolBarArea);
    object->setAllowedAreas(Qt::TopToolBarArea);
    window_.addToolBar(Qt::TopToolBarArea, common);
    window_.addToolBarBreak(Qt::TopToolBarArea);
    window_.addToolBar(Qt::TopToolBarArea, object);
    window_.addToolBar(Qt::LeftToolBarArea, position);
}

void MainToolBars::fill(TextCommands& text, const std::function<QAction*(int)>& command,
                        const std::function<QMenu*(int)>& popup) {
    text_ = &text;
    command_ = command;
    popup_ = popup;
    for (const int bar : {kCommonBar, kPositionBar, kObjectBar}) fillBar(bar);
    updateButtons();
    updateTextCombos();
}

void MainToolBars::fillBar(int barId) {
    QToolBar* bar = bars_.value(barId);
    for (const ToolButtonEntry& entry : buttons(barId)) {
        if (entry.id == 0) {
            bar->addSeparator();
            continue;
        }
        if (entry.id == kChineseFaceBox) {
            addBoxes(bar);
            continue;
        }
        if (entry.id == kWesternFaceBox || entry.id == kSizeBox) continue;
        QAction* action = isPopup(entry.id) ? nullptr : command_(entry.id);
        const bool proxy = !action;
        if (proxy) {
            // A popup, or a command whose menu item does not exist (yet): a button of
            // its own, greyed while it has nothing to run.
            action = new QAction(QString::fromUtf8(entry.tip), this);
            action->setData(entry.id);
            proxies_.insert(entry.id, action);
            const int id = entry.id;
            if (isPopup(id)) {
                connect(action, &QAction::triggered, this, [this, id] { openPopup(id); });
            } else {
                action->setEnabled(false);
            }
        }
        action->setToolTip(QString::fromUtf8(entry.tip));
        action->setStatusTip(QString::fromUtf8(entry.prompt));
        if (entry.icon) action->setIcon(toolIcon(entry.icon));
        if (entry.id == FC::AlignmentMenu || entry.id == FC::TextColour ||
            entry.id == StyleCommands::PenColour) {
            addDropDown(bar, entry, action);
        } else {
            bar->addAction(action);
        }
    }
}

void MainToolBars::addBoxes(QToolBar* bar) {
    chineseBox_ = new FontNameBox(bar);
    chineseBox_->setObjectName(QStringLiteral("ChineseFaceBox"));
    westernBox_ = new FontNameBox(bar);
    westernBox_->setObjectName(QStringLiteral("WesternFaceBox"));
    sizeBox_ = new QComboBox(bar);
    sizeBox_->setObjectName(QStringLiteral("SizeBox"));
    chineseBox_->setNames(FontChoices::chinese(), BarcodeFace::gbkNames());
    westernBox_->setNames(FontChoices::western(), BarcodeFace::gbkNames());
    const std::pair<FontNameBox*, int> boxes[] = {{chineseBox_, 120}, {westernBox_, 180}};
    for (const auto& [box, listWidth] : boxes) {
        box->setFixedWidth(78);
        box->view()->setMinimumWidth(listWidth);
        box->setMaxVisibleItems(250 / FontNameBox::kItemHeight);
    }
    chineseBox_->setToolTip(QString::fromUtf8("中文字体"));
    westernBox_->setToolTip(QString::fromUtf8("英文字体"));
    chineseBox_->setStatusTip(QString::fromUtf8("选择中文字体"));
    westernBox_->setStatusTip(QString::fromUtf8("选择英文字体"));
    sizeBox_->setFont(FontFaces::font(CharStyle::defaultChineseFace(), 13, false, false));
    for (const int points : FC::sizeChoices()) sizeBox_->addItem(QString::number(points), points);
    sizeBox_->setFixedWidth(50);
    sizeBox_->view()->setMinimumWidth(80);
    sizeBox_->setMaxVisibleItems(15);
    sizeBox_->setToolTip(QString::fromUtf8("字号"));
    sizeBox_->setStatusTip(QString::fromUtf8("选择字号"));
    // The lists drop below their boxes, as drop-down lists do, rather than over them.
    for (QComboBox* box : {static_cast<QComboBox*>(chineseBox_),
                           static_cast<QComboBox*>(westernBox_), sizeBox_}) {
        box->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    }
    bar->addWidget(chineseBox_)->setData(kChineseFaceBox);
    bar->addWidget(westernBox_)->setData(kWesternFaceBox);
    bar->addWidget(sizeBox_)->setData(kSizeBox);
    connect(chineseBox_, &QComboBox::activated, this,
            [this] { chooseFace(chineseBox_, FC::ChineseFace); });
    connect(westernBox_, &QComboBox::activated, this,
            [this] { chooseFace(westernBox_, FC::WesternFace); });
    connect(sizeBox_, &QComboBox::activated, this, &MainToolBars::chooseSize);
}

void MainToolBars::addDropDown(QToolBar* bar, const ToolButtonEntry& entry, QAction* command) {
    const int id = entry.id;
    std::function<void()> onArrow;
    if (id == FC::AlignmentMenu) {
        onArrow = [this] { openPopup(FC::AlignmentMenu); };
    } else {
        // The arrow of 字符颜色 and 图形颜色 picks a colour in the picker.
        const int chooser = id == FC::TextColour ? StyleCommands::TextColour
                                                  : StyleCommands::ChoosePenColour;
        onArrow = [this, chooser] {
            StyleCommands::run(view_, chooser);
            updateButtons();
        };
    }
    auto* button = new DropDownButton(command, std::move(onArrow), bar);
    button->setObjectName(QStringLiteral("DropDown%1").arg(id));
    button->button()->setIconSize(bar->iconSize());
    QAction* slot = bar->addWidget(button);
    slot->setData(id);
    slot->setToolTip(command->toolTip());
    slot->setStatusTip(command->statusTip());
    dropDowns_.insert(id, button);
}

QWidget* MainToolBars::buttonOf(int id) const {
    if (DropDownButton* dropDown = dropDowns_.value(id)) return dropDown;
    for (QToolBar* bar : bars_) {
        for (QAction* action : bar->actions()) {
            if (action->data().toInt() == id) return bar->widgetForAction(action);
        }
    }
    return nullptr;
}

void MainToolBars::openPopup(int id) {
    QMenu* menu = popup_ ? popup_(id) : nullptr;
    if (!menu) return;
    menu->popup(PopupPlace::under(buttonOf(id), 0, 1).value_or(QCursor::pos()));
}

void MainToolBars::chooseFace(FontNameBox* box, int id) {
    const QByteArray face = box->nameAt(box->currentIndex());
    if (!face.isEmpty()) text_->chooseFace(id, face);
    returnFocusToPage();
}

void MainToolBars::chooseSize() {
    const int points = sizeBox_->currentData().toInt();
    if (points > 0) text_->applySize(points);
    returnFocusToPage();
}

void MainToolBars::returnFocusToPage() {
    // The box's list gives the focus back to its box as it closes, after the choice:
    // the page takes it once the list is gone, so the next key edits the page again and
    // never picks another size.
    QPointer<QWidget> canvas = view_.canvas();
    canvas->setFocus();
    QTimer::singleShot(0, canvas, [canvas] {
        if (canvas) canvas->setFocus();
    });
}

void MainToolBars::updateTextCombos() {
    if (!chineseBox_) return;
    const InfoRecord* record = view_.document().currentRecord();
    const TextBlock* edited = record ? FC::editedBlock(*record) : nullptr;
    const CharStyle* shown = record ? FC::shownStyle(*record) : nullptr;
    // Faces are chosen for the edited text; a size also for a text block as a whole.
    for (QComboBox* box : {static_cast<QComboBox*>(chineseBox_), static_cast<QComboBox*>(westernBox_)}) {
        if (box->isEnabled() != bool(edited)) box->setEnabled(edited);
    }
    if (sizeBox_->isEnabled() != bool(shown)) sizeBox_->setEnabled(shown);
    if (!shown) return;
    const CharStyle& style = *shown;
    if (chineseBox_->shownName() != style.chineseFace) chineseBox_->showName(style.chineseFace);
    if (westernBox_->shownName() != style.westernFace) westernBox_->showName(style.westernFace);
    const int points = style.size;
    const int index = sizeBox_->findData(points);
    if (sizeBox_->currentIndex() != index || (index < 0 && sizeBox_->placeholderText().toInt() != points)) {
        sizeBox_->setPlaceholderText(index >= 0 ? QString() : QString::number(points));
        sizeBox_->setCurrentIndex(index);
    }
}

void MainToolBars::updateButtons() {
    const InfoRecord* record = view_.document().currentRecord();
    for (auto it = proxies_.constBegin(); it != proxies_.constEnd(); ++it) {
        const int id = it.key();
        if (!isPopup(id)) continue;
        const QMenu* menu = popup_ ? popup_(id) : nullptr;
        it.value()->setEnabled(menu && menu->isEnabled() && record);
        // A popup ticked in the menu (常用文字 while a text tool is armed) shows its
        // button pressed.
        const QAction* item = menu ? menu->menuAction() : nullptr;
        it.value()->setCheckable(item && item->isCheckable());
        it.value()->setChecked(item && item->isChecked());
    }
    // 绘制图形 is ticked while a drawing tool is armed.
    if (QAction* draw = command_ ? command_(ShapeCommands::DrawShape) : nullptr)
        draw->setChecked(BlockKind::isGraphic(view_.armedTool()));
    for (const int id : {StyleCommands::PenColour, StyleCommands::LineStyle,
                         StyleCommands::FillSettings}) {
        if (QAction* action = command_ ? command_(id) : nullptr)
            action->setEnabled(StyleCommands::isEnabled(view_, id));
    }
    if (DropDownButton* button = dropDowns_.value(FC::TextColour);
        button && shownTextColour_ != view_.currentTextColour()) {
        shownTextColour_ = view_.currentTextColour();
        button->setFace(colourBarIcon(toolIcon("format-text-color"), shownTextColour_));
    }
    if (DropDownButton* button = dropDowns_.value(StyleCommands::PenColour);
        button && shownPenColour_ != view_.drawingStyle().penColour) {
        shownPenColour_ = view_.drawingStyle().penColour;
        button->setFace(colourBarIcon(toolIcon("format-stroke-color"), shownPenColour_));
    }
    // 版式 shows the selected text block's alignment, and its popup ticks it.
    if (const TextBlock* block = record ? FC::liveTextBlock(*record) : nullptr;
        block && block->content()) {
        view_.currentAlignment = block->content()->alignment();
    }
    if (DropDownButton* button = dropDowns_.value(FC::AlignmentMenu);
        button && shownAlignment_ != view_.currentAlignment) {
        shownAlignment_ = view_.currentAlignment;
        button->setFace(toolIcon(alignmentIcon(shownAlignment_)));
    }
}

}  // namespace pemo
