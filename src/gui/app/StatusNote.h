#pragma once

#include <QLabel>
#include <functional>

namespace pemo {

// A note in the status bar that outlasts the menus' passing prompts: what a command
// wrote, or what to do next. It stays until the next note, or until the condition it
// came with no longer holds (checked on refresh()).
class StatusNote : public QLabel {
    Q_OBJECT
public:
    explicit StatusNote(QWidget* parent = nullptr);

    void showNote(const QString& text, std::function<bool()> holds = {});
    // Hides a note whose condition has ended.
    void refresh();

private:
    std::function<bool()> holds_;
};

}  // namespace pemo
