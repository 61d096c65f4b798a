#include "LibraryEdits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "LibraryFolders.h"
#include "LibraryItems.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Folders.h"

namespace pemo {

namespace LibraryEdits {

namespace {

const char* noun(What what) {
    return what == What::Background ? "底图" : "图片";
}

bool holdsForbiddenCharacter(const QString& name) {
    for (const QChar ch : name) {
        if (ch.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(ch))
            return true;
    }
    bool gbk = false;
    Gbk::fromUnicode(name, &gbk);
    return !gbk;
}

}  // namespace

QString nameProblem(What what, const QString& folder, const QString& name) {
    const QString n = QString::fromUtf8(noun(what));
    if (name.isEmpty())
        return QString::fromUtf8("请输入%1名称!").arg(n);
    if (name.contains(QLatin1Char('.')))
        return QString::fromUtf8("%1名称中不能含有'.'符号!").arg(n);
    if (holdsForbiddenCharacter(name) || name.trimmed() != name) {
        return QString::fromUtf8("%1名称中不能含有 \\ / : * ? \" < > | 等符号!").arg(n);
    }
    if (!LibraryFolders::filesNamed(folder, name).isEmpty()) {
        return QString::fromUtf8("相同名称的%1已存在, 请重新输入%1名称!").arg(n);
    }
    return {};
}

QString addFile(What what, const QString& source, const QString& folder, const QString& name,
                QString* target) {
    const QString path =
        folder + QLatin1Char('/') + name + QLatin1Char('.') + QFileInfo(source).suffix();
    if (target)
        *target = path;
    // The name was checked when it was typed; checked again here, as the copy must
    // never land outside the category.
    if (!nameProblem(what, folder, name).isEmpty() || QFileInfo::exists(path))
        return {};
    // A file the list would not show would only sit unseen in the library.
    if (!LibraryFolders::isAcceptedType(path))
        return {};
    if (!QFile::copy(source, path))
        return {};
    makeWritable(path);
    return path;
}

BackgroundDeletion planBackgroundDeletion(const QString& backgroundPath, const QString& name) {
    BackgroundDeletion plan;
    plan.picture = backgroundPath;
    plan.templateFolder = LibraryItems::templateFolder(backgroundPath);
    plan.templateFiles = LibraryFolders::filesStartingWith(plan.templateFolder, name);
    for (const QString& file : plan.templateFiles) {
        if (file.endsWith(QLatin1String(".vxt"), Qt::CaseInsensitive))
            ++plan.templateCount;
    }
    return plan;
}

QStringList deleteFiles(const QStringList& files) {
    QStringList failed;
    for (const QString& file : files) {
        if (!deleteFileForced(file))
            failed.append(file);
    }
    return failed;
}

QStringList deleteBackground(const BackgroundDeletion& plan) {
    const QStringList failed = deleteFiles(plan.files());
    // rmdir removes the folder only when nothing is left in it.
    if (QFileInfo(plan.templateFolder).isDir())
        QDir().rmdir(plan.templateFolder);
    return failed;
}

QStringList deleteTemplate(const QString& templatePath, const QString& previewPath) {
    QStringList files{templatePath};
    if (QFileInfo::exists(previewPath))
        files.append(previewPath);
    return deleteFiles(files);
}

QString notDeletedMessage(const QStringList& files) {
    return QString::fromUtf8("以下文件无法删除:\n") + files.join(QLatin1Char('\n'));
}

}  // namespace LibraryEdits

}  // namespace pemo
