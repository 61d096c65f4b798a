#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace pemo {

// The face names the font boxes offer (GBK). The Chinese list gives the names of the face
// table first (宋体, 黑体, 楷体_GB2312 …, each resolving to an installed face) and then the
// installed families that write Simplified Chinese; the Western list gives the table's
// Western names and the installed Latin families in ascending byte order. Neither lists
// a vertical "@" face nor a name twice, and a Chinese family is not offered as Western.
namespace FontChoices {

QList<QByteArray> chinese();
QList<QByteArray> western();

// The same from given inputs: the table's names and the installed families.
QList<QByteArray> chineseFrom(const QList<QByteArray>& tableNames, const QStringList& cjkFamilies);
QList<QByteArray> westernFrom(const QList<QByteArray>& tableNames, const QStringList& latinFamilies,
                              const QStringList& cjkFamilies);

}  // namespace FontChoices

}  // namespace pemo
