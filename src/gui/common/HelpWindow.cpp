#include "HelpWindow.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/platform/Folders.h"
#include "core/platform/Messages.h"

namespace pemo {

QString HelpWindow::helpFile(const QString& page) {
    return programFolder() + QStringLiteral("/PemoHelp/") + (page.isEmpty() ? QStringLiteral("index.html") : page);
}

void HelpWindow::showHelp(QWidget* parent, const QString& page) {
    // One window for the main window; a dialog, which blocks that one, gets its own.
    static QPointer<HelpWindow> window;
    const QString file = helpFile(page);
    if (!QFileInfo::exists(file)) {
        Messages::current().inform(QString::fromUtf8("找不到帮助文件 %1。").arg(file));
        return;
    }
    HelpWindow* shown = window && window->parentWidget() == parent ? window.data() : nullptr;
    if (!shown) {
        shown = new HelpWindow(file, parent);
        if (!parent || !qobject_cast<QDialog*>(parent)) window = shown;
    } else {
        shown->showFile(file);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void HelpWindow::addHelpButton(QDialogButtonBox* buttons, QDialog* dialog, const QString& page) {
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setText(QString::fromUtf8("帮助"));
    help->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, dialog, [dialog, page] { showHelp(dialog, page); });
    auto* key = new QShortcut(QKeySequence::HelpContents, dialog);
    QObject::connect(key, &QShortcut::activated, dialog, [dialog, page] { showHelp(dialog, page); });
}

HelpWindow::HelpWindow(const QString& file, QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("《佩墨》帮助"));
    resize(760, 560);
    auto* browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    showFile(file);
}

void HelpWindow::showFile(const QString& file) {
    findChild<QTextBrowser*>()->setSource(QUrl::fromLocalFile(file));
}

QString HelpWindow::shownPage() const {
    return QFileInfo(findChild<QTextBrowser*>()->source().toLocalFile()).fileName();
}

}  // namespace pemo
