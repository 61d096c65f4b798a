#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include "PictureTestSupport.h"
#include "core/codecs/PdfPictureSession.h"
#include "core/document/CPatDoc.h"
#include "core/platform/Folders.h"
#include "core/print/PdfOutput.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintMode.h"

using namespace pemo;
using namespace pemo::picturetest;

// Six signs, five showing one shared picture and all six the logo, one its own JPEG:
// the PDF holds three images, each at the picture's own size, the JPEG unchanged.
TEST(PicturePdf, EachDistinctPictureIsEmbeddedOnce) {
    registerPictureBlock();
    QTemporaryDir dir;
    const QString logoPath = programFolder() + "/PemLogo2.bmp";
    ASSERT_TRUE(filled(30, 20, Qt::darkGreen).save(logoPath, "BMP"));
    CPatDoc doc;
    const QByteArray shared =
        doc.images.add(describe(savePicture(dir, "s.png", filled(64, 48, Qt::red))));
    // A JPEG goes in as the file it is, with white as a colour-key mask.
    const QString jpeg = savePicture(dir, "o.jpg", filled(32, 32, Qt::blue));
    const QByteArray own = doc.images.add(describe(jpeg));
    for (int i = 0; i < 6; ++i) {
        InfoRecord& record = *doc.records.emplace_back(std::make_unique<InfoRecord>());
        auto picture = std::make_unique<PictureBlock>();
        picture->kind = BlockKind::InsertedPicture;
        picture->setPictureKey(i == 3 ? own : shared);
        picture->setRect({1000, 1000, 4000 + i * 100, 3000});
        record.appendBlock(std::move(picture));
        auto logo = std::make_unique<PictureBlock>();
        logo->kind = BlockKind::Logo2;
        logo->setRect({5000, 1000, 7000, 2000});
        record.appendBlock(std::move(logo));
    }
    doc.records[0]->current = true;
    PrintJob job(doc);
    PrintSettings settings;
    settings.mode = PrintMode::ByItemWithBackground;
    settings.sheetMm = PdfOutput::printableMm(QSizeF(210, 297));
    ASSERT_TRUE(job.prepare(settings));
    const QString path = dir.filePath("signs.pdf");
    ASSERT_TRUE(PdfOutput::write(job, path, QSizeF(210, 297), 600, nullptr));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_EQ(pdf.count("/Subtype /Image"), 3);
    EXPECT_EQ(pdf.count("/Width 64"), 1);
    EXPECT_EQ(pdf.count("/Width 32"), 1);
    EXPECT_EQ(pdf.count("/Width 30"), 1);
    QFile jpegFile(jpeg);
    ASSERT_TRUE(jpegFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.contains(jpegFile.readAll()));
    EXPECT_EQ(pdf.count("/Mask [255 255 255 255 255 255]"), 1);
    EXPECT_EQ(pdf.count("/Width 7919"), 0);  // no stand-in left
    // Decoded pictures are freed once the job is done with them.
    for (const auto& entry : doc.images.entries()) EXPECT_FALSE(entry->isDecoded());
    QFile::remove(logoPath);
}

TEST(PicturePdf, AnIncompletePdfIsRefused) {
    PdfPictureSession session;
    for (const QByteArray& pdf : {QByteArray("not a pdf"), QByteArray("%PDF-1.4\nstartxref\n999999 \n%%EOF\n"),
                                  QByteArray("%PDF-1.4\nxref\n0 40\nstartxref\n9 \n%%EOF\n")}) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString error;
        EXPECT_FALSE(session.finish(pdf, out, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}
