#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <memory>

#include "MessageBoxes.h"
#include "RecentFileList.h"

namespace pemo {

class CPatDoc;
class CPatMain;
class CPatView;
class InfoRecord;
class InstanceChannel;

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

private:
    bool saveTo(const QString& path);
    // Title, recent files and views after the document was replaced.
    void documentReplaced();

    QSettings settings_;
    RecentFileList recentFiles_;
    MessageBoxes messageBoxes_;
    std::unique_ptr<CPatDoc> doc_;
    CPatMain* main_ = nullptr;
    InstanceChannel* channel_ = nullptr;
    QString path_;
};

// Global accessors; each is null while its object does not exist.
CPatMain* mainFrame();
CPatDoc* document();
CPatView* view();
InfoRecord* currentRecord();

}  // namespace pemo
