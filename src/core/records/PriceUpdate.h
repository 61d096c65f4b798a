#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <vector>

#include "RecordImport.h"
#include "core/document/InfoRecord.h"

namespace pemo {

class CPatDoc;
class TableSheet;
class VariableNameList;

// The weekly price change (调价): a price list brings a document's records up to date.
// One mapped target is the key that names a product. A record whose key the list holds
// takes the row's non-empty values; when that really changes a value the record joins the
// print queue, and every other record leaves it, so printing the queue prints exactly the
// signs that changed. Rows whose key no record holds become new records, queued. Keys
// that stand twice in the list or in the document are reported and nothing is changed.
class PriceUpdate {
public:
    using Columns = RecordImport::Columns;
    using Values = std::array<QByteArray, InfoRecord::kValueCount>;

    struct Change {
        int record = -1;  // the record's index in the document; -1 for a new record
        QByteArray key;   // as the list gives it, trimmed
        Values before;    // empty for a new record
        Values after;
        bool isNew() const { return record < 0; }
    };

    // keyTarget: the value index (0–12) that holds the key.
    PriceUpdate(const Columns& columns, int keyTarget) : columns_(columns), keyTarget_(keyTarget) {}

    // Compares the rows of sheet from firstRow (1-based) on with the document's records.
    // False when the table was not read or the key's target has no column (message()).
    // Duplicate keys do not fail the plan: hasDuplicates() tells, and apply() refuses.
    bool plan(const CPatDoc& doc, const TableSheet& sheet, int firstRow);

    // Carries out the plan (nothing when it found duplicate keys). New records are made
    // by the document's newRecord(), so its initializer chooses their page. Returns the
    // indices of the records that changed or are new, for the grid to mark.
    std::vector<int> apply(CPatDoc& doc) const;

    // Changed records first in document order, then the new ones in list order.
    const std::vector<Change>& changes() const { return changes_; }
    int changedCount() const { return int(changes_.size()) - newCount_; }
    int newCount() const { return newCount_; }
    int unchangedCount() const { return unchangedCount_; }
    int missingCount() const { return missingCount_; }
    bool hasDuplicates() const { return !duplicateListKeys_.isEmpty() || !duplicateDocumentKeys_.isEmpty(); }
    const QList<QByteArray>& duplicateListKeys() const { return duplicateListKeys_; }
    const QList<QByteArray>& duplicateDocumentKeys() const { return duplicateDocumentKeys_; }
    const QString& message() const { return message_; }

    // "改价 N 项，新增 K 项，未变 M 项，表中没有 L 项"
    QString summary() const;
    // The duplicate keys, as the user is told them; empty when there are none.
    QString duplicatesMessage() const;
    // One line per changed or new product: "key：名称 old → new，…".
    QStringList changeLines(const VariableNameList& names) const;

    // Appends the changes to the log (GBK text, comma separated): one line per changed
    // value with the date, the key, the value's name, the old and the new value. The
    // file gets its header line when it is new. False with error when it cannot be
    // written.
    bool appendLog(const QString& path, const QDateTime& when, const VariableNameList& names,
                   QString& error) const;
    // "<name>.调价.csv" beside the document.
    static QString logPathFor(const QString& documentPath);

    // The key as compared: trimmed, and for a number (digits, "6901234567892.0",
    // "6.901234567892E+12") its whole digits without leading zeros, so a workbook's
    // number equals the same barcode typed as text.
    static QByteArray normalizedKey(const QByteArray& gbk);
    // Whether a list value differs from a record's: prices compare as numbers when both
    // are numbers (4.5 equals 4.50), everything else as text after trimming.
    static bool valueDiffers(int target, const QByteArray& before, const QByteArray& after);

private:
    Columns columns_;
    int keyTarget_;
    std::vector<Change> changes_;
    int newCount_ = 0;
    int unchangedCount_ = 0;
    int missingCount_ = 0;
    std::vector<int> leaveQueue_;  // records on the list that did not change, and those not on it
    QList<QByteArray> duplicateListKeys_;
    QList<QByteArray> duplicateDocumentKeys_;
    QString message_;
};

}  // namespace pemo
