#pragma once

namespace pemo {

class CPatDoc;

// While it lives, every record's placeholder blocks hold what output shows: the record's
// own values, or the placeholders' names when a template is printed. Afterwards each record
// holds again what the screen shows (names only on the current record in 模板方式).
// Everything that prints, previews, exports or saves records holds one of these, so a
// record never goes out with the names or a stale value the screen left in it.
class OutputPlaceholders {
public:
    OutputPlaceholders(CPatDoc& doc, bool templateMode);
    ~OutputPlaceholders();
    OutputPlaceholders(const OutputPlaceholders&) = delete;
    OutputPlaceholders& operator=(const OutputPlaceholders&) = delete;

private:
    CPatDoc& doc_;
};

}  // namespace pemo
