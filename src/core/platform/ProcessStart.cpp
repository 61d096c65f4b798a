#include "ProcessStart.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <unistd.h>

namespace pemo {

void prepareProcess() {
    std::signal(SIGXFSZ, SIG_IGN);
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const QString folder = QDir::tempPath() + QStringLiteral("/pemo-runtime-%1").arg(getuid());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", folder.toUtf8());
}

}  // namespace pemo
