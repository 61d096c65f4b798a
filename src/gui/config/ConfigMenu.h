#pragma once

#include <functional>

#include "core/config/MallInfoList.h"
#include "core/config/PhraseList.h"
#include "gui/common/CommandGroup.h"

class QMenuBar;
class QWidget;

namespace pemo {

class CPatDoc;

// 配置: the mall information, the names of the ten variables, the common phrases and the
// outside editors, each in its dialog. The group keeps the mall information and the
// phrases the program reads at start-up; a change is saved at once and the page's
// placeholders show it.
class ConfigMenu : public CommandGroup {
public:
    static constexpr int kMallInfo = 34434;
    static constexpr int kVariables = 34435;
    static constexpr int kPhrases = 34436;
    static constexpr int kEditors = 34437;

    ConfigMenu(CPatDoc& doc, QWidget* window);

    // Adds the menu at the end of bar.
    void addTo(QMenuBar* bar);
    const MallInfoList& mallInfo() const { return mallInfo_; }
    const PhraseList& phrases() const { return phrases_; }

    void configureMallInfo();
    void configureVariables();
    void configurePhrases();
    void configureEditors();

    // After the variable names changed (the record grid renames its columns).
    std::function<void()> variablesRenamed;

private:
    // Pushes values into the current page's placeholders with the view's mode.
    void refreshPlaceholders();

    CPatDoc& doc_;
    QWidget* window_;
    MallInfoList mallInfo_;
    PhraseList phrases_;
};

}  // namespace pemo
