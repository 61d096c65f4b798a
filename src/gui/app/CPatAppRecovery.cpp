// The application's recovery copies: the autosave of this run and, at start-up, the copies
// earlier runs left behind.
#include <QStatusBar>

#include "Autosaver.h"
#include "CPatApp.h"
#include "CPatMain.h"
#include "RecoveryOffer.h"
#include "core/document/RecoveryStore.h"
#include "core/platform/Folders.h"
#include "gui/canvas/CPatCanvas.h"
#include "gui/view/CPatView.h"

namespace pemo {

namespace {
// Seconds between a change and its copy, kept in the settings (AutosaveSeconds); at least 5.
constexpr int kMinimumSeconds = 5;
}  // namespace

void CPatApp::startAutosave() {
    recovery_ = std::make_unique<RecoveryStore>(recoveryFolder());
    // Without a recovery folder the program runs as before, only without copies.
    recovery_->begin();
    autosaver_ = std::make_unique<Autosaver>(*doc_, *recovery_);
    const int seconds = settings_.value(QStringLiteral("Settings/AutosaveSeconds"),
                                        Autosaver::kDefaultIntervalMs / 1000)
                            .toInt();
    autosaver_->setInterval(std::max(kMinimumSeconds, seconds) * 1000);
    autosaver_->isBusy = [this] {
        const CPatView* v = main_ ? main_->view() : nullptr;
        return v && v->canvas() && v->canvas()->isDragging();
    };
    autosaver_->documentPath = [this] { return path_; };
    connect(autosaver_.get(), &Autosaver::writeFailed, this, [this](const QString& message) {
        main_->statusBar()->showMessage(QString::fromUtf8("无法写入恢复副本：%1").arg(message), 10000);
    });
}

void CPatApp::offerRecovery() {
    if (!recovery_ || !recovery_->isActive()) return;
    RecoveryOffer offer(*recovery_, *autosaver_);
    offer.run(
        [this](const RecoveryCopy& copy, bool canOpen) {
            return RecoveryOffer::askWithMessageBox(main_, copy, canOpen);
        },
        [this](const RecoveryCopy& copy, QString& reason) { return openRecovered(copy, reason); });
}

}  // namespace pemo
