#pragma once

#include <QHash>
#include <QKeySequence>
#include <functional>
#include <initializer_list>

#include "gui/common/CommandGroup.h"
#include "gui/dialogs/BarcodeDialog.h"

class QAction;
class QMenu;
class QWidget;

namespace pemo {

class CPatView;
class InfoRecord;
class MallInfoList;
class PhraseList;

// The insertion popups (变量信息, 常用文字, 商场信息, 价格信息) and the text format
// commands of the 对象 menu. Their enabled states and ticks follow the caret and the
// selection through update(), which the frame runs whenever the canvas changes; the
// font boxes of the object toolbar will share these actions.
class TextCommands : public CommandGroup {
    Q_OBJECT
public:
    TextCommands(CPatView& view, const MallInfoList& mallInfo, const PhraseList& phrases,
                 QWidget* window);

    // Adds the commands to the 对象 menu, in the menu's order, and their keys to window.
    void addTo(QMenu* menu);
    // The format commands for the canvas's context menu.
    void addFormatMenuTo(QMenu& menu);
    void update();
    // 插入条码: the dialog, then the block's kind armed for placing.
    void insertBarcode();
    // What 插入条码 offers as a symbol's content: the variables, the three prices and the
    // mall information, each unavailable where its insertion command is greyed.
    QList<BarcodeDialog::Placeholder> barcodePlaceholders() const;

    // The picture commands' items the popups show under the placeholders (商品图片 in
    // 变量信息, the logos in 商场信息), when their pictures load.
    std::function<QAction*(int id)> pictureItem;
    QMenu* insertMenu(int id) const { return popups_.value(id); }
    // The font boxes: a face (GBK) or a size for the edited text's selection.
    void chooseFace(int id, const QByteArray& face);
    void applySize(int points);

private:
    // A command whose key works wherever the window has the focus.
    QAction* addCommand(QMenu* menu, int id, const QString& text,
                        const QKeySequence& key = QKeySequence(), bool checkable = false);
    // An insertion popup: its items are made anew each time it opens.
    QMenu* addInsertMenu(QMenu* menu, int id, const QString& text, const QKeySequence& key,
                         std::function<void(QMenu*)> fill);
    void fillVariables(QMenu* popup);
    void fillPhrases(QMenu* popup);
    void fillMallInfo(QMenu* popup);
    void fillPrices(QMenu* popup);
    void addInsertItem(QMenu* popup, int id, const QString& text);
    void addPictureItems(QMenu* popup, std::initializer_list<int> ids);
    void arm(int id);
    void run(int id);
    void chooseSize();
    void editPriceFormat();
    // 艺术字 on the edited text; 文字图形化, which on a converted block edits its effect.
    void editArtText();
    void convertToGraphic();
    void runArtDialog(InfoRecord& record, bool outline);
    // Marks the document modified and refreshes the page and the commands.
    void changed();

    CPatView& view_;
    const MallInfoList& mallInfo_;
    const PhraseList& phrases_;
    QWidget* window_;
    QHash<int, QMenu*> popups_;
};

}  // namespace pemo
