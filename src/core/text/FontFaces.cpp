#include "FontFaces.h"

#include <QFontDatabase>
#include <QHash>

#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

const QString kSansCjk = QStringLiteral("Noto Sans CJK SC");
const QString kSerifCjk = QStringLiteral("Noto Serif CJK SC");
const QString kKai = QStringLiteral("LXGW WenKai");
const QString kBrushKai = QStringLiteral("AR PL UKai CN");
const QString kMing = QStringLiteral("AR PL UMing CN");
const QString kDisplayHei = QStringLiteral("Smiley Sans");
const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");
const QString kMono = QStringLiteral("Liberation Mono");
const QString kHeavySans = QStringLiteral("Roboto");
const QString kCondensedSans = QStringLiteral("Roboto Condensed");
const QString kNarrowSans = QStringLiteral("Nimbus Sans Narrow");
const QString kGeometricSans = QStringLiteral("URW Gothic");
const QString kPalatino = QStringLiteral("P052");
const QString kSchoolbook = QStringLiteral("C059");
const QString kBookman = QStringLiteral("URW Bookman");

constexpr int kLight = QFont::Light;
constexpr int kRegular = QFont::Normal;
constexpr int kMedium = QFont::Medium;
constexpr int kSemiBold = QFont::DemiBold;
constexpr int kBold = QFont::Bold;
constexpr int kBlack = QFont::Black;

struct Entry {
    const char* name;  // UTF-8, compared without case
    const QString* family;
    bool cjk;
    int weight = kRegular;
    bool syntheticBold = false;
    bool listed = true;  // offered to the designer (aliases are not)
};

const Entry kTable[] = {
    // Song (Ming) faces
    {"宋体", &kSerifCjk, true},
    {"新宋体", &kSerifCjk, true},
    {"宋体-方正超大字符集", &kSerifCjk, true},
    {"华文宋体", &kSerifCjk, true},
    {"方正书宋_GBK", &kSerifCjk, true},
    {"华文中宋", &kSerifCjk, true, kSemiBold},
    {"方正小标宋_GBK", &kSerifCjk, true, kBold},
    {"方正大标宋_GBK", &kSerifCjk, true, kBlack},
    {"细明体", &kMing, true},
    {"新细明体", &kMing, true},
    {"仿宋", &kSerifCjk, true, kLight},
    {"仿宋_GB2312", &kSerifCjk, true, kLight},
    {"华文仿宋", &kSerifCjk, true, kLight},
    // Hei (sans) faces
    {"黑体", &kSansCjk, true, kMedium},
    {"微软雅黑", &kSansCjk, true},
    {"华文黑体", &kSansCjk, true},
    {"华文细黑", &kSansCjk, true, kLight},
    {"方正黑体_GBK", &kSansCjk, true, kMedium},
    {"方正兰亭黑_GBK", &kSansCjk, true},
    {"方正大黑_GBK", &kSansCjk, true, kBlack},
    {"方正粗黑宋简体", &kSansCjk, true, kBlack},
    {"方正综艺_GBK", &kSansCjk, true, kBlack},
    {"华文琥珀", &kSansCjk, true, kBlack},
    {"幼圆", &kSansCjk, true, kLight},
    {"华文彩云", &kDisplayHei, true, kRegular, true},
    {"方正姚体", &kDisplayHei, true, kRegular, true},
    {"方正超粗黑_GBK", &kSansCjk, true, kBlack},
    // Kai and brush faces
    {"楷体", &kKai, true},
    {"楷体_GB2312", &kKai, true},
    {"华文楷体", &kKai, true},
    {"方正楷体_GBK", &kKai, true},
    {"华文行楷", &kKai, true, kBold},
    {"方正舒体", &kKai, true, kLight},
    {"华文新魏", &kBrushKai, true, kBold, true},
    {"方正魏碑_GBK", &kBrushKai, true, kBold, true},
    {"隶书", &kSerifCjk, true, kBold},
    {"华文隶书", &kSerifCjk, true, kBold},
    // The Chinese faces' English names
    {"SimSun", &kSerifCjk, true, kRegular, false, false},
    {"NSimSun", &kSerifCjk, true, kRegular, false, false},
    {"STSong", &kSerifCjk, true, kRegular, false, false},
    {"STZhongsong", &kSerifCjk, true, kSemiBold, false, false},
    {"MingLiU", &kMing, true, kRegular, false, false},
    {"PMingLiU", &kMing, true, kRegular, false, false},
    {"FangSong", &kSerifCjk, true, kLight, false, false},
    {"FangSong_GB2312", &kSerifCjk, true, kLight, false, false},
    {"STFangsong", &kSerifCjk, true, kLight, false, false},
    {"SimHei", &kSansCjk, true, kMedium, false, false},
    {"Microsoft YaHei", &kSansCjk, true, kRegular, false, false},
    {"STHeiti", &kSansCjk, true, kRegular, false, false},
    {"STXihei", &kSansCjk, true, kLight, false, false},
    {"YouYuan", &kSansCjk, true, kLight, false, false},
    {"STCaiyun", &kDisplayHei, true, kRegular, true, false},
    {"STHupo", &kSansCjk, true, kBlack, false, false},
    {"FZYaoTi", &kDisplayHei, true, kRegular, true, false},
    {"KaiTi", &kKai, true, kRegular, false, false},
    {"KaiTi_GB2312", &kKai, true, kRegular, false, false},
    {"STKaiti", &kKai, true, kRegular, false, false},
    {"STXingkai", &kKai, true, kBold, false, false},
    {"FZShuTi", &kKai, true, kLight, false, false},
    {"STXinwei", &kBrushKai, true, kBold, true, false},
    {"LiSu", &kSerifCjk, true, kBold, false, false},
    {"STLiti", &kSerifCjk, true, kBold, false, false},
    // Western faces
    {"Arial", &kSans, false},
    {"Arial Black", &kHeavySans, false, kBlack},
    {"Arial Narrow", &kNarrowSans, false},
    {"Impact", &kCondensedSans, false, kBold},
    {"Helvetica", &kSans, false},
    {"Tahoma", &kSans, false},
    {"Verdana", &kSans, false},
    {"Microsoft Sans Serif", &kSans, false},
    {"MS Sans Serif", &kSans, false, kRegular, false, false},
    {"Segoe UI", &kSans, false},
    {"Calibri", &kSans, false},
    {"Comic Sans MS", &kSans, false},
    {"Century Gothic", &kGeometricSans, false},
    {"Times New Roman", &kSerif, false},
    {"Times", &kSerif, false, kRegular, false, false},
    {"Georgia", &kSerif, false},
    {"Cambria", &kSerif, false},
    {"Book Antiqua", &kPalatino, false},
    {"Palatino Linotype", &kPalatino, false},
    {"Century Schoolbook", &kSchoolbook, false},
    {"Bookman Old Style", &kBookman, false},
    {"Garamond", &kSerif, false},
    {"MS Serif", &kSerif, false, kRegular, false, false},
    {"Courier New", &kMono, false},
    {"Courier", &kMono, false, kRegular, false, false},
    {"Consolas", &kMono, false},
    {"Lucida Console", &kMono, false},
};

