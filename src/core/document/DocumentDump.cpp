#include "DocumentDump.h"

#include <QJsonArray>

#include "CPatDoc.h"
#include "TemplateFile.h"
#include "core/codecs/Gbk.h"

namespace pemo::DocumentDump {

namespace {

QString text(const QByteArray& gbk) { return Gbk::toUnicode(gbk); }

QString hexKind(int32_t kind) {
    return QStringLiteral("0x%1").arg(uint32_t(kind), 8, 16, QLatin1Char('0')).toUpper().replace(
        QStringLiteral("0X"), QStringLiteral("0x"));
}

QJsonArray pictures(const PictureStore& store) {
    QJsonArray out;
    for (const auto& e : store.entries()) {
        const PictureDescription& d = e->description();
        out.append(QJsonObject{{"key", text(e->key())},
                               {"kind", d.kind},
                               {"category", text(d.category)},
                               {"name", text(d.name)},
                               {"extension", text(d.extension)},
                               {"width", d.width},
                               {"height", d.height},
                               {"bytes", double(e->fileBytes().size())}});
    }
    return out;
}

QJsonArray blocks(const BlockPtrList& list) {
    QJsonArray out;
    for (const auto& b : list) {
        QJsonObject o{{"kind", hexKind(b->kind)},
                      {"layer", b->layer},
                      {"frame", QJsonArray{b->frame.left, b->frame.top, b->frame.right,
                                           b->frame.bottom}}};
        const QByteArray plain = b->plainText();
        if (!plain.isNull()) o.insert("text", text(plain));
        const QByteArray key = b->pictureKey();
        if (!key.isEmpty()) o.insert("picture", text(key));
        out.append(o);
    }
    return out;
}

QJsonArray texts(const QList<QByteArray>& list) {
    QJsonArray out;
    for (const QByteArray& t : list) out.append(text(t));
    return out;
}

}  // namespace

QJsonObject document(const CPatDoc& doc, int version) {
    QJsonArray records;
    for (const auto& r : doc.records) {
        QJsonArray values;
        for (const QByteArray& v : r->values) values.append(text(v));
        records.append(QJsonObject{
            {"widthMm", r->widthMm},
            {"heightMm", r->heightMm},
            {"widthTw", r->widthTw},
            {"heightTw", r->heightTw},
            {"background", QJsonObject{{"key", text(r->background.key)},
                                       {"category", text(r->background.category)},
                                       {"name", text(r->background.name)},
                                       {"extension", text(r->background.extension)},
                                       {"templateName", text(r->background.templateName)},
                                       {"present", r->background.present}}},
            {"values", values},
            {"productPicture", text(r->productPicture)},
            {"blocks", blocks(r->blocks)},
        });
    }
    return QJsonObject{{"type", "document"},
                       {"version", version},
                       {"variableNames", texts(doc.variableNames.names())},
                       {"images", pictures(doc.images)},
                       {"backgrounds", pictures(doc.backgrounds)},
                       {"records", records}};
}

QJsonObject templateFile(const TemplateData& data) {
    return QJsonObject{
        {"type", "template"},
        {"version", data.version},
        {"widthMm", data.widthMm},
        {"heightMm", data.heightMm},
        {"widthTw", data.widthTw},
        {"heightTw", data.heightTw},
        {"background", QJsonObject{{"category", text(data.backgroundCategory)},
                                   {"name", text(data.backgroundName)},
                                   {"extension", text(data.backgroundExtension)},
                                   {"templateName", text(data.backgroundTemplateName)},
                                   {"bytes", double(data.backgroundBytes.size())}}},
        {"pictures", pictures(data.pictures)},
        {"blocks", blocks(data.blocks)},
    };
}

}  // namespace pemo::DocumentDump
