#include "PriceUpdate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

#include "TableSheet.h"
#include "core/codecs/Gbk.h"
#include "core/config/VariableNameList.h"
#include "core/document/CPatDoc.h"
#include "core/document/RecordPrototype.h"
#include "core/platform/FileError.h"
#include "core/platform/SafeFile.h"

namespace pemo {

namespace {

bool isPriceTarget(int target) { return target >= InfoRecord::kOriginalPrice; }

std::optional<double> numberOf(const QByteArray& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A key written as a number with a fraction or an exponent ("6.901234567892E+12",
// "6901234567892.0"): its whole digits, when it is a whole number a double holds exactly.
std::optional<QByteArray> numericKeyDigits(const QByteArray& key) {
    static const QRegularExpression number(QStringLiteral("^\\d+(\\.\\d*)?([eE]\\+?\\d+)?$"));
    const QString text = QString::fromLatin1(key);
    if (!number.match(text).hasMatch()) return std::nullopt;
    if (!key.contains('.') && !key.contains('e') && !key.contains('E')) return std::nullopt;
    const double value = key.toDouble();
    if (value != std::floor(value) || value >= 9007199254740992.0) return std::nullopt;
    return QByteArray::number(qint64(value));
}

QString valueName(int target, const VariableNameList& names) {
    switch (target) {
    case InfoRecord::kOriginalPrice: return QString::fromUtf8("原价");
    case InfoRecord::kCurrentPrice: return QString::fromUtf8("现价");
    case InfoRecord::kDiscount: return QString::fromUtf8("折扣");
    default: return Gbk::toUnicode(names.name(target));
    }
}

// One field of a comma-separated line, quoted when it holds a separator, a quote or a
// line end. GBK's second bytes are 0x40 or above, so these bytes are always characters.
QByteArray csvField(const QByteArray& text) {
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r')) {
        return text;
    }
    QByteArray quoted = text;
    quoted.replace("\"", "\"\"");
    return '"' + quoted + '"';
}

}  // namespace

QByteArray PriceUpdate::normalizedKey(const QByteArray& gbk) {
    const QByteArray key = gbk.trimmed();
    if (const std::optional<QByteArray> digits = numericKeyDigits(key)) return *digits;
    if (key.isEmpty() || !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return key;
    }
    // A number keeps no leading zeros in a workbook: compare without them.
    qsizetype first = 0;
    while (first + 1 < key.size() && key.at(first) == '0') ++first;
    return key.mid(first);
}

bool PriceUpdate::valueDiffers(int target, const QByteArray& before, const QByteArray& after) {
    const QByteArray a = before.trimmed();
    const QByteArray b = after.trimmed();
    if (a == b) return false;
    if (isPriceTarget(target)) {
        const std::optional<double> x = numberOf(a);
        const std::optional<double> y = numberOf(b);
        if (x && y) return std::fabs(*x - *y) > 1e-9;
    }
    return true;
}

bool PriceUpdate::plan(const CPatDoc& doc, const TableSheet& sheet, int firstRow) {
    changes_.clear();
    leaveQueue_.clear();
    duplicateListKeys_.clear();
    duplicateDocumentKeys_.clear();
    newCount_ = unchangedCount_ = missingCount_ = 0;
    message_.clear();
    if (!sheet.isRead()) {
        message_ = sheet.message();
        return false;
    }
    if (keyTarget_ < 0 || keyTarget_ >= InfoRecord::kValueCount || columns_[size_t(keyTarget_)] < 1) {
        message_ = QString::fromUtf8("作为关键字的项目没有对应的列。");
        return false;
    }

    QHash<QByteArray, int> recordOfKey;
    for (int i = 0; i < doc.recordCount(); ++i) {
        const QByteArray key = normalizedKey(doc.records[size_t(i)]->values[size_t(keyTarget_)]);
        if (key.isEmpty()) continue;
        if (recordOfKey.contains(key)) {
            if (!duplicateDocumentKeys_.contains(key)) duplicateDocumentKeys_ << key;
            continue;
        }
        recordOfKey.insert(key, i);
    }

    const int keyColumn = columns_[size_t(keyTarget_)];
    std::vector<bool> onList(size_t(doc.recordCount()), false);
    std::vector<Change> added;
    QHash<QByteArray, bool> listKeys;
    for (int row = std::max(firstRow, 1); row <= sheet.totalRows(); ++row) {
        const QByteArray keyText = sheet.cell(keyColumn, row).trimmed();
        const QByteArray key = normalizedKey(keyText);
        if (key.isEmpty()) continue;
        if (listKeys.contains(key)) {
            if (!duplicateListKeys_.contains(key)) duplicateListKeys_ << key;
            continue;
        }
        listKeys.insert(key, true);

        Values rowValues;
        for (int target = 0; target < InfoRecord::kValueCount; ++target) {
            const int column = columns_[size_t(target)];
            if (column >= 1) rowValues[size_t(target)] = sheet.cell(column, row).trimmed();
        }
        const auto found = recordOfKey.constFind(key);
        if (found == recordOfKey.constEnd()) {
            Change change;
            change.key = keyText;
            change.after = rowValues;
            change.after[size_t(keyTarget_)] = numericKeyDigits(keyText).value_or(keyText);
            added.push_back(std::move(change));
            continue;
        }
        const int index = found.value();
        onList[size_t(index)] = true;
        Change change;
        change.record = index;
        change.key = keyText;
        change.before = doc.records[size_t(index)]->values;
        change.after = change.before;
        bool changed = false;
        for (int target = 0; target < InfoRecord::kValueCount; ++target) {
            const QByteArray& value = rowValues[size_t(target)];
            // An empty cell leaves the value alone; the key is equal by definition.
            if (target == keyTarget_ || value.isEmpty()) continue;
            if (!valueDiffers(target, change.before[size_t(target)], value)) continue;
            change.after[size_t(target)] = value;
            changed = true;
        }
        if (changed) {
            changes_.push_back(std::move(change));
        } else {
            ++unchangedCount_;
            leaveQueue_.push_back(index);
        }
    }
    for (int i = 0; i < doc.recordCount(); ++i) {
        if (onList[size_t(i)]) continue;
        if (!normalizedKey(doc.records[size_t(i)]->values[size_t(keyTarget_)]).isEmpty()) ++missingCount_;
        leaveQueue_.push_back(i);
    }
    std::sort(changes_.begin(), changes_.end(),
              [](const Change& a, const Change& b) { return a.record < b.record; });
    newCount_ = int(added.size());
    for (Change& change : added) changes_.push_back(std::move(change));
    return true;
}

std::vector<int> PriceUpdate::apply(CPatDoc& doc) const {
    std::vector<int> marked;
    if (hasDuplicates()) return marked;
    const PlaceholderSources sources = doc.placeholderSources();
    for (int index : leaveQueue_) {
        if (InfoRecord* record = doc.recordAt(index)) record->copies = 0;
    }
    for (const Change& change : changes_) {
        if (change.isNew()) continue;
        InfoRecord& record = *doc.records[size_t(change.record)];
        record.values = change.after;
        record.copies = std::max(record.copies, 1);
        record.refreshPlaceholders(false, sources);
        marked.push_back(change.record);
    }
    if (newCount_ > 0) {
        // New products go before the empty record kept at the end for typing.
        size_t at = doc.records.size();
        if (at > 0 && doc.records.back()->isEmpty()) --at;
        const RecordPrototype prototype(doc);
        std::vector<std::unique_ptr<InfoRecord>> made;
        for (const Change& change : changes_) {
            if (!change.isNew()) continue;
            std::unique_ptr<InfoRecord> record = prototype.make();
            record->values = change.after;
            record->copies = 1;
            record->refreshPlaceholders(false, sources);
            made.push_back(std::move(record));
        }
        for (size_t k = 0; k < made.size(); ++k) marked.push_back(int(at + k));
        doc.records.insert(doc.records.begin() + qsizetype(at), std::make_move_iterator(made.begin()),
                           std::make_move_iterator(made.end()));
    }
    doc.notify(CPatDoc::Change::Records);
    doc.setModified(true);
    return marked;
}

QString PriceUpdate::summary() const {
    return QString::fromUtf8("改价 %1 项，新增 %2 项，未变 %3 项，表中没有 %4 项")
        .arg(changedCount())
        .arg(newCount())
        .arg(unchangedCount())
        .arg(missingCount());
}

QString PriceUpdate::duplicatesMessage() const {
    if (!hasDuplicates()) return QString();
    auto join = [](const QList<QByteArray>& keys) {
        QStringList texts;
        for (const QByteArray& key : keys) texts << Gbk::toUnicode(key);
        return texts.join(QString::fromUtf8("、"));
    };
    QStringList lines;
    if (!duplicateListKeys_.isEmpty()) {
        lines << QString::fromUtf8("价格表中重复的关键字：%1").arg(join(duplicateListKeys_));
    }
    if (!duplicateDocumentKeys_.isEmpty()) {
        lines << QString::fromUtf8("文档中重复的关键字：%1").arg(join(duplicateDocumentKeys_));
    }
    lines << QString::fromUtf8("没有更新任何信息。");
    return lines.join(QLatin1Char('\n'));
}

QStringList PriceUpdate::changeLines(const VariableNameList& names) const {
    QStringList lines;
    for (const Change& change : changes_) {
        QStringList parts;
        for (int target = 0; target < InfoRecord::kValueCount; ++target) {
            const QByteArray& before = change.before[size_t(target)];
            const QByteArray& after = change.after[size_t(target)];
            if (before == after) continue;
            parts << (change.isNew() ? QString::fromUtf8("%1 %2").arg(valueName(target, names), Gbk::toUnicode(after))
                                     : QString::fromUtf8("%1 %2 → %3")
                                           .arg(valueName(target, names), Gbk::toUnicode(before),
                                                Gbk::toUnicode(after)));
        }
        lines << QString::fromUtf8("%1%2：%3")
                     .arg(change.isNew() ? QString::fromUtf8("新增 ") : QString(), Gbk::toUnicode(change.key),
                          parts.join(QString::fromUtf8("，")));
    }
    return lines;
}

bool PriceUpdate::appendLog(const QString& path, const QDateTime& when, const VariableNameList& names,
                            QString& error) const {
    QByteArray text;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly)) {
            error = SafeFile::failureText(path, old.errorString());
            return false;
        }
        text = old.readAll();
        old.close();
    }
    if (text.isEmpty()) text = Gbk::fromUnicode(QString::fromUtf8("日期,关键字,项目,原值,新值\r\n"));
    if (!text.endsWith('\n')) text += "\r\n";
    const QByteArray date = when.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toLatin1();
    for (const Change& change : changes_) {
        for (int target = 0; target < InfoRecord::kValueCount; ++target) {
            const QByteArray& before = change.before[size_t(target)];
            const QByteArray& after = change.after[size_t(target)];
            if (before == after) continue;
            text += date + ',' + csvField(change.key) + ',' + csvField(Gbk::fromUnicode(valueName(target, names))) +
                    ',' + csvField(before) + ',' + csvField(after) + "\r\n";
        }
    }
    try {
        SafeFile::write(path, text);
    } catch (const FileError& failure) {
        error = failure.message();
        return false;
    }
    return true;
}

QString PriceUpdate::logPathFor(const QString& documentPath) {
    const QFileInfo info(documentPath);
    return info.dir().filePath(info.completeBaseName() + QString::fromUtf8(".调价.csv"));
}

}  // namespace pemo
