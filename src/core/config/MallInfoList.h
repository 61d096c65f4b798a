#pragma once

#include <QByteArray>
#include <QList>

namespace pemo {

struct MallInfoEntry {
    QByteArray name;
    QByteArray value;
};

// The mall information shown by the five mall-information placeholders (GBK).
class MallInfoList {
public:
    static constexpr int kItemCount = 5;

    static QList<MallInfoEntry> defaultEntries();

    MallInfoList() : entries_(defaultEntries()) {}

    // The entries of "PemStore.dic", or the defaults; a short file is completed from
    // the defaults and entries past the fifth are left out.
    static MallInfoList build();
    // Writes "PemStore.dic".
    bool save() const;

    // Entry index (0 to 4); an empty entry outside the list.
    MallInfoEntry entry(int index) const { return entries_.value(index); }
    void setValue(int index, const QByteArray& value);
    const QList<MallInfoEntry>& entries() const { return entries_; }
    void setEntries(const QList<MallInfoEntry>& entries) { entries_ = entries; }

private:
    QList<MallInfoEntry> entries_;
};

}  // namespace pemo
