#pragma once

#include "GridPopup.h"
#include "core/records/GridCells.h"

class QLineEdit;

namespace pemo {

// The editor of the 打印 cell: a whole number of copies from 0 to 999.
class CopiesPopup : public GridPopup {
    Q_OBJECT
public:
    static constexpr int kMaximum = GridCells::kMaxCopies;

    explicit CopiesPopup(int copies, QWidget* parent = nullptr);

    int copies() const { return copies_; }
    QLineEdit* edit() const { return edit_; }

    // Refuses an empty edit or a number above 999 with a message; the popup stays open.
    void accept() override;

private:
    QLineEdit* edit_ = nullptr;
    int copies_ = 0;
};

}  // namespace pemo
