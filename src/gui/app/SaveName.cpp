#include "SaveName.h"

#include <QFileInfo>

#include "core/platform/Messages.h"

namespace pemo {

QString completeSaveName(const QString& chosen, const QStringList& accepted, const QString& added) {
    if (chosen.isEmpty()) return {};
    if (accepted.contains(QFileInfo(chosen).suffix().toLower())) return chosen;
    const QString path = chosen + QLatin1Char('.') + added;
    if (QFileInfo::exists(path) &&
        Messages::current().ask(
            QString::fromUtf8("%1 已存在。\n要替换它吗？").arg(QFileInfo(path).fileName()),
            Messages::Buttons::YesNo) != Messages::Answer::Yes) {
        return {};
    }
    return path;
}

}  // namespace pemo
