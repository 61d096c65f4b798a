#pragma once

#include <QByteArray>
#include <QList>

namespace pemo {

class ArchiveReader;
class ArchiveWriter;

// The names of variables 1 to 10 (GBK). Placeholders use the first ten entries; a
// document stores the whole list.
class VariableNameList {
public:
    static constexpr int kVariableCount = 10;

    // The ten built-in names, in order.
    static QList<QByteArray> defaultNames();

    // The names of "PemDefvar.dic" in the program folder, or the built-in ones when the
    // file cannot be read; a short list is completed from the built-in names.
    static VariableNameList build();

    VariableNameList() : names_(defaultNames()) {}

    // Writes "PemDefvar.dic": the count 10 and the ten names, which new documents take.
    static bool saveAsDefault(const QList<QByteArray>& tenNames);
    // The saved name sets of "PemVar.dic" (each of ten names), and writing them back.
    static QList<QList<QByteArray>> loadSets();
    static bool saveSets(const QList<QList<QByteArray>>& sets);

    // The name of variable index + 1; the built-in name when the list is short.
    QByteArray name(int index) const;
    void setName(int index, const QByteArray& name);
    const QList<QByteArray>& names() const { return names_; }
    void setNames(const QList<QByteArray>& names) { names_ = names; }

    void store(ArchiveWriter& out) const;
    void load(ArchiveReader& in);

private:
    QList<QByteArray> names_;
};

}  // namespace pemo
