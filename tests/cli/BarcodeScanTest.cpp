// Reads the barcodes of our own output back with a real decoder (zbarimg): pictures at two
// resolutions and the PDF as poppler renders it, with the symbols level and turned a
// quarter, and the print check's word on a wrong EAN.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "RunPemo.h"
#include "core/barcodes/BarcodeStyle.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/text/RichText.h"

using namespace pemo;

namespace {

using S = BarcodeFace::Symbology;

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

// Twips of millimetres.
int32_t mm(double v) { return int32_t(v * 1440 / 25.4); }

const char* const kNumbers[] = {"690123456789", "6901234567892", "400638133393"};
// EAN-13 with the check digit the first and third lack.
const char* const kFullNumbers[] = {"6901234567892", "6901234567892", "4006381333931"};
const char* const kQrText = "佩墨标签 https://example.com/商品?id=42";
const char* const kCode128Text = "PEMO-128/abc";

struct Placed {
    int32_t kind;
    QByteArray text;
    S symbology;
    double left, top, width, height;  // mm
};

// A barcode block at its place; turned, it stands a quarter turn with its bounding box's
// top-left corner at (turnedLeft, 10 mm).
std::unique_ptr<TextBlock> barcodeBlock(const Placed& p, bool turned, double turnedLeft) {
    const TwipsRect frame{mm(p.left), mm(p.top), mm(p.left + p.width), mm(p.top + p.height)};
    auto block = TextBlock::create(p.kind, frame, p.text, true);
    BarcodeStyle::apply(*block->content(), p.symbology, true, true);
    if (turned) {
        block->rotateTowards(frame.left, frame.top + 1000);
        block->moveBy(mm(turnedLeft) - block->frame.left, mm(10) - block->frame.top);
    }
    return block;
}

// Three products on one template: each sign carries the product's EAN-13 from 变量2, a
// Code 128 and a QR code with Chinese text. Turned, every block stands a quarter turn.
QString writeSigns(const QTemporaryDir& dir, const QString& name, bool turned, const char* eanText = nullptr) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.clear();
    for (int i = 0; i < 3; ++i) {
        auto r = std::make_unique<InfoRecord>();
        r->resizePage(160, 160);
        r->copies = 1;
        r->setValue(1, eanText ? QByteArray(eanText) : QByteArray(kNumbers[i]));
        const Placed placed[] = {
            {BlockKind::FirstVariable + 1, r->value(1), S::Ean13, 10, 10, 60, 30},
            {BlockKind::FixedText, kCode128Text, S::Code128, 10, 50, 80, 25},
            {BlockKind::FixedText, gbk(kQrText), S::Qr, 10, 100, 45, 45},
        };
        const double turnedLeft[] = {10, 50, 85};
        for (int b = 0; b < 3; ++b) r->appendBlock(barcodeBlock(placed[b], turned, turnedLeft[b]));
        doc.records.push_back(std::move(r));
    }
    doc.records.front()->current = true;
    const QString path = dir.filePath(name);
    DocumentFile::save(doc, path);
    return path;
}

QString tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

// Every symbol zbarimg finds in the picture, as "TYPE:data", sorted.
QStringList scan(const QString& picture) {
    QProcess zbar;
    zbar.start(tool("zbarimg"), {"-q", picture});
    zbar.waitForFinished(60000);
    QStringList found = QString::fromUtf8(zbar.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    found.sort();
    return found;
}

QStringList expected(int record) {
    QStringList out = {QString::fromUtf8("CODE-128:") + QString::fromUtf8(kCode128Text),
                       QString::fromUtf8("EAN-13:") + QString::fromUtf8(kFullNumbers[record]),
                       QString::fromUtf8("QR-Code:") + QString::fromUtf8(kQrText)};
    out.sort();
    return out;
}

class BarcodeScan : public ::testing::Test {
protected:
    void SetUp() override {
        if (tool("zbarimg").isEmpty() || tool("pdftoppm").isEmpty())
            GTEST_SKIP() << "zbarimg (zbar-tools) and pdftoppm (poppler-utils) are needed";
    }
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(BarcodeScan, PicturesAtTwoResolutionsReadBack) {
    for (const bool turned : {false, true}) {
        const QString signs = writeSigns(dir_, turned ? "turned.vxq" : "level.vxq", turned);
        for (int record = 0; record < 3; ++record) {
            for (const int dpi : {150, 300}) {
                SCOPED_TRACE(QString("turned %1, record %2, %3 dpi").arg(turned).arg(record + 1).arg(dpi).toStdString());
                const QString png = dir_.filePath(QString("sign-%1-%2-%3.png").arg(turned).arg(record).arg(dpi));
                const test::PemoRun run = test::runPemo(
                    {"--export", png, signs, "--record", QString::number(record + 1), "--dpi", QString::number(dpi)},
                    dir_.path());
                ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
                EXPECT_EQ(scan(png), expected(record));
            }
        }
    }
}

TEST_F(BarcodeScan, ThePdfReadsBackAsPopplerRendersIt) {
    for (const bool turned : {false, true}) {
        SCOPED_TRACE(turned ? "turned" : "level");
        const QString signs = writeSigns(dir_, turned ? "turned.vxq" : "level.vxq", turned);
        const QString pdf = dir_.filePath(turned ? "turned.pdf" : "level.pdf");
        const test::PemoRun run = test::runPemo({"--export", pdf, signs}, dir_.path());
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString prefix = dir_.filePath(turned ? "turned-page" : "level-page");
        QProcess poppler;
        poppler.start(tool("pdftoppm"), {"-r", "200", "-png", pdf, prefix});
        ASSERT_TRUE(poppler.waitForFinished(60000));
        QStringList pages = QDir(dir_.path()).entryList({QFileInfo(prefix).fileName() + "*.png"}, QDir::Files, QDir::Name);
        ASSERT_EQ(pages.size(), 3);
        for (int record = 0; record < 3; ++record) {
            EXPECT_EQ(scan(dir_.filePath(pages[record])), expected(record)) << pages[record].toStdString();
        }
    }
}

TEST_F(BarcodeScan, AWrongCheckDigitIsAFindingAndNoSymbol) {
    const QString signs = writeSigns(dir_, QStringLiteral("wrong.vxq"), false, "6901234567893");
    const test::PemoRun check = test::runPemo({"--check", signs}, dir_.path());
    EXPECT_EQ(check.exitCode, 3);
    const QString out = QString::fromUtf8(check.out);
    EXPECT_EQ(out.count(QLatin1Char('\n')), 3) << out.toStdString();
    EXPECT_EQ(out.count(QString::fromUtf8("条码无效（校验位应为 2）")), 3) << out.toStdString();
    // The sign shows the frame in its place: the decoder finds the other two symbols only.
    const QString png = dir_.filePath(QStringLiteral("wrong.png"));
    ASSERT_EQ(test::runPemo({"--export", png, signs}, dir_.path()).exitCode, 0);
    const QStringList found = scan(png);
    EXPECT_EQ(found.size(), 2) << found.join(' ').toStdString();
    for (const QString& symbol : found) EXPECT_FALSE(symbol.startsWith("EAN")) << symbol.toStdString();
}
