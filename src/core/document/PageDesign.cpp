#include "PageDesign.h"

#include "CPatDoc.h"
#include "core/codecs/Archive.h"

namespace pemo {

int PageDesign::apply(CPatDoc& doc, const InfoRecord& source,
                      const std::vector<InfoRecord*>& targets) {
    const QByteArray page = source.snapshotPage();
    int changed = 0;
    for (InfoRecord* target : targets) {
        if (!target || target == &source) continue;
        // The page's snapshot carries the source's values and picture: keep the target's.
        const auto values = target->values;
        const QByteArray picture = target->productPicture;
        target->restorePage(page);
        target->values = values;
        target->productPicture = picture;
        target->clearSelection();
        target->inPlaceEditing = false;
        target->background = source.background;
        target->refreshPlaceholders(false, doc.placeholderSources());
        ++changed;
    }
    doc.refreshAllPlaceholders();
    return changed;
}

QByteArray PageDesign::fingerprint(const InfoRecord& record, const PlaceholderSources& sources) {
    InfoRecord copy;
    copy.restorePage(record.snapshotPage());
    copy.clearValues();
    copy.clearSelection();
    copy.inPlaceEditing = false;
    copy.refreshPlaceholders(true, sources);
    ArchiveWriter out;
    out.writeText(record.background.category);
    out.writeText(record.background.name);
    out.writeText(record.background.key);
    out.writeBytes(copy.snapshotPage());
    return out.take();
}

}  // namespace pemo
