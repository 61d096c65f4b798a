#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ImportSettings.h"
#include "ImportTarget.h"
#include "core/document/InfoRecord.h"

namespace pemo {

class CPatDoc;
class TableSheet;

// Replaces a document's record list with records made from the rows of a table, or
// appends them to it: each row whose mapped cells are not all empty becomes a record on
// the page a new record gets (the library's template or background) or on a copy of a
// record's page. The new records are built first; the document changes only when at
// least one was made and the build was not cancelled.
class RecordImport {
public:
    using Columns = ImportSettings::Columns;
    // Called now and then while rows are read: rows done, rows in all. False cancels.
    using Progress = std::function<bool(int done, int total)>;
    // The most one value may hold, in GBK bytes: a sign shows a few lines, and fitting a
    // value grows with its length.
    static constexpr int kMaxValueBytes = 64 * 1024;
    // The most rows one import takes: every record holds its own page, and beyond this
    // the records of a template outgrow the memory of an ordinary shop computer.
    static constexpr int kMaxRows = 200000;

    // page, when given, is the record of the document whose page the records copy; it
    // must stay in the document until build() returns.
    RecordImport(CPatDoc& doc, const Columns& columns, const InfoRecord* page = nullptr)
        : doc_(doc), columns_(columns), page_(page) {}

    // Builds one record per non-empty row from firstRow (1-based) to the last. False
    // when the table was not read, it has more than kMaxRows rows from firstRow on
    // (refused before any record is made), a mapped value is longer than kMaxValueBytes, no row
    // gave a record (message() says why) or the
    // progress callback cancelled (message() empty). The page every record starts from
    // is made once and copied.
    bool build(const TableSheet& sheet, int firstRow, bool templateMode,
               const Progress& progress = Progress());
    // Puts the built records in place of the document's (Replace; record 0 becomes
    // current) or after them (Append: empty records ending the list go first, then the
    // first new record becomes current), with one more empty record on the same page at
    // the end when trailingEmptyRecord: that one is for typing and stays out of the print
    // queue (copies 0) until it gets a value. The document is marked modified.
    void apply(bool trailingEmptyRecord, ImportTarget::Records mode = ImportTarget::Records::Replace);

    // An empty record outside the print queue that has just got a value joins the queue
    // with one copy: the import's record for typing. wasEmpty is whether it was empty
    // before the edit.
    static void joinQueueWhenFilled(InfoRecord& record, bool wasEmpty);

    const QString& message() const { return message_; }
    int builtCount() const { return int(built_.size()); }

    // The first maxBytes bytes of a GBK text at most, never ending inside a character.
    static QByteArray cutText(const QByteArray& gbk, int maxBytes);
    // "文件中没有可导入的信息。"
    static QString nothingToImportMessage();
    // "文件有%1行，一次最多导入%2行。"
    static QString tooManyRowsMessage(int rows);
    // Names the row (1-based, as the table counts) and the column of a value over the limit.
    static QString valueTooLongMessage(int row, int column);

private:
    CPatDoc& doc_;
    Columns columns_;
    const InfoRecord* page_ = nullptr;
    std::unique_ptr<InfoRecord> trailing_;  // the record for typing, made with the others
    std::vector<std::unique_ptr<InfoRecord>> built_;
    QString message_;
};

}  // namespace pemo
