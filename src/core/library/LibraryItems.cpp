#include "LibraryItems.h"

#include <QFileInfo>
#include <QImageReader>

#include "LibraryFolders.h"
#include "core/codecs/Gbk.h"
#include "core/codecs/Picture.h"
#include "core/document/TemplateFile.h"

namespace pemo {

namespace {

QString sizeCaption(const PictureDescription& d) {
    return QStringLiteral("%1(%2x%3)").arg(Gbk::toUnicode(d.name)).arg(d.width).arg(d.height);
}

QVector<PictureItem> picturesIn(const QString& folder, PictureDescription::Kind kind,
                                const QString& category) {
    QVector<PictureItem> items;
    for (const QFileInfo& f : LibraryFolders::pictureFiles(folder)) {
        const QString path = f.absoluteFilePath();
        items.append({LibraryItems::describe(path, kind, category, LibraryFolders::entryName(f.fileName()),
                                             LibraryItems::Measure::HeaderOnly),
                      !LibraryItems::sizeNeedsDecoding(path)});
    }
    return items;
}

}  // namespace

QString BackgroundItem::caption() const {
    return sizeCaption(description);
}
QString PictureItem::caption() const {
    return sizeCaption(description);
}

QString TemplateItem::caption() const {
    static const struct {
        int w, h;
        const char* tag;
    } tags[] = {{190, 280, "(A4)"},
                {280, 400, "(A3)"},
                {400, 580, "(A2)"},
                {580, 820, "(A1)"},
                {820, 1170, "(A0)"}};
    QString tag = QStringLiteral("(%1x%2)").arg(widthMm).arg(heightMm);
    for (const auto& t : tags) {
        if (t.w == widthMm && t.h == heightMm)
            tag = QString::fromLatin1(t.tag);
    }
    return QStringLiteral("%1-%2%3").arg(Gbk::toUnicode(background.name), templateName, tag);
}

namespace LibraryItems {

bool sizeNeedsDecoding(const QString& path) {
    // Metafiles, PCX and TGA go through the picture layer; the others have headers
    // Qt's readers can read without decoding.
    const QString type = path.right(4).toLower();
    return type == QLatin1String(".wmf") || type == QLatin1String(".emf") ||
           type == QLatin1String(".pcx") || type == QLatin1String(".tga");
}

PictureDescription describe(const QString& path, PictureDescription::Kind kind,
                            const QString& category, const QString& name, Measure how) {
    PictureDescription d;
    const QFileInfo info(path);
    d.kind = kind;
    d.category = Gbk::fromUnicode(category);
    d.name = Gbk::fromUnicode(name);
    d.extension = Gbk::fromUnicode(path.right(4));
    d.modificationTime = info.lastModified();
    d.fileSize = info.size();
    d.filePath = path;
    QSize size;
    if (!sizeNeedsDecoding(path)) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        size = reader.size();
    }
    if ((!size.isValid() || size.isEmpty()) && how == Measure::Whole)
        size = Picture::fromFile(path).size();
    if (size.isValid() && !size.isEmpty()) {
        d.width = size.width();
        d.height = size.height();
    }
    return d;
}

void takeSize(PictureDescription& d, QSize size) {
    d.width = size.isValid() && !size.isEmpty() ? size.width() : 0;
    d.height = size.isValid() && !size.isEmpty() ? size.height() : 0;
}

QVector<BackgroundItem> backgrounds(const QString& category) {
    QVector<BackgroundItem> items;
    const QString folder = LibraryFolders::backgroundRoot() + QLatin1Char('/') + category;
    for (const QFileInfo& f : LibraryFolders::pictureFiles(folder)) {
        const QString path = f.absoluteFilePath();
        items.append({describe(path, PictureDescription::Background, category,
                               LibraryFolders::entryName(f.fileName()), Measure::HeaderOnly),
                      !sizeNeedsDecoding(path)});
    }
    return items;
}

QString templateFolder(const QString& backgroundPath) {
    const int dot = int(backgroundPath.lastIndexOf(QLatin1Char('.')));
    return (dot < 0 ? backgroundPath : backgroundPath.left(dot)) + QStringLiteral("-TMPL");
}

QVector<TemplateItem> templates(const BackgroundItem& background) {
    QVector<TemplateItem> items;
    if (!LibraryFolders::isAcceptedType(background.path()))
        return items;
    const QString folder = templateFolder(background.path());
    QStringList files;
    for (const QString& path : LibraryFolders::filesStartingWith(folder, QString(), ".vxt")) {
        files.append(QFileInfo(path).fileName());
    }
    LibraryFolders::sortNames(files);
    for (const QString& file : files) {
        TemplateItem item;
        item.background = background.description;
        item.templatePath = folder + QLatin1Char('/') + file;
        const QString base = file.left(file.size() - 4);
        const int dash = int(base.lastIndexOf(QLatin1Char('-')));
        if (dash < 1)
            continue;
        item.templateName = base.mid(dash + 1);
        item.previewPath = item.templatePath.left(item.templatePath.size() - 3) + "bmp";
        if (!QFileInfo(item.previewPath).isFile())
            continue;
        const auto size = TemplateFile::readPageSize(item.templatePath);
        if (!size)
            continue;
        item.widthMm = size->width();
        item.heightMm = size->height();
        items.append(item);
    }
    return items;
}

QVector<PictureItem> pictures(const QString& category) {
    return picturesIn(LibraryFolders::pictureRoot() + QLatin1Char('/') + category,
                      PictureDescription::LibraryPicture, category);
}

QVector<PictureItem> textures() {
    return picturesIn(LibraryFolders::textureRoot(), PictureDescription::Kind(3), QString());
}

}  // namespace LibraryItems

}  // namespace pemo