// A family the table maps onto, named as itself: its regular style.
const QString* const kTargets[] = {&kSansCjk, &kSerifCjk, &kKai, &kBrushKai, &kMing, &kDisplayHei,
                                   &kSans, &kSerif, &kMono, &kHeavySans, &kCondensedSans,
                                   &kNarrowSans, &kGeometricSans, &kPalatino, &kSchoolbook, &kBookman};

bool isCjkTarget(const QString& family) {
    return family == kSansCjk || family == kSerifCjk || family == kKai || family == kBrushKai ||
           family == kMing || family == kDisplayHei;
}

FontFaces::Face faceOf(const Entry& e) {
    return {*e.family, e.cjk, e.weight, e.syntheticBold};
}

QHash<QString, FontFaces::Face> buildTable() {
    QHash<QString, FontFaces::Face> table;
    for (const QString* f : kTargets) {
        const bool single = *f == kDisplayHei || *f == kBrushKai;  // one weight installed
        table.insert(f->toCaseFolded(), {*f, isCjkTarget(*f), kRegular, single});
    }
    for (const Entry& e : kTable) table.insert(QString::fromUtf8(e.name).toCaseFolded(), faceOf(e));
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

QList<FontFaces::Listed> FontFaces::designerFaces(bool chinese) {
    QList<Listed> out;
    for (const Entry& e : kTable) {
        if (e.cjk == chinese && e.listed)
            out.append({Gbk::fromUnicode(QString::fromUtf8(e.name)), faceOf(e)});
    }
    return out;
}

QList<QByteArray> FontFaces::names(bool chinese) {
    QList<QByteArray> out;
    for (const Listed& l : designerFaces(chinese)) out.append(l.name);
    return out;
}

int FontFaces::weightOf(const Face& face, bool bold) {
    // One step bolder among the weights families are installed in, so that bold picks
    // an installed style rather than an emboldened one where the family has it.
    if (!bold) return face.weight;
    if (face.weight < QFont::Normal) return QFont::Normal;
    return face.weight < QFont::DemiBold ? QFont::Bold : QFont::Black;
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
    // A face without the weight asked for is emboldened at every size (Qt stops doing so
    // above 64 pixels, which sign text always is at print resolutions).
    static const bool everySize = qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
    Q_UNUSED(everySize);
    const Face face = resolve(gbkName);
    QFont font;
    font.setFamilies({face.family, kSansCjk});
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(QFont::Weight(weightOf(face, bold)));
    font.setItalic(italic);
    font.setUnderline(false);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QStringList FontFaces::installedTargets() {
    QStringList out;
    for (const QString* f : kTargets) out.append(*f);
    return out;
}

}  // namespace pemo
