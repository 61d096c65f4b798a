#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <memory>

#include "MessageBoxes.h"
#include "RecentFileList.h"

namespace pemo {

class Autosaver;
class CPatDoc;
class CPatMain;
class CPatView;
class InfoRecord;
class InstanceChannel;
class RecoveryStore;
struct RecoveryCopy;

// The application object: start-up, settings, the one document and its frame.
class CPatApp : public QObject {
    Q_OBJECT
public:
    CPatApp();
    ~CPatApp() override;

    static CPatApp* instance();

    // The start-up sequence; false when the program must end.
    bool initInstance(const QStringList& arguments);

    CPatDoc& document() { return *doc_; }
    CPatDoc* documentPtr() const { return doc_.get(); }
    CPatMain* mainFrame() const { return main_; }
    QSettings& settings() { return settings_; }
    RecentFileList& recentFiles() { return recentFiles_; }

    // The document's title: its file name, or "无标题" for a new one.
    QString documentTitle() const;
    const QString& documentPath() const { return path_; }
    // Where the file dialogs open: the document's folder, or the sample folder for a new
    // document.
    QString dialogFolder() const;

    // File commands. Each asks to save a modified document first.
    bool newDocument();
    bool openDocument(const QString& path);
    // A path handed over by a later start of the program.
    void openHandedOver(const QString& path);
    bool saveDocument();
    bool saveDocumentAs();
    // Asks "将改动保存到 %1？" for a modified document; false when the user cancels.
    bool saveModified();

    void showAbout(QWidget* parent);

    // Opens a recovery copy as the document: it keeps the name of the file it was a
    // copy of and counts as unsaved. False with the reason when the copy was refused (the
    // document then stays as it was), or with an empty reason when the user cancelled.
    bool openRecovered(const RecoveryCopy& copy, QString& reason);
    Autosaver* autosaver() const { return autosaver_.get(); }

private:
    bool saveTo(const QString& path);
    // Title, recent files and views after the document was replaced.
    void documentReplaced();
    // Recovery copies: this run's session, and the copies earlier runs left behind.
    void startAutosave();
    void offerRecovery();

    QSettings settings_;
    RecentFileList recentFiles_;
    MessageBoxes messageBoxes_;
    std::unique_ptr<CPatDoc> doc_;
    CPatMain* main_ = nullptr;
    InstanceChannel* channel_ = nullptr;
    QString path_;
    std::unique_ptr<RecoveryStore> recovery_;
    std::unique_ptr<Autosaver> autosaver_;
};

// Global accessors; each is null while its object does not exist.
CPatMain* mainFrame();
CPatDoc* document();
CPatView* view();
InfoRecord* currentRecord();

}  // namespace pemo
