#include "ProgramPictures.h"

#include <QDateTime>
#include <QFileInfo>
#include <array>

#include "core/codecs/Picture.h"
#include "core/platform/Folders.h"

namespace pemo::ProgramPictures {

namespace {

// What a cached picture was loaded from; a change of any part loads it again.
struct Source {
    QString path;
    QDateTime modified;
    qint64 size = -1;
    bool operator==(const Source&) const = default;
};

struct Cached {
    std::array<Source, 2> sources;  // the .wmf and the .bmp, as last seen
    Picture picture;
    bool valid = false;
};

Source sourceOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return {path, QDateTime(), -1};
    return {path, info.lastModified(), info.size()};
}

}  // namespace

QString baseName(Which which) {
    switch (which) {
        case Which::Logo1: return QStringLiteral("PemLogo1");
        case Which::Logo2: return QStringLiteral("PemLogo2");
        case Which::Product: break;
    }
    return QStringLiteral("PemProd");
}

const Picture* picture(Which which) {
    static std::array<Cached, 3> cache;
    Cached& c = cache[static_cast<size_t>(which)];
    const QString base = programFolder() + u'/' + baseName(which);
    const std::array<Source, 2> now = {sourceOf(base + QStringLiteral(".wmf")),
                                       sourceOf(base + QStringLiteral(".bmp"))};
    if (!c.valid || c.sources != now) {
        // Chosen by whether the file loads, not by whether it exists.
        c.picture = Picture();
        for (const Source& s : now) {
            if (s.size < 0) continue;
            c.picture = Picture::fromFile(s.path);
            if (!c.picture.isNull()) break;
        }
        c.sources = now;
        c.valid = true;
    }
    return c.picture.isNull() ? nullptr : &c.picture;
}

}  // namespace pemo::ProgramPictures
