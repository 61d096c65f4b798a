#include "CPatDoc.h"

#include "RecordPrototype.h"
#include "core/blocks/PictureBlock.h"

namespace pemo {

// Picture blocks draw from the open document's pictures.
CPatDoc::CPatDoc() : variableNames(VariableNameList::build()) { PictureBlock::setDocumentImages(&images); }

CPatDoc::~CPatDoc() {
    clear();
    if (PictureBlock::documentImages() == &images) PictureBlock::setDocumentImages(nullptr);
}

void CPatDoc::clear() {
    namesShownBy_ = nullptr;
    designAppliedToAll = false;
    listHistory_.clear();
    records.clear();
    images.clear();
    backgrounds.clear();
}

void CPatDoc::newDocument() {
    clear();
    variableNames = VariableNameList::build();
    auto record = newRecord();
    record->current = true;
    records.push_back(std::move(record));
    modified_ = false;
    notify(Change::Records);
}

std::unique_ptr<InfoRecord> CPatDoc::newRecord() const {
    auto record = std::make_unique<InfoRecord>();
    if (newRecordInitializer) newRecordInitializer(*record);
    return record;
}

std::unique_ptr<InfoRecord> CPatDoc::newInsertedRecord() const {
    const InfoRecord* current = currentRecord();
    if (!designAppliedToAll || !current) return newRecord();
    auto record = RecordPrototype(*current).make();
    record->refreshPlaceholders(false, placeholderSources());
    return record;
}

InfoRecord* CPatDoc::recordAt(int index) const {
    if (index < 0 || index >= recordCount()) return nullptr;
    return records[static_cast<size_t>(index)].get();
}

InfoRecord* CPatDoc::currentRecord() const {
    for (const auto& r : records) {
        if (r->current) return r.get();
    }
    return nullptr;
}

int CPatDoc::currentIndex() const {
    for (int i = 0; i < recordCount(); ++i) {
        if (records[static_cast<size_t>(i)]->current) return i;
    }
    return -1;
}

bool CPatDoc::setCurrentIndex(int index) {
    InfoRecord* target = recordAt(index);
    if (!target) return false;
    for (auto& r : records) r->current = false;
    target->current = true;
    notify(Change::CurrentRecord);
    return true;
}

int CPatDoc::indexOf(const InfoRecord* record) const {
    for (int i = 0; i < recordCount(); ++i) {
        if (records[static_cast<size_t>(i)].get() == record) return i;
    }
    return -1;
}

int CPatDoc::queuedCount() const {
    int n = 0;
    for (const auto& r : records) n += r->copies != 0 ? 1 : 0;
    return n;
}

int CPatDoc::totalCopies() const {
    int n = 0;
    for (const auto& r : records) n += r->copies;
    return n;
}

InfoRecord* CPatDoc::queuedRecord(int k) const {
    for (const auto& r : records) {
        if (r->copies != 0 && k-- == 0) return r.get();
    }
    return nullptr;
}

void CPatDoc::setModified(bool value) {
    modified_ = value;
    notify(Change::Modified);
}

void CPatDoc::setTemplateMode(bool on) {
    templateMode_ = on;
    refreshShownRecord();
    notify(Change::Page);
}

void CPatDoc::refreshAllPlaceholders() {
    for (const auto& r : records) {
        r->refreshPlaceholders(r->current && templateMode_, placeholderSources());
    }
    namesShownBy_ = templateMode_ ? currentRecord() : nullptr;
}

void CPatDoc::refreshShownRecord() {
    InfoRecord* current = currentRecord();
    if (namesShownBy_ && namesShownBy_ != current) {
        for (const auto& r : records) {
            if (r.get() == namesShownBy_) r->refreshPlaceholders(false, placeholderSources());
        }
    }
    if (current) current->refreshPlaceholders(templateMode_, placeholderSources());
    namesShownBy_ = templateMode_ ? current : nullptr;
}

void CPatDoc::notify(Change change) {
    if (change == Change::CurrentRecord || change == Change::Records) refreshShownRecord();
    if (onChange) onChange(change);
}

}  // namespace pemo
