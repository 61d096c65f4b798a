#pragma once

#include <QByteArray>
#include <map>
#include <optional>
#include <vector>

#include "PrintLayout.h"
#include "core/document/OutputPlaceholders.h"

class QPainter;

namespace pemo {

class CPatDoc;

// A prepared print job: its page count, fixed before anything is printed, and the
// rendering of each page onto whatever device the painter is on (printer, PDF, image),
// at that device's resolution.
class PrintJob {
public:
    explicit PrintJob(CPatDoc& doc) : doc_(doc) {}
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // See PrintLayout::prepare. From then on, for as long as the job lives, every record
    // holds the texts it prints with: its values, or the placeholders' names for 模板打印.
    bool prepare(const PrintSettings& settings);
    int pageCount() const { return layout_.pageCount(); }
    const QString& refusal() const { return layout_.refusal(); }
    const PrintLayout& layout() const { return layout_; }

    // Signs reach a printer in bands of pixels; a vector device (PDF) takes the
    // background as one picture and the blocks drawn straight onto it, so text stays
    // text. Bands are the default.
    void setDirectOutput(bool direct) { direct_ = direct; }
    bool directOutput() const { return direct_; }
    // Direct output to a device whose dots are known (a printer at its resolution):
    // barcodes' modules then cover whole dots. 0, the default, keeps exact vectors (PDF).
    void setDeviceDotsPerInch(int dotsPerInch) { deviceDots_ = dotsPerInch; }
    int deviceDotsPerInch() const { return deviceDots_; }

    // Draws page k (1 … pageCount). The painter's origin is the top-left corner of the
    // sheet's printable area; the page is assumed to be white already.
    // Backgrounds the job decodes are freed again once a page no longer needs them, so
    // the memory of a long job does not grow with its number of different backgrounds.
    void renderPage(QPainter& painter, int k) const;

private:
    // The tile labels, over everything the signs drew.
    static void drawLabels(QPainter& painter, const SheetLayout& sheet, int ppi);
    void releaseBackgroundsNotOn(const SheetLayout& sheet) const;
    // Pictures of blocks are decoded once per job and freed after the last page that
    // shows them: a PDF then embeds each once, and memory stays flat over many signs.
    void releasePicturesDoneAfter(int k) const;

    mutable std::map<QByteArray, int> lastPageOfPicture_;
    mutable bool picturePagesKnown_ = false;

    CPatDoc& doc_;
    std::optional<OutputPlaceholders> placeholders_;
    PrintLayout layout_;
    bool direct_ = false;
    int deviceDots_ = 0;
    // Keys of the backgrounds this job has decoded and not yet freed.
    mutable std::vector<QByteArray> decoded_;
};

}  // namespace pemo
