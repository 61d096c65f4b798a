#pragma once

#include <QObject>
#include <functional>

#include "core/document/RecordCommands.h"

class QDockWidget;
class QMenu;
class QMainWindow;
class QTabWidget;

namespace pemo {

class BackgroundPanel;
class CPatDoc;
class InfoRecord;
class PictureLibraryPanel;
class TemplatePanel;
class ThumbnailCache;

// The library's side bars: "底图" with the background panel, and "模板/常用图库" with
// the template panel and the picture panel on the tabs "模板库" and "常用图库". They
// apply what the user chooses to the document's current record, give new records the
// selected template or background, and tell the record commands what is selected.
class LibraryDocks : public QObject {
    Q_OBJECT
public:
    LibraryDocks(QMainWindow& frame, CPatDoc& doc);
    ~LibraryDocks() override;

    // Puts the bars into the frame: both on the left, the background bar first.
    void dock();
    // Fills the drop-downs and the lists from the library folders.
    void load();

    QDockWidget* backgroundBar() const { return backgroundBar_; }
    QDockWidget* templateBar() const { return templateBar_; }
    BackgroundPanel* backgroundPanel() const { return backgrounds_; }
    TemplatePanel* templatePanel() const { return templates_; }
    PictureLibraryPanel* picturePanel() const { return pictures_; }
    QTabWidget* tabs() const { return tabs_; }
    ThumbnailCache& thumbnails() const { return *cache_; }

    // The panels' own commands follow their selections.
    void updateCommands();
    // The outside editors' items in the background and picture panels' menus: they edit
    // the file under the mouse, which the panel then reads again.
    void offerOutsideEditors();

    // The selections, for 统一底图 and 统一模板.
    void fillContext(RecordCommandContext& context) const;
    // What a new record starts with: the selected template, else the selected
    // background, else a blank page.
    void initialiseRecord(InfoRecord& record) const;

    // A template was saved into the library: its background and the template are
    // selected, so it shows at once.
    void showSavedTemplate(const QByteArray& category, const QByteArray& backgroundName,
                           const QString& templatePath);

    // The page changed (a background or template was applied).
    std::function<void()> onPageChanged;

private:
    void applyBackground(const PictureDescription& background);
    void applyTemplate(const QString& path);

    QMainWindow& frame_;
    CPatDoc& doc_;
    std::unique_ptr<ThumbnailCache> cache_;
    QDockWidget* backgroundBar_ = nullptr;
    QDockWidget* templateBar_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    BackgroundPanel* backgrounds_ = nullptr;
    TemplatePanel* templates_ = nullptr;
    PictureLibraryPanel* pictures_ = nullptr;
};

}  // namespace pemo
