#include "RecordPrototype.h"

#include "CPatDoc.h"
#include "core/blocks/BlockKind.h"

namespace pemo {

RecordPrototype::RecordPrototype(const CPatDoc& doc) : prototype_(doc.newRecord()) {
    if (!prototype_->blocks.empty()) page_ = prototype_->snapshotPage();
}

RecordPrototype::RecordPrototype(const InfoRecord& page) : prototype_(std::make_unique<InfoRecord>()) {
    prototype_->widthMm = page.widthMm;
    prototype_->heightMm = page.heightMm;
    prototype_->widthTw = page.widthTw;
    prototype_->heightTw = page.heightTw;
    prototype_->background = page.background;
    if (page.blocks.empty()) return;
    prototype_->restorePage(page.snapshotPage());
    prototype_->clearValues();
    prototype_->inPlaceEditing = false;
    for (const auto& block : prototype_->blocks) {
        if (block->kind == BlockKind::ProductPicture) block->setPictureKey(QByteArray());
    }
    page_ = prototype_->snapshotPage();
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
