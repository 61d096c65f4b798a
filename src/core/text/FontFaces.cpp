#include "FontFaces.h"

#include <QFontDatabase>
#include <QHash>

#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

const QString kSansCjk = QStringLiteral("Noto Sans CJK SC");
const QString kSerifCjk = QStringLiteral("Noto Serif CJK SC");
const QString kKai = QStringLiteral("AR PL UKai CN");
const QString kMing = QStringLiteral("AR PL UMing CN");
const QString kMicroHei = QStringLiteral("WenQuanYi Micro Hei");
const QString kZenHei = QStringLiteral("WenQuanYi Zen Hei");
const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");
const QString kMono = QStringLiteral("Liberation Mono");

struct Entry {
    const char* name;  // UTF-8, compared without case
    const QString* family;
    bool cjk;
};

const Entry kTable[] = {
    // Song (Ming) faces
    {"宋体", &kSerifCjk, true},
    {"SimSun", &kSerifCjk, true},
    {"新宋体", &kSerifCjk, true},
    {"NSimSun", &kSerifCjk, true},
    {"宋体-方正超大字符集", &kSerifCjk, true},
    {"华文宋体", &kSerifCjk, true},
    {"STSong", &kSerifCjk, true},
    {"华文中宋", &kSerifCjk, true},
    {"STZhongsong", &kSerifCjk, true},
    {"方正书宋_GBK", &kSerifCjk, true},
    {"细明体", &kMing, true},
    {"新细明体", &kMing, true},
    {"MingLiU", &kMing, true},
    {"PMingLiU", &kMing, true},
    {"仿宋", &kMing, true},
    {"仿宋_GB2312", &kMing, true},
    {"FangSong", &kMing, true},
    {"FangSong_GB2312", &kMing, true},
    {"华文仿宋", &kMing, true},
    {"STFangsong", &kMing, true},
    // Hei (sans) faces
    {"黑体", &kSansCjk, true},
    {"SimHei", &kSansCjk, true},
    {"微软雅黑", &kSansCjk, true},
    {"Microsoft YaHei", &kSansCjk, true},
    {"华文黑体", &kSansCjk, true},
    {"STHeiti", &kSansCjk, true},
    {"华文细黑", &kMicroHei, true},
    {"STXihei", &kMicroHei, true},
    {"方正黑体_GBK", &kSansCjk, true},
    {"幼圆", &kMicroHei, true},
    {"YouYuan", &kMicroHei, true},
    {"华文彩云", &kZenHei, true},
    {"华文琥珀", &kZenHei, true},
    {"方正姚体", &kZenHei, true},
    // Kai and brush faces
    {"楷体", &kKai, true},
    {"楷体_GB2312", &kKai, true},
    {"KaiTi", &kKai, true},
    {"KaiTi_GB2312", &kKai, true},
    {"华文楷体", &kKai, true},
    {"STKaiti", &kKai, true},
    {"隶书", &kKai, true},
    {"LiSu", &kKai, true},
    {"华文隶书", &kKai, true},
    {"STLiti", &kKai, true},
    {"华文行楷", &kKai, true},
    {"STXingkai", &kKai, true},
    {"华文新魏", &kKai, true},
    {"STXinwei", &kKai, true},
    {"方正舒体", &kKai, true},
    {"FZShuTi", &kKai, true},
    // Western faces
    {"Arial", &kSans, false},
    {"Arial Black", &kSans, false},
    {"Arial Narrow", &kSans, false},
    {"Helvetica", &kSans, false},
    {"Tahoma", &kSans, false},
    {"Verdana", &kSans, false},
    {"Microsoft Sans Serif", &kSans, false},
    {"MS Sans Serif", &kSans, false},
    {"Segoe UI", &kSans, false},
    {"Calibri", &kSans, false},
    {"Impact", &kSans, false},
    {"Comic Sans MS", &kSans, false},
    {"Century Gothic", &kSans, false},
    {"Times New Roman", &kSerif, false},
    {"Times", &kSerif, false},
    {"Georgia", &kSerif, false},
    {"Cambria", &kSerif, false},
    {"Book Antiqua", &kSerif, false},
    {"Garamond", &kSerif, false},
    {"MS Serif", &kSerif, false},
    {"Courier New", &kMono, false},
    {"Courier", &kMono, false},
    {"Consolas", &kMono, false},
    {"Lucida Console", &kMono, false},
};

QHash<QString, FontFaces::Face> buildTable() {
    QHash<QString, FontFaces::Face> table;
    for (const Entry& e : kTable)
        table.insert(QString::fromUtf8(e.name).toCaseFolded(), {*e.family, e.cjk});
    const QString cjkTargets[] = {kSansCjk, kSerifCjk, kKai, kMing, kMicroHei, kZenHei};
    for (const QString& f : cjkTargets)
        table.insert(f.toCaseFolded(), {f, true});
    const QString westernTargets[] = {kSans, kSerif, kMono};
    for (const QString& f : westernTargets)
        table.insert(f.toCaseFolded(), {f, false});
    return table;
}

bool hasNonAscii(const QByteArray& bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

}  // namespace

QList<QByteArray> FontFaces::names(bool chinese) {
    QList<QByteArray> out;
    for (const Entry& e : kTable) {
        const QByteArray utf8(e.name);
        if (e.cjk == chinese && (!chinese || hasNonAscii(utf8))) {
            out.append(Gbk::fromUnicode(QString::fromUtf8(utf8)));
        }
    }
    return out;
}

FontFaces::Face FontFaces::resolve(const QByteArray& gbkName) {
    static const QHash<QString, Face> table = buildTable();
    static QHash<QByteArray, Face> resolved;
    auto cached = resolved.constFind(gbkName);
    if (cached != resolved.constEnd())
        return *cached;

    const QString name = Gbk::toUnicode(gbkName).trimmed();
    Face face;
    auto it = table.constFind(name.toCaseFolded());
    if (it != table.constEnd()) {
        face = *it;
    } else if (hasNonAscii(gbkName) || name.startsWith(QLatin1Char('@'))) {
        // An unknown Chinese face (or a vertical '@' face) still draws with a Chinese face.
        face = {kSansCjk, true};
    } else if (QFontDatabase::families().contains(name, Qt::CaseInsensitive)) {
        face = {name, false};
    } else {
        face = {kSans, false};
    }
    resolved.insert(gbkName, face);
    return face;
}

QFont FontFaces::font(const QByteArray& gbkName, int pixelSize, bool bold, bool italic) {
    const Face face = resolve(gbkName);
    QFont font;
    font.setFamilies({face.family, kSansCjk});
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(false);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QStringList FontFaces::installedTargets() {
    return {kSansCjk, kSerifCjk, kKai, kMing, kMicroHei, kZenHei, kSans, kSerif, kMono};
}

}  // namespace pemo
