#include "RecentFileList.h"

#include <QFileInfo>

namespace pemo {

namespace {
const QString kSection = QStringLiteral("Recent File List");
}

void RecentFileList::load() {
    files_.clear();
    settings_.beginGroup(kSection);
    for (int i = 1; i <= kSize; ++i) {
        const QString path = settings_.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty()) files_.append(path);
    }
    settings_.endGroup();
}

void RecentFileList::save() {
    settings_.beginGroup(kSection);
    for (int i = 1; i <= kSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files_.size()) {
            settings_.setValue(key, files_.at(i - 1));
        } else {
            settings_.remove(key);
        }
    }
    settings_.endGroup();
    settings_.sync();
}

void RecentFileList::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > kSize) files_.removeLast();
    save();
}

void RecentFileList::remove(const QString& path) {
    files_.removeAll(path);
    save();
}

}  // namespace pemo
