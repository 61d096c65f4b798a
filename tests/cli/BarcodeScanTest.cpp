// Reads the barcodes of our own output back with real decoders (zbarimg, and dmtxread for
// DataMatrix, which zbar does not read): every symbology, in pictures at the label
// printers' 203 dpi and 300 dpi and in the PDF as poppler renders it, with the symbols
// level and turned a quarter; and the print check's word on a wrong EAN. A decoder that
// is missing fails the tests (scripts/setup.sh installs them).
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
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
// As the block shows it: typing holds ":" and "?" in their full-width forms, and a matrix
// code carries the text as shown.
const char* const kQrText = "佩墨标签 https：//example.com/商品？id=42";
const char* const kDataMatrixText = "佩墨 DM 6901234567892";
const char* const kCode128Text = "PEMO-128/abc";
const char* const kCode39Text = "PEMO-39";

struct Placed {
    int32_t kind;
    QByteArray text;
    S symbology;
    double left, top, width, height;  // mm
    double turnedLeft, turnedTop;     // where the turned block's bounding box starts
};

// A barcode block at its place; turned, it stands a quarter turn with its bounding box's
// top-left corner at (turnedLeft, turnedTop).
std::unique_ptr<TextBlock> barcodeBlock(const Placed& p, bool turned) {
    const TwipsRect frame{mm(p.left), mm(p.top), mm(p.left + p.width), mm(p.top + p.height)};
    auto block = TextBlock::create(p.kind, frame, p.text, true);
    BarcodeStyle::apply(*block->content(), p.symbology, true, true);
    if (turned) {
        block->rotateTowards(frame.left, frame.top + 1000);
        block->moveBy(mm(p.turnedLeft) - block->frame.left, mm(p.turnedTop) - block->frame.top);
    }
    return block;
}

// Three products on one template: each sign carries the product's EAN-13 from 变量2 and
// a symbol of every other symbology (QR and DataMatrix with Chinese text), each a little
// above its smallest size. Turned, every block stands a quarter turn.
QString writeSigns(const QTemporaryDir& dir, const QString& name, bool turned, const char* eanText = nullptr) {
    CPatDoc doc;
    doc.newDocument();
    doc.records.clear();
    for (int i = 0; i < 3; ++i) {
        auto r = std::make_unique<InfoRecord>();
        r->resizePage(220, 190);
        r->copies = 1;
        r->setValue(1, eanText ? QByteArray(eanText) : QByteArray(kNumbers[i]));
        const Placed placed[] = {
            {BlockKind::FirstVariable + 1, r->value(1), S::Ean13, 10, 10, 40, 28, 10, 10},
            {BlockKind::FixedText, "9638507", S::Ean8, 60, 10, 30, 24, 45, 10},
            {BlockKind::FixedText, "03600029145", S::UpcA, 100, 10, 40, 28, 75, 10},
            {BlockKind::FixedText, kCode128Text, S::Code128, 10, 50, 60, 14, 110, 10},
            {BlockKind::FixedText, kCode39Text, S::Code39, 80, 50, 70, 16, 130, 10},
            {BlockKind::FixedText, "1540014128876", S::Itf14, 10, 75, 100, 46, 150, 10},
            {BlockKind::FixedText, gbk(kQrText), S::Qr, 10, 130, 40, 40, 10, 120},
            {BlockKind::FixedText, gbk(kDataMatrixText), S::DataMatrix, 70, 130, 25, 25, 65, 120},
        };
        for (const Placed& p : placed) r->appendBlock(barcodeBlock(p, turned));
        doc.records.push_back(std::move(r));
    }
    doc.records.front()->current = true;
    const QString path = dir.filePath(name);
    DocumentFile::save(doc, path);
    return path;
}

QString tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

QStringList lines(QProcess& process) {
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Every symbol the decoders find in the picture, as "TYPE:data", sorted.
QStringList scan(const QString& picture) {
    QProcess zbar;
    zbar.start(tool("zbarimg"), {"-q", "-Supca.enable", "-Sean13.enable", picture});
    zbar.waitForFinished(60000);
    QStringList found = lines(zbar);
    QProcess dmtx;
    dmtx.start(tool("dmtxread"), {"-n", "-N1", "-m", "60000", picture});
    dmtx.waitForFinished(90000);
    // dmtxread knows no ECI: it hands the ECI codeword on as a control character.
    static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f]"));
    for (QString text : lines(dmtx)) found << QStringLiteral("DataMatrix:") + text.remove(control);
    found.sort();
    return found;
}

