#pragma once

#include <QByteArray>
#include <vector>

namespace pemo {

class CPatDoc;
class InfoRecord;
struct PlaceholderSources;

// A record's page taken as a design: what its sign looks like whatever product it shows.
class PageDesign {
public:
    // Puts source's page — size, background and blocks — on every target, each keeping
    // its values, product picture and copies, its placeholders refreshed. The source
    // among the targets is left alone. Returns the records changed.
    static int apply(CPatDoc& doc, const InfoRecord& source,
                     const std::vector<InfoRecord*>& targets);

    // The page with each placeholder showing its name and no product picture: two
    // records of one design give the same bytes.
    static QByteArray fingerprint(const InfoRecord& record, const PlaceholderSources& sources);
};

}  // namespace pemo
