#include "OutputPlaceholders.h"

#include "CPatDoc.h"

namespace pemo {

OutputPlaceholders::OutputPlaceholders(CPatDoc& doc, bool templateMode) : doc_(doc) {
    for (const auto& record : doc_.records) {
        record->refreshPlaceholders(templateMode, doc_.placeholderSources());
    }
}

OutputPlaceholders::~OutputPlaceholders() { doc_.refreshAllPlaceholders(); }

}  // namespace pemo
