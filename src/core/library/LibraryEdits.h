#pragma once

#include <QString>
#include <QStringList>

namespace pemo {

// Adding pictures to the library and deleting backgrounds, templates and pictures.
// Nothing here asks the user; the panels ask first and then carry out a plan.
namespace LibraryEdits {

enum class What { Background, Picture };

// Why a name typed for a new background or picture cannot be used in a category
// folder: the message to show, or empty when it can. Checked in this order: empty,
// a ".", a character a file name cannot hold (separators, control characters,
// \ / : * ? " < > |, or one GBK cannot hold), a file of that name with any extension.
QString nameProblem(What what, const QString& folder, const QString& name);

// Copies source into folder as name.<source's extension>, never over an existing
// file. Returns the target path, or empty when the copy failed (its path is then in
// *target).
QString addFile(What what, const QString& source, const QString& folder, const QString& name,
                QString* target = nullptr);

// What deleting a background removes: the picture itself, then every file in its
// template folder whose name starts with the background's name.
struct BackgroundDeletion {
    QString picture;
    QString templateFolder;
    QStringList templateFiles;
    int templateCount = 0;  // the ".vxt" files among them
    QStringList files() const { return QStringList{picture} + templateFiles; }
};
BackgroundDeletion planBackgroundDeletion(const QString& backgroundPath, const QString& name);

// Deletes exactly the files given (read-only ones too); returns those that could not
// be deleted.
QStringList deleteFiles(const QStringList& files);
// Deletes a background as planned and removes its template folder when that is empty
// afterwards; returns the files that could not be deleted.
QStringList deleteBackground(const BackgroundDeletion& plan);
// A template file and its preview; returns the files that could not be deleted.
QStringList deleteTemplate(const QString& templatePath, const QString& previewPath);

// "以下文件无法删除:" and the files, one a line.
QString notDeletedMessage(const QStringList& files);

}  // namespace LibraryEdits

}  // namespace pemo
