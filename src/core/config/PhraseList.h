#pragma once

#include <QByteArray>
#include <QList>

namespace pemo {

// The common phrases offered by the phrase menu: the fixed "文字" first, then the
// stored phrases (GBK).
class PhraseList {
public:
    // Stored phrases after the fixed first one; the phrase menu's ids end there.
    static constexpr int kMaxStored = 20;

    PhraseList() { clear(); }

    // "文字", then the phrases of "PemText.dic" (at most 20).
    static PhraseList build();
    // Leaves only the fixed first phrase.
    void clear();
    // False when the list already holds the most phrases it can offer.
    bool add(const QByteArray& phrase);
    // Writes "PemText.dic" without the fixed first phrase.
    bool save() const;

    int size() const { return static_cast<int>(phrases_.size()); }
    QByteArray phrase(int index) const { return phrases_.value(index); }
    static QByteArray fixedFirst();

private:
    QList<QByteArray> phrases_;
};

}  // namespace pemo
