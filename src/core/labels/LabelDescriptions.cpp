#include "LabelDescriptions.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtEndian>


namespace pemo {

namespace {

// The usual kinds of labels the catalogue's own translations leave out (keys in lower
// case).
const QHash<QString, QString>& commonKinds() {
    static const QHash<QString, QString> kinds = [] {
        const char* const pairs[][2] = {
            {"labels", "标签"},
            {"standard labels", "标准标签"},
            {"multipurpose labels", "多用途标签"},
            {"address labels", "地址标签"},
            {"return address labels", "回邮地址标签"},
            {"shipping labels", "物流标签"},
            {"mailing labels", "邮寄标签"},
            {"barcode labels", "条码标签"},
            {"identification labels", "识别标签"},
            {"name badges", "胸牌"},
            {"name plates", "名牌"},
            {"small name badge labels", "小胸牌标签"},
            {"business card size labels", "名片大小的标签"},
            {"full sheet labels", "整页标签"},
            {"full sheet labels with back slit", "整页标签（背面开缝）"},
            {"jar labels", "罐子标签"},
            {"candle labels", "蜡烛标签"},
            {"nutritional labels", "营养成分标签"},
            {"coffee and tea labels", "咖啡茶叶标签"},
            {"candy labels", "糖果标签"},
            {"pot labels", "花盆标签"},
            {"soap labels", "肥皂标签"},
            {"water bottle labels", "水瓶标签"},
            {"wine bottle labels", "酒瓶标签"},
            {"wine bottle label", "酒瓶标签"},
            {"beer bottle label", "啤酒瓶标签"},
            {"beer bottle labels", "啤酒瓶标签"},
            {"liquor bottle labels", "烈酒瓶标签"},
            {"oval bottle labels", "椭圆瓶标签"},
            {"jar label", "罐子标签"},
            {"lip balm labels", "润唇膏标签"},
            {"lip balm tube labels", "润唇膏管标签"},
            {"metal tin container labels", "铁罐标签"},
            {"bookplate labels", "藏书票标签"},
            {"library book labels", "图书标签"},
            {"classification labels", "分类标签"},
            {"file labels", "文件标签"},
            {"file folder labels", "文件夹标签"},
            {"arch file labels", "档案标签"},
            {"arch file inserts", "档案插页"},
            {"medical chart labels", "病历标签"},
            {"round labels", "圆形标签"},
            {"small round labels", "小圆形标签"},
            {"rectangular labels", "长方形标签"},
            {"square labels", "正方形标签"},
            {"elliptical labels", "椭圆标签"},
            {"round and rectangular labels", "圆形和长方形标签"},
            {"rounded rectangular labels", "圆角长方形标签"},
            {"trapezoid labels", "梯形标签"},
            {"triangular labels", "三角形标签"},
            {"seal labels", "封口标签"},
            {"target stickers", "靶纸贴"},
            {"paper hole reinforcement labels", "孔眼加固标签"},
            {"pvc labels", "PVC 标签"},
            {"photo labels", "照片标签"},
            {"passport photo labels", "证件照标签"},
            {"cd/dvd labels", "CD/DVD 光盘标签"},
            {"cd case labels", "CD 盒标签"},
            {"cd/dvd center hub labels", "CD/DVD 中心标签"},
            {"full face cd/dvd labels", "CD/DVD 满版标签"},
            {"mini cd labels", "小 CD 标签"},
            {"business card cd labels", "名片 CD 标签"},
            {"digital media labels", "数码介质标签"},
            {"digital video labels", "数码录像带标签"},
            {"sd card labels", "SD 卡标签"},
            {"floppy disk labels", "软盘标签"},
            {"zip disc labels", "Zip 盘标签"},
            {"vhs labels", "VHS 录像带标签"},
            {"vhs face labels", "VHS 录像带正面标签"},
            {"book labels", "图书标签"},
            {"business cards", "名片"},
            {"greeting cards", "贺卡"},
            {"flyer paper", "传单纸"},
            {"printable mousepad", "可打印鼠标垫"},
            {"self-adhesive film transparent", "透明自粘膜"},
            {"self-adhesive film weatherproof", "防水自粘膜"},
            {"self-adhesive window film", "自粘窗膜"},
            {"labels a3", "A3 标签"},
            {"labels sra3", "SRA3 标签"},
            {"vics labels", "VICS 标签"},
            {"usps® shipping labels", "USPS 物流标签"},
            {"ebay® shipping labels", "eBay 物流标签"},
            {"amazon fba shipping labels", "Amazon FBA 物流标签"},
            {"ups® worldship® labels", "UPS WorldShip 标签"},
        };
        QHash<QString, QString> table;
        for (const auto& [english, chinese] : pairs) table.insert(QString::fromUtf8(english), QString::fromUtf8(chinese));
        return table;
    }();
    return kinds;
}

}  // namespace

QString LabelDescriptions::translationFile(const QString& catalogueFolder) {
    if (catalogueFolder.isEmpty()) return {};
    const QString path = QDir(catalogueFolder).absoluteFilePath(QStringLiteral("../../locale/zh_CN/LC_MESSAGES/glabels-3.0.mo"));
    return QFile::exists(path) ? QDir::cleanPath(path) : QString();
}

void LabelDescriptions::loadTranslations(const QString& path) {
    if (path.isEmpty()) return;
    QFile file(path);
    // A message catalogue is small; a larger file is not one.
    if (file.size() < (8 << 20) && file.open(QIODevice::ReadOnly)) readMessages(file.readAll());
}

bool LabelDescriptions::readMessages(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 20) return false;
    const quint32 magic = qFromLittleEndian<quint32>(data);
    bool little = true;
    if (magic == 0xde120495u) {
        little = false;
    } else if (magic != 0x950412deu) {
        return false;
    }
    const auto word = [&](qsizetype at) -> quint32 {
        return little ? qFromLittleEndian<quint32>(data + at) : qFromBigEndian<quint32>(data + at);
    };
    const quint32 count = word(8);
    const quint32 originals = word(12);
    const quint32 translations = word(16);
    const auto tableFits = [&](quint32 table) { return quint64(table) + quint64(count) * 8 <= quint64(size); };
    if (!tableFits(originals) || !tableFits(translations)) return false;
    const auto text = [&](quint32 table, quint32 i, QString* out) {
        const quint32 length = word(qsizetype(table) + qsizetype(i) * 8);
        const quint32 offset = word(qsizetype(table) + qsizetype(i) * 8 + 4);
        if (quint64(offset) + length > quint64(size)) return false;
        *out = QString::fromUtf8(bytes.constData() + offset, qsizetype(length));
        return true;
    };
    QHash<QString, QString> messages;
    for (quint32 i = 0; i < count; ++i) {
        QString original;
        QString translation;
        if (!text(originals, i, &original) || !text(translations, i, &translation)) return false;
        // The header (an empty original), plural forms and messages with a context are
        // not descriptions.
        if (original.isEmpty() || original.contains(QChar(0)) || original.contains(QChar(4))) continue;
        if (!translation.isEmpty()) messages.insert(original.toLower(), translation);
    }
    messages_ = std::move(messages);
    return true;
}

QString LabelDescriptions::translatePart(const QString& part) const {
    const QString key = part.trimmed().toLower();
    if (const auto it = messages_.constFind(key); it != messages_.constEnd()) return *it;
    if (const auto it = commonKinds().constFind(key); it != commonKinds().constEnd()) return *it;
    return {};
}

QString LabelDescriptions::chinese(const QString& description) const {
    if (const QString whole = translatePart(description); !whole.isEmpty()) return whole;
    static const QRegularExpression separators(QStringLiteral(",\\s*"));
    const QStringList parts = description.split(separators, Qt::SkipEmptyParts);
    if (parts.size() < 2) return description;
    QStringList chinese;
    for (const QString& part : parts) {
        const QString translated = translatePart(part);
        if (translated.isEmpty()) return description;
        if (!chinese.contains(translated)) chinese << translated;
    }
    return chinese.join(QString::fromUtf8("、"));
}

}  // namespace pemo
