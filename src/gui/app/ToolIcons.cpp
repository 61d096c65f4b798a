#include "ToolIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QString>

// The program's own icons are compiled into the GUI library.
static void initIconResources() { Q_INIT_RESOURCE(pemo); }

namespace pemo {

namespace {
const char* const kTheme = "breeze";
}

void useToolIconTheme() {
    initIconResources();
    const QString theme = QString::fromLatin1(kTheme);
    for (const QString& path : QIcon::themeSearchPaths()) {
        if (QFileInfo::exists(path + QLatin1Char('/') + theme + QStringLiteral("/index.theme"))) {
            QIcon::setThemeName(theme);
            return;
        }
    }
}

QIcon toolIcon(const char* name) {
    static QHash<QByteArray, QIcon> cache;
    const QByteArray key(name);
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QStringLiteral("hicolor"))
        useToolIconTheme();
    const QString text = QString::fromLatin1(name);
    const QIcon icon = text.startsWith(QLatin1Char(':')) ? QIcon(text) : QIcon::fromTheme(text);
    cache.insert(key, icon);
    return icon;
}

}  // namespace pemo
