#pragma once

// A library folder tree built in the test program's folder and removed again.
#include <QDir>
#include <QFile>
#include <QImage>

#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/TemplateFile.h"
#include "core/platform/Folders.h"

#include <ostream>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace pemo::test {

inline QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

inline void writePicture(const QString& path, QSize size = QSize(4, 3), QColor colour = Qt::red) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString suffix = QFileInfo(path).suffix().toLower();
    ASSERT_TRUE(image.save(path, suffix == "tif" ? "tiff" : suffix.toLatin1().constData()))
        << path.toStdString();
}

// An empty template page of w × h mm.
inline QByteArray templateBytes(int widthMm, int heightMm) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.front()->resizePage(widthMm, heightMm);
    return TemplateFile::write(*doc.records.front(), doc, Gbk::fromUnicode(u("促销")));
}

inline QString libraryPath(const char* relative) {
    return programFolder() + u("/底图模板/") + u(relative);
}

// Removes the library before and after each test.
class LibraryFolderTest : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear() {
        for (const char* folder : {"/底图模板", "/图库", "/贴图"})
            QDir(programFolder() + QString::fromUtf8(folder)).removeRecursively();
    }
};

}  // namespace pemo::test
