#include "RecordPrototype.h"

#include "CPatDoc.h"

namespace pemo {

RecordPrototype::RecordPrototype(const CPatDoc& doc) : prototype_(doc.newRecord()) {
    if (!prototype_->blocks.empty()) page_ = prototype_->snapshotPage();
}

std::unique_ptr<InfoRecord> RecordPrototype::make() const {
    auto record = std::make_unique<InfoRecord>();
    if (page_.isEmpty()) {
        record->widthMm = prototype_->widthMm;
        record->heightMm = prototype_->heightMm;
        record->widthTw = prototype_->widthTw;
        record->heightTw = prototype_->heightTw;
    } else {
        record->restorePage(page_);
    }
    record->background = prototype_->background;
    return record;
}

std::function<void(InfoRecord&)> RecordPrototype::pageOf(const InfoRecord& source) {
    return [page = source.snapshotPage(), background = source.background](InfoRecord& record) {
        record.restorePage(page);
        record.values = {};
        record.productPicture.clear();
        record.inPlaceEditing = false;
        record.background = background;
    };
}

}  // namespace pemo
