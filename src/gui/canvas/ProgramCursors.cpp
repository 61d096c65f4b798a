#include "ProgramCursors.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

// The cursor pictures are compiled into the GUI library.
static void initCursorResources() { Q_INIT_RESOURCE(pemo); }

namespace pemo::ProgramCursors {

namespace {

// Drawn at the screen's scale from the vector picture, so the cursor stays sharp.
QCursor make(const char* name, int hotX, int hotY, Qt::CursorShape fallback) {
    initCursorResources();
    const QIcon picture(QStringLiteral(":/cursors/%1.svg").arg(QString::fromLatin1(name)));
    const qreal scale = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap = picture.pixmap(QSize(32, 32), scale);
    if (pixmap.isNull()) return QCursor(fallback);
    return QCursor(pixmap, hotX, hotY);
}

}  // namespace

QCursor text() {
    static const QCursor cursor = make("text", 8, 8, Qt::IBeamCursor);
    return cursor;
}

QCursor graphic() {
    static const QCursor cursor = make("graphic", 8, 8, Qt::CrossCursor);
    return cursor;
}

QCursor picture() {
    static const QCursor cursor = make("picture", 8, 8, Qt::CrossCursor);
    return cursor;
}

QCursor point() {
    static const QCursor cursor = make("point", 8, 8, Qt::PointingHandCursor);
    return cursor;
}

QCursor rotation() {
    static const QCursor cursor = make("rotation", 16, 16, Qt::OpenHandCursor);
    return cursor;
}

}  // namespace pemo::ProgramCursors
