#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <zlib.h>

#include "PrintFixtures.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/codecs/Gbk.h"
#include "core/print/PdfOutput.h"
#include "core/print/PdfTextRepair.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintTable.h"
#include "core/text/RichText.h"

namespace pemo {

using test::makeDocument;

namespace {

QString pdfText(const QString& path, int page) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                                QString::number(page), path, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
}

// Ideographs that CJK faces draw with the glyph of a radical or a stroke, as typed in
// GBK: the characters the Kangxi radicals decompose to.
QString radicalIdeographs() {
    QString out;
    for (char32_t c = 0x2F00; c <= 0x2FD5; ++c) {
        const QString ideograph = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KC);
        bool ok = false;
        Gbk::fromUnicode(ideograph, &ok);
        if (ok) out += ideograph;
    }
    return out;
}

// The texts of the sample's records, and of the signs shops print most.
const char* const kTexts[] = {
    "金龙鱼调和油", "5L桶装", "活动时间：12月10日至12月31日", "蒙牛纯牛奶", "250ml×24盒",
    "一级红富士苹果", "山东烟台", "海飞丝洗发露（去屑）", "五常大米10kg东北", "特价：￥9.90，限时抢购！",
};

const char* const kCommonFaces[] = {"宋体", "黑体", "楷体", "仿宋", "隶书", "幼圆", "微软雅黑",
                                    "华文行楷", "华文新魏", "方正姚体", "华文琥珀"};

std::unique_ptr<TextBlock> textBlock(const QString& text, const char* face, int top) {
    auto block = TextBlock::create(BlockKind::FixedText, {300, top, 11000, top + 700},
                                   Gbk::fromUnicode(text), false);
    block->content()->selectAll();
    block->content()->applyStyle(RichText::ChineseFace, Gbk::fromUnicode(QString::fromUtf8(face)), false);
    block->content()->applyStyle(RichText::Size, 20, false);
    block->content()->setSelection({}, {});
    block->content()->setAlignment(RichText::Left);
    block->content()->layout();
    return block;
}

}  // namespace

TEST(PdfTextRepair, CharacterMapEntriesNameTheIdeographs) {
    const struct {
        const char* line;
        const char* repaired;
    } cases[] = {
        // bfchar: ⼀ (U+2F00) → 一, ⻰ (U+2EF0) → 龙, 中 stays.
        {"1 beginbfchar\n<0003> <2F00>\n<0004> <2EF0>\n<0005> <4E2D>\nendbfchar",
         "1 beginbfchar\n<0003> <4E00>\n<0004> <9F99>\n<0005> <4E2D>\nendbfchar"},
        // A range with a list of destinations.
        {"1 beginbfrange\n<0001> <0003> [<8D85> <2FA6> <2EE5> ]\nendbfrange",
         "1 beginbfrange\n<0001> <0003> [<8D85> <91D1> <9C7C> ]\nendbfrange"},
        // A counting range that takes in a radical is written out as a list.
        {"1 beginbfrange\n<0010> <0012> <2F46>\nendbfrange",
         "1 beginbfrange\n<0010> <0012> [<65E0> <65E5> <66F0>]\nendbfrange"},
        // Counting ranges of other characters stay as they are.
        {"1 beginbfrange\n<0010> <0012> <4E00>\nendbfrange", "1 beginbfrange\n<0010> <0012> <4E00>\nendbfrange"},
        // Characters GBK holds stay, and so does text outside the map sections.
        {"1 beginbfchar\n<0003> <FF1A>\n<0004> <0041>\nendbfchar", "1 beginbfchar\n<0003> <FF1A>\n<0004> <0041>\nendbfchar"},
        {"<0000> <FFFF> <2F00>\n", "<0000> <FFFF> <2F00>\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PdfTextRepair::repairedCMap(c.line).toStdString(), std::string(c.repaired));
    }
    EXPECT_EQ(PdfTextRepair::ideographFor(0x2F00), U'\u4E00');
    EXPECT_EQ(PdfTextRepair::ideographFor(0x4E00), 0u);
}

// A deflated character map, its length held in another object: the stream is inflated,
// repaired and deflated again, the length and every offset of the cross-reference table
// follow.
TEST(PdfTextRepair, DeflatedMapsKeepLengthsAndOffsetsRight) {
    const QByteArray cmap = "begincmap\n1 beginbfchar\n<0001> <2F00>\nendbfchar\nendcmap\n";
    uLongf size = compressBound(uLong(cmap.size()));
    QByteArray packed(qsizetype(size), '\0');
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &size,
                       reinterpret_cast<const Bytef*>(cmap.constData()), uLong(cmap.size())), Z_OK);
    packed.truncate(qsizetype(size));
    QByteArray pdf = "%PDF-1.4\n";
    std::vector<qsizetype> offsets;
    const auto object = [&](const QByteArray& body) {
        offsets.push_back(pdf.size());
        pdf += QByteArray::number(qsizetype(offsets.size())) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<< /Type /Font /ToUnicode 2 0 R >>");
    object("<< /Length 3 0 R /Filter /FlateDecode >>\nstream\n" + packed + "\nendstream");
    object(QByteArray::number(packed.size()));
    object("(after the map)");
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 5\n0000000000 65535 f \n";
    for (qsizetype o : offsets) pdf += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size 5 >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";

    const QByteArray out = PdfTextRepair::repaired(pdf);
    ASSERT_NE(out, pdf);
    // Every object is where the table says, the table where startxref says.
    const qsizetype table = out.mid(out.lastIndexOf("startxref") + 10).trimmed().split('\n').front().toLongLong();
    ASSERT_TRUE(out.mid(table).startsWith("xref\n0 5\n"));
    const QList<QByteArray> entries = out.mid(table).split('\n');
    for (int k = 1; k <= 4; ++k) {
        const qsizetype at = entries[2 + k].left(10).toLongLong();
        EXPECT_TRUE(out.mid(at).startsWith(QByteArray::number(k) + " 0 obj\n")) << k;
    }
    // The stream inflates to the repaired map and is as long as object 3 says.
    const qsizetype lengthAt = entries[5].left(10).toLongLong();
    const qsizetype length = out.mid(lengthAt + 8).split('\n').front().trimmed().toLongLong();
    const qsizetype data = out.indexOf("stream\n", entries[4].left(10).toLongLong()) + 7;
    EXPECT_EQ(out.mid(data + length, 10), QByteArray("\nendstream"));
    QByteArray plain(4096, '\0');
    uLongf plainSize = uLongf(plain.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &plainSize,
                         reinterpret_cast<const Bytef*>(out.constData() + data), uLong(length)), Z_OK);
    EXPECT_EQ(plain.left(qsizetype(plainSize)), PdfTextRepair::repairedCMap(cmap));
    EXPECT_TRUE(plain.contains("<4E00>"));
    // A PDF that is not laid out as expected is left alone.
    EXPECT_EQ(PdfTextRepair::repaired(pdf.left(pdf.size() - 30)), pdf.left(pdf.size() - 30));
}

