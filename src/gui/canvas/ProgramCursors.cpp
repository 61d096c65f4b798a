#include "ProgramCursors.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

// The cursor pictures are compiled into the GUI library.
static void initCursorResources() { Q_INIT_RESOURCE(pemo); }

namespace pemo::ProgramCursors {

namespace {

struct Look {
    const char* name;  // the picture ":/cursors/<name>.svg"
    int hot;           // the hot spot's x and y
    Qt::CursorShape fallback;
};

enum Which { Text, Graphic, Picture, Point, Rotation };

constexpr Look kLooks[] = {
    {"text", 8, Qt::IBeamCursor},         {"graphic", 8, Qt::CrossCursor},
    {"picture", 8, Qt::CrossCursor},      {"point", 8, Qt::PointingHandCursor},
    {"rotation", 16, Qt::OpenHandCursor},
};

// Drawn at the screen's scale from the vector picture, so the cursor stays sharp.
QCursor make(const Look& look) {
    initCursorResources();
    const QIcon picture(QStringLiteral(":/cursors/%1.svg").arg(QString::fromLatin1(look.name)));
    const qreal scale = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap = picture.pixmap(QSize(32, 32), scale);
    if (pixmap.isNull())
        return QCursor(look.fallback);
    return QCursor(pixmap, look.hot, look.hot);
}

// Each cursor is made on its first use and kept.
template <Which which>
QCursor cached() {
    static const QCursor cursor = make(kLooks[which]);
    return cursor;
}

}  // namespace

QCursor text() {
    return cached<Text>();
}
QCursor graphic() {
    return cached<Graphic>();
}
QCursor picture() {
    return cached<Picture>();
}
QCursor point() {
    return cached<Point>();
}
QCursor rotation() {
    return cached<Rotation>();
}

}  // namespace pemo::ProgramCursors