// The lists as one line each, to read in a failure.
std::string both(const QStringList& found, const QStringList& wanted) {
    return ("found  " + found.join(QStringLiteral(" | ")) + "\nwanted " + wanted.join(QStringLiteral(" | "))).toStdString();
}

QStringList expected(int record) {
    QStringList out = {QStringLiteral("CODE-128:") + QString::fromUtf8(kCode128Text),
                       QStringLiteral("CODE-39:") + QString::fromUtf8(kCode39Text),
                       QStringLiteral("EAN-13:") + QString::fromUtf8(kFullNumbers[record]),
                       QStringLiteral("EAN-8:96385074"),
                       QStringLiteral("UPC-A:036000291452"),
                       QStringLiteral("I2/5:15400141288763"),
                       QStringLiteral("QR-Code:") + QString::fromUtf8(kQrText),
                       QStringLiteral("DataMatrix:") + QString::fromUtf8(kDataMatrixText)};
    out.sort();
    return out;
}

class BarcodeScan : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"zbarimg", "dmtxread", "pdftoppm"}) {
            ASSERT_FALSE(tool(name).isEmpty())
                << name << " is missing: scripts/setup.sh installs it (zbar-tools, dmtx-utils, poppler-utils)";
        }
    }
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(BarcodeScan, PicturesAtTwoResolutionsReadBack) {
    for (const bool turned : {false, true}) {
        const QString signs = writeSigns(dir_, turned ? "turned.vxq" : "level.vxq", turned);
        for (int record = 0; record < 3; ++record) {
            for (const int dpi : {203, 300}) {
                SCOPED_TRACE(QString("turned %1, record %2, %3 dpi").arg(turned).arg(record + 1).arg(dpi).toStdString());
                const QString png = dir_.filePath(QString("sign-%1-%2-%3.png").arg(turned).arg(record).arg(dpi));
                const test::PemoRun run = test::runPemo(
                    {"--export", png, signs, "--record", QString::number(record + 1), "--dpi", QString::number(dpi)},
                    dir_.path());
                ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
                const QStringList found = scan(png);
                EXPECT_EQ(found, expected(record)) << both(found, expected(record));
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
            const QStringList found = scan(dir_.filePath(pages[record]));
            EXPECT_EQ(found, expected(record)) << pages[record].toStdString() << "\n" << both(found, expected(record));
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
    // The sign shows the frame in its place: the decoders find the other symbols only.
    const QString png = dir_.filePath(QStringLiteral("wrong.png"));
    ASSERT_EQ(test::runPemo({"--export", png, signs}, dir_.path()).exitCode, 0);
    const QStringList found = scan(png);
    EXPECT_EQ(found.size(), 7) << found.join(' ').toStdString();
    for (const QString& symbol : found) EXPECT_FALSE(symbol.startsWith("EAN-13")) << symbol.toStdString();
}

// Without the barcode library nothing can be encoded: the check says so once for the job,
// not as bad content on each of the 24 blocks, and the signs show the frame saying so.
TEST_F(BarcodeScan, AMissingLibraryIsSaidOnce) {
    const QString signs = writeSigns(dir_, QStringLiteral("nolibrary.vxq"), false);
    const QList<std::pair<QString, QString>> noLibrary = {{"PEMO_ZINT_LIBRARY", dir_.filePath("libzint.so.2.11")}};
    const test::PemoRun check = test::runPemo({"--check", signs}, dir_.path(), noLibrary);
    EXPECT_EQ(check.exitCode, 3);
    const QString out = QString::fromUtf8(check.out);
    EXPECT_EQ(out.count(QLatin1Char('\n')), 1) << out.toStdString();
    EXPECT_EQ(out.count(QString::fromUtf8("条码库没有安装")), 1) << out.toStdString();
    EXPECT_FALSE(out.contains(QString::fromUtf8("条码无效"))) << out.toStdString();
    // With the library the same signs are fine.
    EXPECT_EQ(test::runPemo({"--check", signs}, dir_.path()).exitCode, 0);
}
