#include "TextCommands.h"

#include <QCursor>
#include <QInputDialog>
#include <QMenu>

#include "CPatView.h"
#include "core/barcodes/BarcodeFace.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/config/MallInfoList.h"
#include "core/config/PhraseList.h"
#include "core/document/ArtCommands.h"
#include "core/document/CPatDoc.h"
#include "core/document/InsertCommands.h"
#include "core/document/TextFormat.h"
#include "core/text/FontFaces.h"
#include "core/text/PriceItem.h"
#include "core/text/RichText.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/common/PopupPlace.h"
#include "core/platform/Messages.h"
#include "gui/dialogs/ArtTextDialog.h"
#include "gui/dialogs/BarcodeDialog.h"
#include "gui/dialogs/ColourPicker.h"
#include "gui/dialogs/PriceFormatDialog.h"

namespace pemo {

namespace FC = FormatCommand;
namespace IC = InsertCommand;

namespace {

const char* const kLineSpacingTexts[] = {"行距0",  "行距5",  "行距10", "行距15",  "行距20",
                                         "行距25", "行距50", "行距75", "行距100", "行距150"};
const char* const kCharSpacingTexts[] = {"字距0",  "字距25",  "字距50", "字距75",
                                         "字距100", "字距150", "字距200"};

}  // namespace

TextCommands::TextCommands(CPatView& view, const MallInfoList& mallInfo, const PhraseList& phrases,
                           QWidget* window)
    : CommandGroup(window), view_(view), mallInfo_(mallInfo), phrases_(phrases), window_(window) {}

QAction* TextCommands::addCommand(QMenu* menu, int id, const QString& text, const QKeySequence& key,
                                  bool checkable) {
    QAction* action = CommandGroup::addCommand(menu, id, text, key);
    action->setCheckable(checkable);
    if (!key.isEmpty()) window_->addAction(action);
    return action;
}

void TextCommands::addTo(QMenu* menu) {
    const auto command = [&](int id, const char* text, const QKeySequence& key = QKeySequence(),
                             bool checkable = true) {
        connect(addCommand(menu, id, QString::fromUtf8(text), key, checkable), &QAction::triggered,
                this, [this, id] { run(id); });
    };
    command(FC::Bold, "粗体(&B)", QKeySequence(Qt::CTRL | Qt::Key_B));
    command(FC::Italic, "斜体(&I)");
    connect(addCommand(menu, FC::TextColour, QString::fromUtf8("字符颜色(&C)")), &QAction::triggered,
            this, [this] {
                if (FC::applyTextColour(*view_.document().currentRecord(),
                                        int32_t(view_.currentTextColour()), view_.autoFit()))
                    changed();
            });
    command(FC::Underline, "下划线(&U)");
    menu->addSeparator();
    QMenu* spacing = menu->addMenu(QString::fromUtf8("字距"));
    popups_.insert(FC::CharSpacingMenu, spacing);
    for (int id = FC::FirstCharSpacing; id <= FC::LastCharSpacing; ++id) {
        connect(addCommand(spacing, id, QString::fromUtf8(kCharSpacingTexts[id - FC::FirstCharSpacing]),
                           QKeySequence(), true),
                &QAction::triggered, this, [this, id] { run(id); });
    }
    QMenu* alignment = menu->addMenu(QString::fromUtf8("版式"));
    popups_.insert(FC::AlignmentMenu, alignment);
    const std::pair<int, const char*> alignments[] = {
        {FC::Fill, "撑满(&M)"}, {FC::Left, "居左(&L)"}, {FC::Centre, "居中(&E)"}, {FC::Right, "居右(&R)"}};
    for (const auto& [id, text] : alignments) {
        connect(addCommand(alignment, id, QString::fromUtf8(text), QKeySequence(), true),
                &QAction::triggered, this, [this, id = id] { run(id); });
    }
    QMenu* lines = menu->addMenu(QString::fromUtf8("行距"));
    popups_.insert(FC::LineSpacingMenu, lines);
    for (int id = FC::FirstLineSpacing; id <= FC::LastLineSpacing; ++id) {
        connect(addCommand(lines, id, QString::fromUtf8(kLineSpacingTexts[id - FC::FirstLineSpacing]),
                           QKeySequence(), true),
                &QAction::triggered, this, [this, id] { run(id); });
    }
    command(FC::Vertical, "竖排", QKeySequence(Qt::CTRL | Qt::Key_K));
    menu->addSeparator();
    // The font boxes of the object toolbar choose faces and sizes; until it exists, these.
    QMenu* chinese = menu->addMenu(QString::fromUtf8("中文字体"));
    QMenu* western = menu->addMenu(QString::fromUtf8("英文字体"));
    popups_.insert(FC::ChineseFace, chinese);
    popups_.insert(FC::WesternFace, western);
    for (const auto& [popup, id] : {std::pair{chinese, FC::ChineseFace}, std::pair{western, FC::WesternFace}}) {
        for (const QByteArray& face : FontFaces::names(id == FC::ChineseFace)) {
            QAction* item = popup->addAction(Gbk::toUnicode(face));
            connect(item, &QAction::triggered, this, [this, id = id, face] { chooseFace(id, face); });
        }
        // The barcode faces follow the real ones.
        popup->addSeparator();
        for (const QByteArray& face : BarcodeFace::gbkNames()) {
            QAction* item = popup->addAction(Gbk::toUnicode(face));
            connect(item, &QAction::triggered, this, [this, id = id, face] { chooseFace(id, face); });
        }
    }
    connect(addCommand(menu, FC::Size, QString::fromUtf8("字号...")), &QAction::triggered, this,
            &TextCommands::chooseSize);
    menu->addSeparator();
    addInsertMenu(menu, IC::VariablesMenu, QString::fromUtf8("变量信息(&V)"),
                  QKeySequence(Qt::CTRL | Qt::Key_G), [this](QMenu* m) { fillVariables(m); });
    addInsertMenu(menu, IC::PhrasesMenu, QString::fromUtf8("常用文字(&T)"),
                  QKeySequence(Qt::CTRL | Qt::Key_T), [this](QMenu* m) { fillPhrases(m); });
    addInsertMenu(menu, IC::MallInfoMenu, QString::fromUtf8("商场信息(&H)"),
                  QKeySequence(Qt::CTRL | Qt::Key_H), [this](QMenu* m) { fillMallInfo(m); });
    addInsertMenu(menu, IC::PricesMenu, QString::fromUtf8("价格信息(&J)"),
                  QKeySequence(Qt::CTRL | Qt::Key_J), [this](QMenu* m) { fillPrices(m); });
    connect(addCommand(menu, IC::Barcode, QString::fromUtf8("插入条码(&Q)..."), QKeySequence(), false),
            &QAction::triggered, this, &TextCommands::insertBarcode);
    menu->addSeparator();
    connect(addCommand(menu, FC::PriceFormat, QString::fromUtf8("价格格式(&P)")), &QAction::triggered,
            this, &TextCommands::editPriceFormat);
    command(FC::AutoFit, "自动排版(&A)", QKeySequence(Qt::CTRL | Qt::Key_U));
    menu->addSeparator();
    connect(addCommand(menu, ArtCommand::ArtText, QString::fromUtf8("艺术字(&W)")), &QAction::triggered,
            this, &TextCommands::editArtText);
    connect(addCommand(menu, ArtCommand::ConvertToGraphic, QString::fromUtf8("文字图形化")),
            &QAction::triggered, this, &TextCommands::convertToGraphic);
    connect(menu, &QMenu::aboutToShow, this, &TextCommands::update);
}

QMenu* TextCommands::addInsertMenu(QMenu* menu, int id, const QString& text, const QKeySequence& key,
                                   std::function<void(QMenu*)> fill) {
    QMenu* popup = menu->addMenu(text);
    popup->menuAction()->setData(id);
    popups_.insert(id, popup);
    connect(popup, &QMenu::aboutToShow, this, [popup, fill] {
        popup->clear();
        fill(popup);
    });
    // The key opens the same popup under the command's toolbar button, or at the mouse
    // while the toolbar is hidden.
    auto* shortcut = new QAction(text, this);
    shortcut->setData(id);
    shortcut->setShortcut(key);
    window_->addAction(shortcut);
    connect(shortcut, &QAction::triggered, this, [this, popup, id] {
        popup->exec(PopupPlace::under(view_.toolButtonOf(id), 0, 1).value_or(QCursor::pos()));
    });
    keep(id, shortcut);
    return popup;
}

void TextCommands::addInsertItem(QMenu* popup, int id, const QString& text) {
    QAction* item = popup->addAction(text);
    item->setData(id);
    const InfoRecord* record = view_.document().currentRecord();
    item->setEnabled(record && !IC::isGreyed(id, *record));
    connect(item, &QAction::triggered, this, [this, id] { arm(id); });
}

void TextCommands::fillVariables(QMenu* popup) {
    const VariableNameList& names = view_.document().variableNames;
    for (int id = IC::FirstVariable; id <= IC::LastVariable; ++id) {
        if (id != IC::FirstVariable) popup->addSeparator();
        addInsertItem(popup, id, QStringLiteral("{%1}").arg(Gbk::toUnicode(names.name(id - IC::FirstVariable))));
    }
    addPictureItems(popup, {IC::ProductPicture});
}

void TextCommands::addPictureItems(QMenu* popup, std::initializer_list<int> ids) {
    for (int id : ids) {
        QAction* item = pictureItem ? pictureItem(id) : nullptr;
        if (!item || item->icon().isNull()) continue;
        popup->addSeparator();
        popup->addAction(item);
    }
}

void TextCommands::fillPhrases(QMenu* popup) {
    for (int i = 0; i < phrases_.size() && IC::FirstPhrase + i <= IC::LastPhrase; ++i) {
        if (i > 0) popup->addSeparator();
        addInsertItem(popup, IC::FirstPhrase + i, Gbk::toUnicode(phrases_.phrase(i)));
    }
}

void TextCommands::fillMallInfo(QMenu* popup) {
    for (int id = IC::FirstMallInfo; id <= IC::LastMallInfo; ++id) {
        if (id != IC::FirstMallInfo) popup->addSeparator();
        addInsertItem(popup, id,
                      QStringLiteral("{%1}").arg(Gbk::toUnicode(mallInfo_.entry(id - IC::FirstMallInfo).name)));
    }
    addPictureItems(popup, {IC::Logo1, IC::Logo2});
}

namespace {

// The price placeholders' names, from IC::FirstPrice on.
QString priceName(int id) {
    static const char* const names[] = {"原价", "现价", "折扣"};
    return QString::fromUtf8(names[id - IC::FirstPrice]);
}

}  // namespace

void TextCommands::fillPrices(QMenu* popup) {
    for (int id = IC::FirstPrice; id <= IC::LastPrice; ++id) {
        addInsertItem(popup, id, QStringLiteral("{%1}").arg(priceName(id)));
    }
}

QList<BarcodeDialog::Placeholder> TextCommands::barcodePlaceholders() const {
    QList<BarcodeDialog::Placeholder> placeholders;
    const InfoRecord* record = view_.document().currentRecord();
    if (!record) return placeholders;
    const auto add = [&](const QString& name, int id) {
        placeholders.append({name, IC::kindOf(id), !IC::isGreyed(id, *record)});
    };
    const VariableNameList& names = view_.document().variableNames;
    for (int id = IC::FirstVariable; id <= IC::LastVariable; ++id) {
        add(Gbk::toUnicode(names.name(id - IC::FirstVariable)), id);
    }
    for (int id = IC::FirstPrice; id <= IC::LastPrice; ++id) add(priceName(id), id);
    for (int id = IC::FirstMallInfo; id <= IC::LastMallInfo; ++id) {
        add(Gbk::toUnicode(mallInfo_.entry(id - IC::FirstMallInfo).name), id);
    }
    return placeholders;
}

void TextCommands::insertBarcode() {
    if (!view_.document().currentRecord()) return;
    BarcodeDialog dialog(barcodePlaceholders(), window_);
    if (dialog.exec() != QDialog::Accepted) return;
    view_.canvas()->stopEditing();
    view_.armBarcode(dialog.request());
    update();
}

void TextCommands::arm(int id) {
    view_.canvas()->stopEditing();
    view_.setArmedTool(IC::kindOf(id));
    update();
    // The window's buttons show the armed tool too.
    view_.canvas()->refresh();
}

void TextCommands::run(int id) {
    if (id == FC::AutoFit) {
        view_.setAutoFit(!view_.autoFit());
        update();
        return;
    }
    InfoRecord* record = view_.document().currentRecord();
    if (record && FC::run(id, *record, view_.autoFit())) changed();
}

void TextCommands::chooseFace(int id, const QByteArray& face) {
    InfoRecord* record = view_.document().currentRecord();
    if (record && FC::applyFace(id, *record, face, view_.autoFit())) changed();
}

void TextCommands::chooseSize() {
    InfoRecord* record = view_.document().currentRecord();
    const TextBlock* block = record ? FC::editedBlock(*record) : nullptr;
    if (!block) return;
    bool ok = false;
    const int size = QInputDialog::getInt(window_, QString::fromUtf8("字号"), QString::fromUtf8("字号："),
                                          block->content()->typingStyle->size, FC::kMinSize,
                                          FC::kMaxSize, 4, &ok);
    if (ok && FC::applySize(*record, size, view_.autoFit())) changed();
}

void TextCommands::applySize(int points) {
    InfoRecord* record = view_.document().currentRecord();
    if (record && FC::applySize(*record, points, view_.autoFit())) changed();
}

void TextCommands::editPriceFormat() {
    InfoRecord* record = view_.document().currentRecord();
    TextBlock* block = record ? FC::priceBlock(*record) : nullptr;
    PriceItem* price = block ? block->content()->firstPriceItem(block->kind) : nullptr;
    if (!price) return;
    PriceFormatDialog dialog(block->kind, price->priceStyle, price->lineColour, window_);
    dialog.setColourChooser([this](QWidget* parent, QPoint at, int32_t current) -> std::optional<int32_t> {
        const auto chosen = ColourPicker::choose(parent, view_.document().recentColours, uint32_t(current), at);
        return chosen ? std::optional<int32_t>(int32_t(*chosen)) : std::nullopt;
    });
    if (dialog.exec() != QDialog::Accepted) return;
    if (FC::applyPriceFormat(*record, dialog.priceStyle(), dialog.lineColour(), view_.autoFit())) changed();
}

void TextCommands::editArtText() {
    InfoRecord* record = view_.document().currentRecord();
    if (!record || !ArtCommand::isEnabled(ArtCommand::ArtText, *record)) return;
    runArtDialog(*record, false);
}

void TextCommands::convertToGraphic() {
    InfoRecord* record = view_.document().currentRecord();
    if (!record || !ArtCommand::isEnabled(ArtCommand::ConvertToGraphic, *record)) return;
    // On a text already turned into a graphic the command edits its effect.
    if (ArtCommand::convertedBlock(*record)) {
        runArtDialog(*record, true);
    } else if (ArtCommand::convert(*record)) {
        changed();
    }
}

void TextCommands::runArtDialog(InfoRecord& record, bool outline) {
    ArtTextDialog dialog(ArtCommand::currentSettings(record), outline,
                         ArtTextDialog::defaultTextureFolder(), window_);
    dialog.setColourChooser([this, &dialog](QPoint at, uint32_t current) {
        return ColourPicker::choose(&dialog, view_.document().recentColours, current, at);
    });
    if (dialog.exec() != QDialog::Accepted) return;
    switch (ArtCommand::apply(record, view_.document().images, dialog.settings(), view_.autoFit())) {
        case ArtCommand::Result::Applied: changed(); break;
        case ArtCommand::Result::TextureNotAdded:
            Messages::current().inform(QString::fromUtf8("贴图“%1”不能加入文档。")
                                           .arg(dialog.settings().textureFile));
            break;
        case ArtCommand::Result::Unchanged: break;
    }
}

void TextCommands::changed() {
    view_.document().setModified();
    view_.canvas()->refresh();
    update();
}

void TextCommands::update() {
    const InfoRecord* record = view_.document().currentRecord();
    for (auto it = actions().constBegin(); it != actions().constEnd(); ++it) {
        const int id = it.key();
        QAction* action = it.value();
        if (popups_.contains(id)) continue;  // the insertion popups' keys
        const bool art = id == ArtCommand::ArtText || id == ArtCommand::ConvertToGraphic;
        if (id == IC::Barcode) {
            action->setEnabled(record);
            continue;
        }
        action->setEnabled(record && (art ? ArtCommand::isEnabled(id, *record) : FC::isEnabled(id, *record)));
        if (action->isCheckable()) action->setChecked(record && FC::isChecked(id, *record, view_.autoFit()));
    }
    for (const int id : {FC::ChineseFace, FC::WesternFace, FC::CharSpacingMenu}) {
        popups_.value(id)->setEnabled(record && FC::editedBlock(*record));
    }
    for (const int id : {FC::AlignmentMenu, FC::LineSpacingMenu}) {
        popups_.value(id)->setEnabled(record && FC::liveTextBlock(*record));
    }
    // 常用文字 is ticked while a text kind is armed.
    popups_.value(IC::PhrasesMenu)->menuAction()->setCheckable(true);
    popups_.value(IC::PhrasesMenu)->menuAction()->setChecked(BlockKind::isText(view_.armedTool()));
}

void TextCommands::addFormatMenuTo(QMenu& menu) {
    QMenu* format = menu.addMenu(QString::fromUtf8("格式"));
    update();
    for (int id : {FC::Bold, FC::Italic, FC::Underline, FC::TextColour, FC::Size}) {
        format->addAction(action(id));
    }
    format->addMenu(popups_.value(FC::ChineseFace));
    format->addMenu(popups_.value(FC::WesternFace));
    format->addSeparator();
    format->addMenu(popups_.value(FC::CharSpacingMenu));
    format->addMenu(popups_.value(FC::AlignmentMenu));
    format->addMenu(popups_.value(FC::LineSpacingMenu));
    format->addAction(action(FC::Vertical));
    format->addAction(action(FC::PriceFormat));
}

}  // namespace pemo
