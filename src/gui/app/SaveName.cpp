#include "SaveName.h"

#include <QFileInfo>

#include "core/platform/Messages.h"

namespace pemo {

QString completeSaveName(const QString& chosen, const QStringList& accepted, const QString& added) {
    if (chosen.isEmpty()) return {};
    if (accepted.contains(QFileInfo(chosen).suffix().toLower())) return chosen;
    const QString path = chosen + QLatin1Char('.') + added;
    return Messages::mayReplace(path) ? path : QString();
}

}  // namespace pemo
