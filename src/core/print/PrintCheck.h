#pragma once

#include <QString>
#include <vector>

#include "PrintSettings.h"

namespace pemo {

class CPatDoc;
class InfoRecord;

// One thing a print job would get wrong.
struct PrintFinding {
    enum class Kind {
        EmptyQueue,         // nothing to print
        JobRefused,         // the job cannot be laid out (the sheet, the overlap …)
        EmptyValue,         // a value the sign uses is empty: the sign lacks it or shows its name
        MissingPicture,     // a product picture block without a picture
        UnreadablePicture,  // a picture (or the background) that cannot be decoded
        SmallText,          // text fitted below the legible size for the sign
        Overflow,           // text that does not fit its frame even at the smallest size
        OffPage,            // a block outside the page, or cut by its edge
        InvalidBarcode,     // a barcode whose text cannot be encoded (a wrong check digit …)
        SmallBarcode,       // a barcode printed below the size a scanner reads
        BarcodeLibraryMissing,  // no barcode can be drawn at all (said once for the job)
        NotANumber,         // a price the sign shows that is not a number
        EmptyRecord,        // a queued record without any value: a blank sign
    };
    Kind kind = Kind::EmptyQueue;
    int record = -1;  // index in the document's record list; -1 for the job as a whole
    QString text;     // one line: "第3项：…"
};

// The findings of one kind: "文字超出：第3、7项".
struct PrintFindingGroup {
    PrintFinding::Kind kind = PrintFinding::Kind::EmptyQueue;
    int count = 0;             // findings of the kind
    std::vector<int> records;  // their records' indices, each once, in list order
    QString text;
};

// The legible minimum, in points, for text on a sign: minimumPointsA4 on an A4 page, in
// proportion to the page's diagonal elsewhere.
double legibleMinimumPoints(const InfoRecord& record, double minimumPointsA4);

// The check run before every print and preview: goes through the signs the job of
// settings.mode would print (the queued records, or the current record for template
// printing) and lists what would come out wrong, record by record in list order. Nothing
// is drawn; the records keep what they show on the screen.
class PrintCheck {
public:
    static constexpr double kDefaultMinimumPointsA4 = 20.0;

    static std::vector<PrintFinding> run(CPatDoc& doc, const PrintSettings& settings,
                                         double minimumPointsA4 = kDefaultMinimumPointsA4);

    // The findings by kind, in the order of the kinds' first findings. A group's text is
    // the kind's name and its records counted from 1, runs of three or more as "第1-20项".
    static std::vector<PrintFindingGroup> group(const std::vector<PrintFinding>& findings);
    // "文字超出", "价格不是数字" …
    static QString kindName(PrintFinding::Kind kind);
};

}  // namespace pemo
