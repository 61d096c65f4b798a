#pragma once

#include <functional>

#include "core/document/RecoveryStore.h"

class QWidget;

namespace pemo {

class Autosaver;

// At start-up: each recovery copy a run that ended without closing left behind is offered
// ("恢复未保存的文档？" with the document's name and the copy's time), newest first, to
// open, keep for a later start, or discard. Only one can be opened (there is one document);
// the others are then offered to keep or discard. A copy that cannot be read is reported
// and set aside, and the document stays as it was.
class RecoveryOffer {
public:
    enum class Choice { Open, Keep, Discard };
    // Asks about one copy; canOpen is false once a copy has been opened.
    using Ask = std::function<Choice(const RecoveryCopy& copy, bool canOpen)>;
    // Opens a copy as the document (after asking to save the open one); false with the
    // reason when the copy was refused, or with an empty reason when the user cancelled.
    using Open = std::function<bool(const RecoveryCopy& copy, QString& reason)>;

    RecoveryOffer(RecoveryStore& store, Autosaver& autosaver) : store_(store), autosaver_(autosaver) {}

    // Goes through the copies; returns how many were opened (0 or 1).
    int run(const Ask& ask, const Open& open);

    // The message box the program asks with.
    static Choice askWithMessageBox(QWidget* parent, const RecoveryCopy& copy, bool canOpen);

private:
    RecoveryStore& store_;
    Autosaver& autosaver_;
};

}  // namespace pemo
