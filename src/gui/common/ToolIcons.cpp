#include "ToolIcons.h"

#include <QAction>
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

void decorateMenuCommands(const std::function<QAction*(int)>& command) {
    struct Range {
        int first, last;
        const char* icon;
    };
    const Range ranges[] = {
        {57604, 57604, "document-save-as"},   {57665, 57665, "application-exit"},
        {32939, 32939, "image-x-generic"},    {34006, 34006, "edit-delete"},
        {34007, 34007, "edit-select-all"},    {34043, 34043, "zoom-original"},
        {34281, 34281, "format-justify-fill"}, {34282, 34282, "format-justify-left"},
        {34283, 34283, "format-justify-right"}, {34284, 34284, "format-justify-center"},
        {34110, 34112, "document-import"},    {34113, 34114, "document-export"},
        {34115, 34115, "view-list-details"},  {34400, 34401, "document-save"},
        {34402, 34403, "document-print"},     {57606, 57606, "configure"},
        {34571, 34574, ":/icons/print-item.svg"}, {34575, 34578, ":/icons/print-copies.svg"},
        {34541, 34549, ":/icons/print-proof.svg"}, {34551, 34559, ":/icons/print-proof.svg"},
        {34581, 34582, ":/icons/print-tile.svg"}, {34561, 34562, ":/icons/print-merge.svg"},
        {32864, 32864, "help-contents"},
    };
    for (const Range& range : ranges) {
        for (int id = range.first; id <= range.last; ++id) {
            if (QAction* action = command(id); action && action->icon().isNull())
                action->setIcon(toolIcon(range.icon));
        }
    }
}

}  // namespace pemo
