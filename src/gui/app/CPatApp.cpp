#include "CPatApp.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>
#include <QPointer>
#include <QTimer>

#include "gui/records/FileDialogLook.h"
#include "Autosaver.h"
#include "CPatMain.h"
#include "RecoveryOffer.h"
#include "SaveName.h"
#include "InstanceChannel.h"
#include "QtTranslations.h"
#include "gui/common/ToolIcons.h"
#include "SplashWindow.h"
#include "core/blocks/BlockFactory.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/RecoveryStore.h"
#include "core/platform/Folders.h"
#include "core/codecs/Archive.h"
#include "core/platform/Folders.h"
#include "core/platform/ProgramInfo.h"
#include "gui/view/CPatView.h"

namespace pemo {

namespace {
CPatApp* theApp = nullptr;
}

CPatApp::CPatApp()
    : settings_(QString::fromUtf8("佩墨"), QStringLiteral("Pemo")), recentFiles_(settings_) {
    theApp = this;
    Messages::install(&messageBoxes_);
}

CPatApp::~CPatApp() {
    // The last copy reaches the disk before the session (and with it the copy) is closed:
    // this run ended by closing.
    autosaver_.reset();
    recovery_.reset();
    Messages::install(nullptr);
    delete main_;
    theApp = nullptr;
}

CPatApp* CPatApp::instance() { return theApp; }

bool CPatApp::initInstance(const QStringList& arguments) {
    registerBlockClasses();
    installQtTranslations();
    useToolIconTheme();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/pemo.png")));

    // A file on the command line of a second start goes to the running program.
    const QString file = arguments.value(1);
    if (!file.isEmpty() && InstanceChannel::handOver(QFileInfo(file).absoluteFilePath())) {
        return false;
    }
    channel_ = new InstanceChannel(this);
    channel_->listen();

    // The splash deletes itself when closed, which can happen while a message box about
    // the file runs below.
    const QPointer<SplashWindow> splash =
        SplashWindow::showSplash(QStringLiteral(":/images/splash.png"));

    doc_ = std::make_unique<CPatDoc>();
    main_ = new CPatMain(*this, *doc_);
    messageBoxes_.setParentWidget(main_);
    doc_->mallInfo = &main_->mallInfo();
    doc_->newDocument();
    if (!file.isEmpty() && !openDocument(file)) {
        // The document stays a new one; the message has been shown.
    }
    connect(channel_, &InstanceChannel::openRequested, this, &CPatApp::openHandedOver);
    startAutosave();

    main_->updateTitle(documentTitle());
    // Without a window manager a maximised window keeps its size; give it the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        main_->setGeometry(screen->availableGeometry());
    }
    main_->showMaximized();
    main_->setAcceptDrops(true);
    QTimer::singleShot(0, this, &CPatApp::offerRecovery);
    if (splash) {
        // The splash stays above the main window once that is mapped (a desktop
        // without a window manager stacks windows in the order they are mapped).
        QTimer::singleShot(0, splash, [splash] {
            if (splash) splash->bringToFront();
        });
    }
    return true;
}

QString CPatApp::dialogFolder() const {
    if (!path_.isEmpty()) return QFileInfo(path_).absolutePath();
    return FileDialogLook::documentsFolder();
}

QString CPatApp::documentTitle() const {
    return path_.isEmpty() ? QString::fromUtf8("无标题") : QFileInfo(path_).fileName();
}

bool CPatApp::saveModified() {
    if (!doc_->isModified()) return true;
    const QString question = QString::fromUtf8("将改动保存到 %1？").arg(documentTitle());
    switch (Messages::current().ask(question, Messages::Buttons::YesNoCancel)) {
        case Messages::Answer::Yes: return saveDocument();
        case Messages::Answer::No: return true;
        default: return false;
    }
}

bool CPatApp::newDocument() {
    if (!saveModified()) return false;
    doc_->newDocument();
    path_.clear();
    documentReplaced();
    return true;
}

bool CPatApp::openDocument(const QString& path) {
    if (!saveModified()) return false;
    try {
        DocumentFile::open(*doc_, path);
    } catch (const FileError& error) {
        // A refused file leaves the open document as it was, path and all; a recent file
        // that no longer opens leaves the list.
        Messages::current().inform(error.message());
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (recentFiles_.files().contains(absolute)) {
            recentFiles_.remove(absolute);
            main_->updateRecentFiles();
        }
        return false;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    recentFiles_.add(path_);
    documentReplaced();
    return true;
}

void CPatApp::openHandedOver(const QString& path) {
    // A modal window (a print job under way, a dialog) works on the open document; the
    // file waits until it is closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(300, this, [this, path] { openHandedOver(path); });
        return;
    }
    main_->showMaximized();
    main_->raise();
    main_->activateWindow();
    openDocument(path);
}

bool CPatApp::saveDocument() {
    if (path_.isEmpty()) return saveDocumentAs();
    return saveTo(path_);
}

bool CPatApp::saveDocumentAs() {
    const QString path = completeSaveName(
        QFileDialog::getSaveFileName(
            main_, QString::fromUtf8("另存为"),
            path_.isEmpty() ? dialogFolder() + QLatin1Char('/') + documentTitle() : path_,
            QString::fromUtf8("佩墨文件 (*.vxq)")),
        {QStringLiteral("vxq")}, QStringLiteral("vxq"));
    if (path.isEmpty()) return false;
    return saveTo(path);
}

bool CPatApp::saveTo(const QString& path) {
    try {
        DocumentFile::save(*doc_, path);
    } catch (const FileError& error) {
        Messages::current().inform(error.message());
        return false;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    recentFiles_.add(path_);
    main_->updateTitle(documentTitle());
    main_->updateRecentFiles();
    return true;
}

void CPatApp::documentReplaced() {
    main_->updateTitle(documentTitle());
    main_->updateRecentFiles();
    doc_->notify(CPatDoc::Change::Records);
}

bool CPatApp::openRecovered(const RecoveryCopy& copy, QString& reason) {
    reason.clear();
    if (!saveModified()) return false;
    try {
        DocumentFile::open(*doc_, copy.copyPath);
    } catch (const FileError& error) {
        reason = error.message();
        return false;
    }
    path_ = copy.documentPath;
    doc_->setModified(true);
    documentReplaced();
    return true;
}

void CPatApp::showAbout(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8("关于佩墨"));
    box.setIconPixmap(QIcon(QStringLiteral(":/images/pemo.png")).pixmap(48, 48));
    box.setText(QString::fromUtf8("%1 %2 版").arg(QString::fromUtf8(kProgramName),
                                                 QString::fromUtf8(kProgramVersion)));
    box.setInformativeText(QString::fromUtf8("商场促销海报、价签设计与打印"));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

CPatMain* mainFrame() { return theApp ? theApp->mainFrame() : nullptr; }
CPatDoc* document() { return theApp ? theApp->documentPtr() : nullptr; }
CPatView* view() { return mainFrame() ? mainFrame()->view() : nullptr; }
InfoRecord* currentRecord() { return document() ? document()->currentRecord() : nullptr; }

}  // namespace pemo
