#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace pemo {

// The print modes of the 打印 menu: their codes, commands and menu texts.
class PrintMode {
public:
    enum Code {
        Template = 1,
        Proof1x2 = 2,
        Proof2x1 = 3,
        Proof2x2 = 4,
        Proof2x4 = 5,
        Proof4x2 = 6,
        Proof4x4 = 7,
        Proof4x8 = 8,
        Proof8x4 = 9,
        Proof8x8 = 10,
        ByItemWithBackground = 11,
        ByItemWithoutBackground = 12,
        ByCopiesWithBackground = 13,
        ByCopiesWithoutBackground = 14,
        Tile = 15,
        Merge = 16,
        Labels = 17,
    };

    enum class Kind { Template, Proof, ByItem, ByCopies, Tile, Merge, Labels };

    int code = 0;
    Kind kind = Kind::ByItem;
    int printCommand = 0;
    int previewCommand = 0;
    QString printText;    // menu text of the print command
    QString previewText;  // menu text of the preview command
    // Proof grids: the first number of "1X2" is the columns, the second the rows.
    int columns = 1;
    int rows = 1;
    bool withBackground = true;

    // The modes in code order.
    static const std::vector<PrintMode>& all();
    // Nothing for a code outside 1 to 17.
    static std::optional<PrintMode> fromCode(int code);
    // The command-line names: "template", "by-item", "proof-2x2", "tile", "labels" …; the modes
    // without background are asked for with withBackground false.
    static std::optional<PrintMode> fromName(const QString& name, bool withBackground);
};

}  // namespace pemo
