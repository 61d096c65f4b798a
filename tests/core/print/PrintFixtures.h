#pragma once

#include <QBuffer>
#include <QImage>
#include <memory>
#include <utility>
#include <vector>

#include "core/document/CPatDoc.h"
#include "core/document/InfoRecord.h"

namespace pemo::test {

struct SignLayout {
    int widthMm;
    int heightMm;
    int copies;
};

// A document of records of the given sizes and copies, the first one current.
inline std::unique_ptr<CPatDoc> makeDocument(const std::vector<SignLayout>& signs) {
    auto doc = std::make_unique<CPatDoc>();
    for (const SignLayout& s : signs) {
        auto record = std::make_unique<InfoRecord>();
        record->resizePage(s.widthMm, s.heightMm);
        record->copies = s.copies;
        doc->records.push_back(std::move(record));
    }
    if (!doc->records.empty()) doc->records.front()->current = true;
    return doc;
}

// Gives a record a background of two colours: the top half `top`, the bottom half `bottom`.
inline void addTwoColourBackground(CPatDoc& doc, InfoRecord& record, QColor top, QColor bottom) {
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(bottom);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) picture.setPixelColor(x, y, top);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const QByteArray key = "bg" + QByteArray::number(doc.backgrounds.size());
    PictureDescription description;
    description.kind = PictureDescription::Background;
    description.name = key;
    description.extension = ".png";
    doc.backgrounds.addBytes(key, description, bytes);
    record.background.key = key;
    record.background.present = 1;
}

}  // namespace pemo::test
