#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace pemo {

// The label catalogue's descriptions in Chinese: the catalogue's own translations (the
// message catalogue it installs beside its products), else a table of the usual kinds
// of labels; a description of several kinds ("Jar labels, candle labels") is put
// together from its parts. What neither knows stays as the catalogue wrote it.
class LabelDescriptions {
public:
    // The message catalogue installed with the catalogue in `catalogueFolder`
    // (…/share/libglabels-3.0/templates: …/share/locale/zh_CN/LC_MESSAGES); empty when
    // there is none.
    static QString translationFile(const QString& catalogueFolder);
    // Reads that file; nothing happens for a missing or unreadable one.
    void loadTranslations(const QString& path);

    // Reads a GNU message catalogue (.mo); false, keeping nothing of it, when the bytes
    // are not one.
    bool readMessages(const QByteArray& bytes);

    QString chinese(const QString& description) const;

private:
    QString translatePart(const QString& part) const;

    QHash<QString, QString> messages_;  // keys in lower case
};

}  // namespace pemo
