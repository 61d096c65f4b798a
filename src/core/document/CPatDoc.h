#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "InfoRecord.h"
#include "ListHistory.h"
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
    // Deletes all records, empties both picture stores and forgets the list's history.
    void clear();

    // The undoable steps of changes to the record list.
    ListHistory& listHistory() { return listHistory_; }
    const ListHistory& listHistory() const { return listHistory_; }

    // A record with the defaults, then the library's selected template or background
    // when the program has set an initializer for that.
    std::unique_ptr<InfoRecord> newRecord() const;
    std::function<void(InfoRecord&)> newRecordInitializer;
    // A record for 信息插入 and the grid's empty row: on the current record's design once
    // 应用到所有信息 has put that on every record, else as newRecord().
    std::unique_ptr<InfoRecord> newInsertedRecord() const;
    // Set by 应用到所有信息; part of the list's history, forgotten by clear().
    bool designAppliedToAll = false;

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
    bool isModified() const { return modified_; }

    // 模板方式: the page on screen shows the placeholders' names instead of the record's
    // values. Only the current record ever holds the names, and only while this is on;
    // every other record holds its own values, so whatever is printed or saved shows them.
    bool templateMode() const { return templateMode_; }
    void setTemplateMode(bool on);
    // Gives every record the placeholder texts of the screen's state (after the names or
    // the mall's values changed, or after output).
    void refreshAllPlaceholders();

    // Views listen here; the document never writes a view. A change of the current record
    // or of the list first gives the record that is now current the texts the screen shows.
    void notify(Change change);
    std::function<void(Change)> onChange;

    std::vector<std::unique_ptr<InfoRecord>> records;
    RecentColourList recentColours;
    PictureStore images;
    PictureStore backgrounds;
    VariableNameList variableNames;
    // The mall information the frame owns; placeholders read it.
    const MallInfoList* mallInfo = nullptr;

private:
    // The current record gets the placeholder texts of the screen's mode, and the record
    // that showed names before gets its values back.
    void refreshShownRecord();

    ListHistory listHistory_{*this};
    bool modified_ = false;
    bool templateMode_ = false;
    // The record whose page holds the placeholders' names (template mode only); it may have
    // left the list since, so it is only touched when still found there.
    const InfoRecord* namesShownBy_ = nullptr;
};

}  // namespace pemo
