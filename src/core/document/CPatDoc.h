#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "InfoRecord.h"
#include "core/pictures/PictureStore.h"
#include "core/config/MallInfoList.h"
#include "core/config/VariableNameList.h"
#include "core/graphics/RecentColourList.h"

namespace pemo {

// The one open document: the record list, the pictures its records use, the names of
// the variables and the recent colours.
class CPatDoc {
public:
    // What changed, for the views (the one notification the document sends).
    enum class Change { Records, CurrentRecord, Page, Modified };

    CPatDoc();
    ~CPatDoc();
    CPatDoc(const CPatDoc&) = delete;
    CPatDoc& operator=(const CPatDoc&) = delete;

    // Clears the document, then appends one new record and makes it current.
    void newDocument();
    // Deletes all records and empties both picture stores.
    void clear();

    // A record with the defaults, then the library's selected template or background
    // when the program has set an initializer for that.
    std::unique_ptr<InfoRecord> newRecord() const;
    std::function<void(InfoRecord&)> newRecordInitializer;

    int recordCount() const { return static_cast<int>(records.size()); }
    InfoRecord* recordAt(int index) const;
    // The first record carrying the current flag.
    InfoRecord* currentRecord() const;
    int currentIndex() const;
    // Moves the current flag; an index outside the list does nothing.
    bool setCurrentIndex(int index);
    int indexOf(const InfoRecord* record) const;

    // Records with copies ≠ 0, their copies summed, and the k-th of them.
    int queuedCount() const;
    int totalCopies() const;
    InfoRecord* queuedRecord(int k) const;

    PlaceholderSources placeholderSources() const { return {&variableNames, mallInfo}; }

    void setModified(bool value = true);
    bool isModified() const { return modified; }

    // Views listen here; the document never writes a view.
    void notify(Change change) const;
    std::function<void(Change)> onChange;

    std::vector<std::unique_ptr<InfoRecord>> records;
    RecentColourList recentColours;
    PictureStore images;
    PictureStore backgrounds;
    VariableNameList variableNames;
    // The mall information the frame owns; placeholders read it.
    const MallInfoList* mallInfo = nullptr;
    bool modified = false;
};

}  // namespace pemo
