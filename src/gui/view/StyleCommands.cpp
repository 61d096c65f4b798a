#include "StyleCommands.h"

#include <QMenu>

#include "CPatView.h"
#include "core/blocks/GraphicBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/document/TextFormat.h"
#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"
#include "core/text/RichText.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/common/PopupPlace.h"
#include "gui/dialogs/BorderDialog.h"
#include "gui/dialogs/ColourPicker.h"
#include "gui/dialogs/FillDialog.h"
#include "gui/dialogs/LineStylePopup.h"

namespace pemo::StyleCommands {

namespace {

std::vector<GraphicBlock*> selectedGraphics(const CPatView& view, bool closedOnly) {
    std::vector<GraphicBlock*> out;
    const InfoRecord* record = view.canvas() ? view.canvas()->record() : nullptr;
    if (!record) return out;
    for (Block* b : record->selection) {
        auto* g = dynamic_cast<GraphicBlock*>(b);
        if (g && (!closedOnly || g->isClosed())) out.push_back(g);
    }
    return out;
}

TextBlock* singleLiveText(const CPatView& view) {
    const InfoRecord* record = view.canvas() ? view.canvas()->record() : nullptr;
    if (!record || record->selection.size() != 1) return nullptr;
    auto* t = dynamic_cast<TextBlock*>(record->selection.front());
    return t && t->isLiveText() && t->content() ? t : nullptr;
}

// One undo step before a change that is then applied by `change`.
template <typename Change>
void edit(CPatView& view, Change change) {
    view.canvas()->record()->takeUndoSnapshot();
    change();
    view.canvas()->edited();
}

void givePenColour(CPatView& view, uint32_t colour) {
    const auto graphics = selectedGraphics(view, false);
    edit(view, [&] {
        for (GraphicBlock* g : graphics) g->penColour = int32_t(colour);
    });
}

void chooseFill(CPatView& view) {
    const auto closed = selectedGraphics(view, true);
    DrawingStyle& style = view.drawingStyle();
    FillDialog::Values v{style.penColour, style.fillColour, style.shadowColour, style.fillType,
                         int16_t(style.shadowDirection), int16_t(style.shadowDistance)};
    if (!closed.empty()) {
        const GraphicBlock& g = *closed.front();
        v = {uint32_t(g.penColour), uint32_t(g.fillColour), uint32_t(g.shadowColour),
             g.fillType, g.shadowDirection, g.shadowDistance};
    }
    FillDialog dialog(view.document().recentColours, v, view.window());
    if (dialog.exec() != QDialog::Accepted) return;
    const FillDialog::Values& out = dialog.values();
    edit(view, [&] {
        for (GraphicBlock* g : closed) {
            g->penColour = int32_t(out.penColour);
            g->fillColour = int32_t(out.fillColour);
            g->shadowColour = int32_t(out.shadowColour);
            g->fillType = out.fillType;
            g->shadowDirection = out.shadowDirection;
            g->shadowDistance = out.shadowDistance;
        }
    });
    style.penColour = out.penColour;
    style.fillColour = out.fillColour;
    style.shadowColour = out.shadowColour;
    style.fillType = out.fillType;
    style.shadowDirection = out.shadowDirection;
    style.shadowDistance = out.shadowDistance;
}

// A colour picker opens under the toolbar button it belongs to, else at its default place.
QPoint pickerPlace(const CPatView& view, int buttonId) {
    return PopupPlace::under(view.toolButtonOf(buttonId), 0, 2).value_or(QPoint());
}

void chooseLineStyle(CPatView& view) {
    const auto graphics = selectedGraphics(view, false);
    DrawingStyle& style = view.drawingStyle();
    const GraphicBlock* first = graphics.empty() ? nullptr : graphics.front();
    LineStylePopup popup(first ? first->penWidth : style.penWidth,
                         first ? first->penStyle : style.penStyle,
                         first ? uint32_t(first->penColour) : style.penColour,
                         PopupPlace::under(view.toolButtonOf(LineStyle), 0, 1).value_or(QPoint()),
                         view.window());
    if (popup.exec() != QDialog::Accepted) return;
    edit(view, [&] {
        for (GraphicBlock* g : graphics) {
            g->penWidth = popup.penWidth();
            g->penStyle = popup.penStyle();
        }
    });
    style.penWidth = popup.penWidth();
    style.penStyle = popup.penStyle();
}

void chooseTextColour(CPatView& view) {
    InfoRecord* record = view.canvas()->record();
    const CharStyle* shown = FormatCommand::shownStyle(*record);
    if (!shown) return;
    const auto chosen = ColourPicker::choose(view.window(), view.document().recentColours,
                                             uint32_t(shown->textColour),
                                             pickerPlace(view, FormatCommand::TextColour));
    if (!chosen) return;
    if (FormatCommand::applyTextColour(*record, int32_t(*chosen), TextBlock::autoFit)) view.canvas()->edited();
    if (*chosen != view.currentTextColour()) view.setCurrentTextColour(*chosen);
}

void chooseBorder(CPatView& view) {
    TextBlock* block = singleLiveText(view);
    RichText& c = *block->content();
    const BorderDialog::Values v{c.borderGlyph, c.borderSize, uint32_t(c.borderColour),
                                 c.transparent != 0, uint32_t(c.backgroundColour)};
    BorderDialog dialog(view.document().recentColours, v, view.window());
    if (dialog.exec() != QDialog::Accepted) return;
    const BorderDialog::Values& out = dialog.values();
    edit(view, [&] {
        c.borderGlyph = out.kind;
        c.borderSize = out.size;
        c.borderColour = int32_t(out.borderColour);
        c.transparent = out.transparent ? 1 : 0;
        c.backgroundColour = int32_t(out.backgroundColour);
    });
}

}  // namespace

bool isEnabled(const CPatView& view, int id) {
    if (!view.canvas() || !view.canvas()->record()) return false;
    switch (id) {
        case PenColour:
        case ChoosePenColour:
        case LineStyle: return !selectedGraphics(view, false).empty();
        case FillSettings: return !selectedGraphics(view, true).empty();
        case TextColour: return FormatCommand::isEnabled(FormatCommand::TextColour, *view.canvas()->record());
        case TextBorder: return singleLiveText(view) != nullptr;
        default: return false;
    }
}

void run(CPatView& view, int id) {
    if (!isEnabled(view, id)) return;
    switch (id) {
        case PenColour: givePenColour(view, view.drawingStyle().penColour); break;
        case ChoosePenColour: {
            const auto graphics = selectedGraphics(view, false);
            const uint32_t start = uint32_t(graphics.front()->penColour);
            const auto chosen = ColourPicker::choose(view.window(), view.document().recentColours, start,
                                                     pickerPlace(view, PenColour));
            if (!chosen) return;
            givePenColour(view, *chosen);
            view.drawingStyle().penColour = *chosen;
            break;
        }
        case LineStyle: chooseLineStyle(view); break;
        case FillSettings: chooseFill(view); break;
        case TextColour: chooseTextColour(view); break;
        case TextBorder: chooseBorder(view); break;
        default: break;
    }
}

void addTo(QMenu* menu, CPatView& view) {
    struct Item {
        int id;
        const char* text;
    };
    static const Item items[] = {
        {TextBorder, "边框设置(&F)"},      {TextColour, "字符颜色…"},
        {LineStyle, "线型(&S)"},           {PenColour, "图形颜色(&O)"},
        {ChoosePenColour, "选择图形颜色…"}, {FillSettings, "填充方式(&N)"},
    };
    menu->addSeparator();
    std::vector<std::pair<QAction*, int>> actions;
    for (const Item& item : items) {
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setData(item.id);
        const int id = item.id;
        QObject::connect(action, &QAction::triggered, &view, [&view, id] { run(view, id); });
        actions.emplace_back(action, id);
    }
    QObject::connect(menu, &QMenu::aboutToShow, &view, [&view, actions] {
        for (const auto& [action, id] : actions) action->setEnabled(isEnabled(view, id));
    });
}

}  // namespace pemo::StyleCommands
