#pragma once

#include <QWidget>
#include <optional>

#include "core/records/DelimitedText.h"

class QComboBox;

namespace pemo {

// "编码" and a drop-down under the text import dialog: the encoding the chosen file
// seems to be in, which the user may change before the preview and the import.
class EncodingChoice : public QWidget {
    Q_OBJECT
public:
    explicit EncodingChoice(QWidget* parent = nullptr);

    // Shows the encoding the first bytes of the file at path suggest ("自动" when there
    // is no file to look at).
    void guessFor(const QString& path);
    // The encoding chosen; nullopt for "自动", which lets the reader guess.
    std::optional<DelimitedText::Encoding> encoding() const;
    QComboBox* box() const { return box_; }

private:
    QComboBox* box_ = nullptr;
};

}  // namespace pemo
