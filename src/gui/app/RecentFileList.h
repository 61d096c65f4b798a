#pragma once

#include <QSettings>
#include <QStringList>

namespace pemo {

// The four most recently opened files, kept in the settings section
// "Recent File List" as File1 … File4.
class RecentFileList {
public:
    static constexpr int kSize = 4;

    explicit RecentFileList(QSettings& settings) : settings_(settings) { load(); }

    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& files() const { return files_; }

private:
    void load();
    void save();

    QSettings& settings_;
    QStringList files_;
};

}  // namespace pemo
