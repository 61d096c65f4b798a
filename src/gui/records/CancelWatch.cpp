#include "CancelWatch.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace pemo {

namespace {

constexpr int kEventsEveryMs = 50;

}  // namespace

CancelWatch::CancelWatch(QProgressDialog& progress) : progress_(&progress) { clock_.start(); }

bool CancelWatch::operator()() {
    if (clock_.elapsed() >= kEventsEveryMs) {
        QCoreApplication::processEvents();
        clock_.restart();
    }
    return progress_->wasCanceled();
}

}  // namespace pemo
