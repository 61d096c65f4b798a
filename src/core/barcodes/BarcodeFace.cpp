#include "BarcodeFace.h"

#include "core/codecs/Gbk.h"

namespace pemo {

namespace {

using S = BarcodeFace::Symbology;

struct Entry {
    S symbology;
    const char* name;
};

const Entry kFaces[] = {
    {S::Ean13, "条码 EAN-13"},   {S::Ean8, "条码 EAN-8"},     {S::UpcA, "条码 UPC-A"},
    {S::Code128, "条码 Code 128"}, {S::Code39, "条码 Code 39"}, {S::Itf14, "条码 ITF-14"},
    {S::Qr, "二维码 QR"},         {S::DataMatrix, "二维码 DataMatrix"},
};

// The face names in GBK, in the order of kFaces.
const QList<QByteArray>& storedNames() {
    static const QList<QByteArray> names = [] {
        QList<QByteArray> out;
        for (const Entry& e : kFaces) out.append(Gbk::fromUnicode(QString::fromUtf8(e.name)));
        return out;
    }();
    return names;
}

}  // namespace

std::optional<S> BarcodeFace::fromFaceName(const QByteArray& gbkName) {
    // Every barcode face begins with 条码 or 二维码; real faces are answered without a lookup.
    static const QByteArray bar = Gbk::fromUnicode(QString::fromUtf8("条码 "));
    static const QByteArray matrix = Gbk::fromUnicode(QString::fromUtf8("二维码 "));
    if (!gbkName.startsWith(bar) && !gbkName.startsWith(matrix)) return std::nullopt;
    const QList<QByteArray>& names = storedNames();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (gbkName == names[i]) return kFaces[i].symbology;
    }
    return std::nullopt;
}

QString BarcodeFace::name(S symbology) {
    for (const Entry& e : kFaces) {
        if (e.symbology == symbology) return QString::fromUtf8(e.name);
    }
    return {};
}

QByteArray BarcodeFace::gbkName(S symbology) {
    for (qsizetype i = 0; i < storedNames().size(); ++i) {
        if (kFaces[i].symbology == symbology) return storedNames()[i];
    }
    return {};
}

QList<S> BarcodeFace::all() {
    QList<S> out;
    for (const Entry& e : kFaces) out.append(e.symbology);
    return out;
}

QList<QByteArray> BarcodeFace::gbkNames() {
    return storedNames();
}

bool BarcodeFace::isMatrix(S symbology) { return symbology == S::Qr || symbology == S::DataMatrix; }

bool BarcodeFace::isNumeric(S symbology) {
    return symbology == S::Ean13 || symbology == S::Ean8 || symbology == S::UpcA || symbology == S::Itf14;
}

}  // namespace pemo