// Signs in every common face, printed to PDF: the text layer reads back as typed.
TEST(PdfTextRepair, SignsReadBackAsTypedInEveryCommonFace) {
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) << "poppler-utils missing";
    QStringList texts;
    for (const char* t : kTexts) texts << QString::fromUtf8(t);
    const QString radicals = radicalIdeographs();
    ASSERT_GT(radicals.size(), 150);
    for (qsizetype i = 0; i < radicals.size(); i += 20) texts << radicals.mid(i, 20);

    std::vector<test::SignLayout> layouts;
    for (size_t k = 0; k < std::size(kCommonFaces); ++k) layouts.push_back({210, 297, 1});
    auto doc = makeDocument(layouts);
    for (size_t k = 0; k < std::size(kCommonFaces); ++k) {
        int top = 300;
        for (const QString& text : texts) {
            doc->records[k]->appendBlock(textBlock(text, kCommonFaces[k], top));
            top += 800;
        }
    }
    PrintJob job(*doc);
    PrintSettings settings;
    settings.mode = PrintMode::ByItemWithBackground;
    settings.sheetMm = PdfOutput::printableMm(QSizeF(210, 297));
    ASSERT_TRUE(job.prepare(settings));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("faces.pdf"));
    QString error;
    ASSERT_TRUE(PdfOutput::write(job, path, QSizeF(210, 297), 150, &error)) << error.toStdString();
    for (size_t k = 0; k < std::size(kCommonFaces); ++k) {
        SCOPED_TRACE(kCommonFaces[k]);
        const QString expected = texts.join(QString());
        const QString text = pdfText(path, int(k) + 1);
        // Told character by character, so that a failure shows only what differs.
        ASSERT_EQ(text.size(), expected.size()) << text.toStdString();
        for (qsizetype i = 0; i < text.size(); ++i) {
            EXPECT_EQ(text[i], expected[i]) << QString(text[i]).toStdString() << " for " << QString(expected[i]).toStdString();
        }
    }
}

// The printed record list reads back as typed as well.
TEST(PdfTextRepair, ListPrintingReadsBackAsTyped) {
    auto doc = makeDocument({{90, 120, 1}, {90, 120, 1}});
    doc->records[0]->setValue(0, Gbk::fromUnicode(QString::fromUtf8("一级红富士苹果")));
    doc->records[0]->setValue(1, Gbk::fromUnicode(QString::fromUtf8("山东烟台")));
    doc->records[1]->setValue(0, Gbk::fromUnicode(QString::fromUtf8("金龙鱼调和油")));
    PrintTable table(*doc, PrintTable::Options{});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    ASSERT_TRUE(PdfOutput::write(table, path, QSizeF(210, 297), 150, nullptr));
    const QString text = pdfText(path, 1);
    for (const char* typed : {"一级红富士苹果", "山东烟台", "金龙鱼调和油"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(typed))) << typed << "\n" << text.toStdString();
    }
}

}  // namespace pemo
