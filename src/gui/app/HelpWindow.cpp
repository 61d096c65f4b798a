#include "HelpWindow.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/platform/Folders.h"
#include "core/platform/Messages.h"

namespace pemo {

QString HelpWindow::helpFile() { return programFolder() + QStringLiteral("/PemoHelp/index.html"); }

void HelpWindow::showHelp(QWidget* parent) {
    static QPointer<HelpWindow> window;
    const QString file = helpFile();
    if (!QFileInfo::exists(file)) {
        Messages::current().inform(QString::fromUtf8("找不到帮助文件 %1。").arg(file));
        return;
    }
    if (!window) window = new HelpWindow(file, parent);
    window->show();
    window->raise();
    window->activateWindow();
}

HelpWindow::HelpWindow(const QString& file, QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("《佩墨》帮助"));
    resize(760, 560);
    auto* browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(false);
    browser->setSource(QUrl::fromLocalFile(file));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
}

}  // namespace pemo
