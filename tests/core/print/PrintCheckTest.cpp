#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <functional>

#include "Bytes.h"
#include "PrintFixtures.h"
#include "core/barcodes/BarcodeData.h"
#include "core/barcodes/BarcodeStyle.h"
#include "core/blocks/BlockFactory.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/PictureBlock.h"
#include "core/blocks/TextBlock.h"
#include "core/config/MallInfoList.h"
#include "core/document/PageDrawing.h"
#include "core/document/TemplateFile.h"
#include "core/print/PrintCheck.h"
#include "core/print/PrintMode.h"

using namespace pemo;
using test::gbk;
using Kind = PrintFinding::Kind;

namespace {



void addText(InfoRecord& r, int32_t kind, TwipsRect frame, const char* text) {
    r.appendBlock(TextBlock::create(kind, frame, gbk(text), true));
}

// Fixed text turned a quarter about its top-left corner.
void addTurnedText(InfoRecord& r, TwipsRect frame, const char* text) {
    auto block = TextBlock::create(BlockKind::FixedText, frame, gbk(text), true);
    block->rotateTowards(frame.left, frame.top + 1000);
    r.appendBlock(std::move(block));
}

void addBarcode(InfoRecord& r, BarcodeFace::Symbology symbology, TwipsRect frame, const char* text) {
    auto block = TextBlock::create(BlockKind::FixedText, frame, gbk(text), true);
    BarcodeStyle::apply(*block->content(), symbology, true, true);
    r.appendBlock(std::move(block));
}

void addPicture(InfoRecord& r, int32_t kind, const QByteArray& key, TwipsRect frame) {
    auto block = std::make_unique<PictureBlock>();
    block->kind = kind;
    block->setRect(frame);
    block->setPictureKey(key);
    r.appendBlock(std::move(block));
}

// A JPEG cut after its frame header: its size reads, its pixels do not.
QByteArray headerOnlyJpeg() {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    const qsizetype frame = bytes.indexOf(QByteArray::fromHex("ffc0"));
    const int length = (uint8_t(bytes[frame + 2]) << 8) | uint8_t(bytes[frame + 3]);
    return bytes.left(frame + 2 + length) + QByteArray::fromHex("ffd9");
}

// A sign every check passes: the name and the price with values, well inside an A4 page.
void goodSign(CPatDoc&, InfoRecord& r) {
    r.setValue(0, gbk("苹果"));
    r.setValue(InfoRecord::kCurrentPrice, "12.80");
    addText(r, BlockKind::FirstVariable, {1000, 1000, 9000, 3000}, "苹果");
    addText(r, BlockKind::CurrentPrice, {1000, 4000, 9000, 6000}, "12.80");
}

struct Case {
    const char* name;
    std::function<void(CPatDoc&, InfoRecord&)> build;
    std::vector<Kind> found;
};

std::vector<Kind> kindsOf(const std::vector<PrintFinding>& findings) {
    std::vector<Kind> kinds;
    for (const auto& f : findings) kinds.push_back(f.kind);
    return kinds;
}

}  // namespace

TEST(PrintCheck, FindsWhatEachSignWouldGetWrong) {
    registerBlockClasses();
    const Case cases[] = {
        {"a good sign is quiet", goodSign, {}},
        {"an empty price the sign uses",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             r.setValue(InfoRecord::kCurrentPrice, "");
         },
         {Kind::EmptyValue}},
        {"an empty value the sign does not use is no matter",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             r.setValue(InfoRecord::kOriginalPrice, "");
             r.setValue(5, "");
         },
         {}},
        {"an empty mall item prints its name",
         [](CPatDoc& d, InfoRecord& r) {
             static MallInfoList mall;
             mall.setValue(3, "");
             d.mallInfo = &mall;
             goodSign(d, r);
             addText(r, BlockKind::FirstMallInfo + 3, {1000, 7000, 9000, 8000}, "x");
         },
         {Kind::EmptyValue}},
        {"a product picture block without a picture",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             addPicture(r, BlockKind::ProductPicture, "", {1000, 7000, 5000, 11000});
         },
         {Kind::MissingPicture}},
        {"a picture that does not decode",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             PictureDescription broken;
             broken.kind = PictureDescription::LibraryPicture;
             broken.extension = ".png";
             d.images.addBytes("broken", broken, "not a picture at all");
             addPicture(r, BlockKind::InsertedPicture, "broken", {1000, 7000, 5000, 11000});
         },
         {Kind::UnreadablePicture}},
        {"a JPEG whose data does not decode past its header",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             PictureDescription photo;
             photo.kind = PictureDescription::LibraryPicture;
             photo.extension = ".jpg";
             d.images.addBytes("photo", photo, headerOnlyJpeg());
             addPicture(r, BlockKind::InsertedPicture, "photo", {1000, 7000, 5000, 11000});
         },
         {Kind::UnreadablePicture}},
        {"a long value shrunk below what can be read on a large sign",
         [](CPatDoc& d, InfoRecord& r) {
             r.resizePage(841, 1189);  // A0: the minimum becomes 80 pt
             goodSign(d, r);
             r.setValue(0, gbk("特级精选有机红富士苹果礼盒装"));
         },
         {Kind::SmallText}},
        {"text that overflows its frame even at the smallest size",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             addText(r, BlockKind::FixedText, {1000, 7000, 1300, 7200}, "全场商品一律八折优惠");
         },
         {Kind::Overflow}},
        {"a descender a millimetre below a line lower than its text",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             addText(r, BlockKind::FixedText, {1000, 7000, 3347, 7374}, "105g");
         },
         {Kind::Overflow}},
        {"turned text cut off by its frame on paper",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             addTurnedText(r, {1000, 7000, 2500, 7400}, "全场商品一律八折优惠");
         },
         {Kind::Overflow}},
        {"turned text inside its frame",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             addTurnedText(r, {6000, 7000, 10000, 8500}, "特价");
         },
         {}},
        {"a barcode of 5.3 × 3.5 mm is too small to scan, whatever its text's size",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             addBarcode(r, BarcodeFace::Symbology::Ean13, {1000, 7000, 1300, 7200}, "6901234567892");
             addBarcode(r, BarcodeFace::Symbology::Qr, {1000, 8000, 1300, 8200}, "全场商品一律八折优惠");
         },
         {Kind::SmallBarcode, Kind::SmallBarcode}},
        {"a wrong check digit, letters and a wrong length",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             addBarcode(r, BarcodeFace::Symbology::Ean13, {1000, 7000, 5000, 8000}, "6901234567893");
             addBarcode(r, BarcodeFace::Symbology::Ean8, {1000, 8000, 5000, 9000}, "1234ABC");
             addBarcode(r, BarcodeFace::Symbology::UpcA, {1000, 9000, 5000, 10000}, "12345");
         },
         {Kind::InvalidBarcode, Kind::InvalidBarcode, Kind::InvalidBarcode}},
        {"a block beyond the page and one cut by its edge",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             const int w = r.widthTw;
             addText(r, BlockKind::FixedText, {w + 100, 1000, w + 4000, 2000}, "促销");
             addText(r, BlockKind::FixedText, {w - 1000, 3000, w + 2000, 4500}, "促销");
         },
         {Kind::OffPage, Kind::OffPage}},
        {"a price that is not a number",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             r.setValue(InfoRecord::kCurrentPrice, gbk("面议"));
         },
         {Kind::NotANumber}},
        {"a price with a currency sign, a discount in 折",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             r.setValue(InfoRecord::kCurrentPrice, gbk("￥12.80"));
             r.setValue(InfoRecord::kDiscount, gbk("8.5折"));
             addText(r, BlockKind::Discount, {1000, 7000, 9000, 9000}, "8.5");
         },
         {}},
        {"words in a price the sign does not show are no matter",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             r.setValue(InfoRecord::kOriginalPrice, gbk("无"));
         },
         {}},
        {"a queued record without values is one blank sign",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             r.clearValues();
         },
         {Kind::EmptyRecord}},
        {"a shape that bleeds off the edge is meant so",
         [](CPatDoc& d, InfoRecord& r) {
             goodSign(d, r);
             auto shape = BlockFactory::create(BlockKind::Rectangle);
             shape->frame = {-500, -500, 3000, 3000};
             r.appendBlock(std::move(shape));
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = test::makeDocument({{210, 297, 1}});
        c.build(*doc, *doc->records.front());
        PrintSettings settings;
        settings.mode = PrintMode::ByItemWithBackground;
        const auto findings = PrintCheck::run(*doc, settings);
        EXPECT_EQ(kindsOf(findings), c.found);
        for (const auto& f : findings) {
            EXPECT_EQ(f.record, 0);
            EXPECT_TRUE(f.text.startsWith(QString::fromUtf8("第1项："))) << f.text.toStdString();
        }
    }
}

TEST(PrintCheck, LooksAtTheSignsTheJobPrintsAndNoOthers) {
    auto doc = test::makeDocument({{210, 297, 1}, {210, 297, 0}, {210, 297, 2}, {210, 297, 1}});
    for (auto& r : doc->records) goodSign(*doc, *r);
    for (int i : {1, 2, 3}) doc->records[size_t(i)]->setValue(InfoRecord::kCurrentPrice, "");

    PrintSettings byItem;
    byItem.mode = PrintMode::ByItemWithBackground;
    const auto findings = PrintCheck::run(*doc, byItem);
    ASSERT_EQ(findings.size(), 2u);  // record 2 (copies 0) is not printed
    EXPECT_EQ(findings[0].record, 2);
    EXPECT_EQ(findings[1].record, 3);
    EXPECT_TRUE(findings[0].text.contains(QString::fromUtf8("现价"))) << findings[0].text.toStdString();

    // Template printing shows the names on purpose, and only the current record.
    PrintSettings templ;
    templ.mode = PrintMode::Template;
    doc->setCurrentIndex(3);
    EXPECT_TRUE(PrintCheck::run(*doc, templ).empty());
    // The records show the screen's texts afterwards.
    EXPECT_EQ(doc->records[0]->blocks[0]->plainText(), gbk("苹果"));
}

TEST(PrintCheck, AnEmptyQueueAndAJobThatCannotBeLaidOut) {
    auto doc = test::makeDocument({{210, 297, 0}});
    PrintSettings settings;
    settings.mode = PrintMode::ByItemWithBackground;
    EXPECT_EQ(kindsOf(PrintCheck::run(*doc, settings)), std::vector<Kind>{Kind::EmptyQueue});

    doc->records.front()->copies = 1;
    settings.mode = PrintMode::Tile;
    settings.sheetMm = QSize(20, 20);
    settings.tileOverlapMm = 20;
    // The one record holds no value either: a blank sign.
    const auto findings = PrintCheck::run(*doc, settings);
    ASSERT_EQ(kindsOf(findings), (std::vector<Kind>{Kind::JobRefused, Kind::EmptyRecord}));
    EXPECT_EQ(findings[0].record, -1);
}

TEST(PrintCheck, TheLegibleMinimumFollowsThePagesDiagonal) {
    const struct {
        int w, h;
        double points;
    } cases[] = {{210, 297, 20}, {297, 420, 28}, {105, 148, 10}, {841, 1189, 80}, {297, 210, 20}};
    for (const auto& c : cases) {
        InfoRecord r;
        r.resizePage(c.w, c.h);
        EXPECT_EQ(legibleMinimumPoints(r, 20), c.points) << c.w << "x" << c.h;
    }
    InfoRecord a4;
    a4.resizePage(210, 297);
    EXPECT_EQ(legibleMinimumPoints(a4, 30), 30);

}

TEST(PrintCheck, GroupsTheFindingsByKind) {
    const auto finding = [](Kind kind, int record) { return PrintFinding{kind, record, QString()}; };
    const std::vector<PrintFinding> findings = {
        finding(Kind::Overflow, 2),    finding(Kind::EmptyValue, 2), finding(Kind::Overflow, 2),
        finding(Kind::Overflow, 6),    finding(Kind::EmptyRecord, 9), finding(Kind::EmptyRecord, 10),
        finding(Kind::EmptyRecord, 11), finding(Kind::EmptyRecord, 13), finding(Kind::JobRefused, -1),
    };
    const auto groups = PrintCheck::group(findings);
    const struct {
        Kind kind;
        int count;
        const char* text;
    } expected[] = {
        {Kind::Overflow, 3, "文字超出：第3、7项"},
        {Kind::EmptyValue, 1, "内容为空：第3项"},
        {Kind::EmptyRecord, 4, "空白信息：第10-12、14项"},
        {Kind::JobRefused, 1, "无法排版"},
    };
    ASSERT_EQ(groups.size(), std::size(expected));
    for (size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(groups[i].kind, expected[i].kind) << i;
        EXPECT_EQ(groups[i].count, expected[i].count) << i;
        EXPECT_EQ(groups[i].text, QString::fromUtf8(expected[i].text)) << i;
    }
}

// The bundled 货架签 of every category, as the build draws them into the program folder.
TEST(PrintCheck, TheBundledShelfTagsOverflowOnlyWhenTheTextDoes) {
    registerBlockClasses();
    QStringList files;
    QDirIterator it(QString::fromUtf8(PEMO_RUNTIME_DIR "/底图模板"), {QString::fromUtf8("*货架签.vxt")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    ASSERT_GE(files.size(), 7);
    const struct {
        const char* name;
        const char* product;
        const char* packSize;
        std::vector<Kind> found;
    } cases[] = {
        {"an ordinary product", "红富士苹果", "105ml", {}},
        {"a pack size with a descender", "红富士苹果", "105g", {}},
        // Text set small shrinks to its line, down to 5 points.
        {"a long name and pack size", "精选特级有机红富士苹果礼盒装每盒十二个约三千克",
         "精选特级有机红富士苹果礼盒装每盒十二个约三千克", {}},
        {"a pack size not even 5 points fit", "红富士苹果",
         "精选特级有机红富士苹果礼盒装每盒十二个约三千克精选特级有机红富士苹果礼盒装每盒十二个约三千克"
         "精选特级有机红富士苹果礼盒装每盒十二个约三千克精选特级有机红富士苹果礼盒装每盒十二个约三千克",
         {Kind::Overflow}},
    };
    for (const QString& file : files) {
        for (const auto& c : cases) {
            SCOPED_TRACE(file.toStdString() + ": " + c.name);
            CPatDoc doc;
            doc.newDocument();
            InfoRecord& r = *doc.records.front();
            TemplateFile::apply(file, r, doc);
            r.setValue(0, gbk(c.product));
            r.setValue(2, gbk(c.packSize));
            r.setValue(5, gbk("山东烟台"));
            r.setValue(InfoRecord::kOriginalPrice, "4.50");
            r.setValue(InfoRecord::kCurrentPrice, "3.60");
            r.refreshPlaceholders(false, doc.placeholderSources());
            PrintSettings settings;
            settings.mode = PrintMode::ByItemWithBackground;
            const auto findings = PrintCheck::run(doc, settings);
            QStringList texts;
            for (const auto& f : findings) texts << f.text;
            EXPECT_EQ(kindsOf(findings), c.found) << texts.join('\n').toStdString();
        }
    }
}

namespace {

void addBarcodePlaceholder(InfoRecord& r, BarcodeFace::Symbology symbology, TwipsRect frame) {
    const int32_t kind = BlockKind::FirstVariable + 9;
    auto block = TextBlock::create(kind, frame, r.value(9), true);
    BarcodeStyle::apply(*block->content(), symbology, true, true);
    r.appendBlock(std::move(block));
}

int32_t mm(double v) { return int32_t(v * 1440 / 25.4); }

}  // namespace

// A barcode placeholder shows its name in template printing: it draws a sample of its
// symbology, marked as one, and the check has nothing to say about it.
TEST(PrintCheck, TemplatePrintingDrawsBarcodePlaceholdersAsMarkedSamples) {
    registerBlockClasses();
    auto doc = test::makeDocument({{210, 297, 1}});
    InfoRecord& r = *doc->records.front();
    r.setValue(9, "6901234567892");
    addBarcodePlaceholder(r, BarcodeFace::Symbology::Ean13, {mm(10), mm(10), mm(60), mm(45)});
    addBarcodePlaceholder(r, BarcodeFace::Symbology::Code128, {mm(10), mm(60), mm(80), mm(80)});
    addBarcodePlaceholder(r, BarcodeFace::Symbology::Qr, {mm(100), mm(10), mm(130), mm(40)});
    PrintSettings settings;
    settings.mode = PrintMode::Template;
    EXPECT_EQ(kindsOf(PrintCheck::run(*doc, settings)), std::vector<Kind>{});

    r.refreshPlaceholders(true, doc->placeholderSources());
    for (const auto& block : r.blocks) {
        const auto data = static_cast<const TextBlock&>(*block).barcode();
        ASSERT_TRUE(data);
        EXPECT_TRUE(data->valid()) << data->problem.toStdString();
        EXPECT_TRUE(data->isSample);
    }
    const QImage page = renderPageImage(r, doc->backgrounds, 100, false, true);
    int orange = 0, black = 0, red = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor p = page.pixelColor(x, y);
            orange += p.red() > 200 && p.green() > 90 && p.green() < 150 && p.blue() < 40;
            black += p == QColor(Qt::black);
            red += p.red() > 200 && p.green() < 40 && p.blue() < 40;
        }
    }
    EXPECT_GT(orange, 50);   // the "样例" marks
    EXPECT_GT(black, 2000);  // the symbols
    EXPECT_EQ(red, 0);       // no "条码无效" frame

    // Outside template printing the record's own value is drawn, not a sample.
    r.refreshPlaceholders(false, doc->placeholderSources());
    EXPECT_FALSE(static_cast<const TextBlock&>(*r.blocks.front()).barcode()->isSample);
}

// A barcode below its symbology's smallest module or bar height is found where the job
// prints it: on its own sign, and where a proof or a smaller label shrinks the sign.
TEST(PrintCheck, BarcodesTooSmallToScanAreFound) {
    registerBlockClasses();
    using S = BarcodeFace::Symbology;
    const auto labels = [](const char* custom) {
        PrintSettings s;
        s.mode = PrintMode::Labels;
        s.labelSheet = std::make_shared<const LabelTemplate>(*LabelTemplate::fromCustomText(QString::fromLatin1(custom)));
        return s;
    };
    PrintSettings byItem;
    byItem.mode = PrintMode::ByItemWithBackground;
    PrintSettings proof;
    proof.mode = PrintMode::Proof4x4;
    const struct {
        const char* name;
        S symbology;
        const char* text;
        double width, height;  // mm
        QSize page;            // mm
        PrintSettings settings;
        bool small;
    } cases[] = {
        {"a nominal EAN-13", S::Ean13, "6901234567892", 37.29, 25.93, {90, 60}, byItem, false},
        {"an EAN-13 of 5 × 3.5 mm", S::Ean13, "6901234567892", 5, 3.5, {90, 60}, byItem, true},
        {"an EAN-13 at 70 % of its width", S::Ean13, "6901234567892", 26.1, 25.93, {90, 60}, byItem, true},
        {"an EAN-13 wide enough but flat", S::Ean13, "6901234567892", 60, 12, {90, 60}, byItem, true},
        {"a nominal EAN-8", S::Ean8, "96385074", 26.73, 21.31, {90, 60}, byItem, false},
        {"a Code 128 of 0.21 mm bars", S::Code128, "PEMO-128", 30, 12, {90, 60}, byItem, false},
        {"a Code 128 of 0.14 mm bars", S::Code128, "PEMO-128", 20, 12, {90, 60}, byItem, true},
        {"a QR code of 0.34 mm modules", S::Qr, "佩墨", 10, 10, {90, 60}, byItem, false},
        {"a long QR code in 8 mm", S::Qr, "https://shop.example/商品?id=1234567890&from=tag", 8, 8, {90, 60}, byItem, true},
        {"a nominal EAN-13 shrunk to a quarter in a proof", S::Ean13, "6901234567892", 37.29, 25.93, {210, 297}, proof, true},
        {"a nominal EAN-13 on its own label", S::Ean13, "6901234567892", 37.29, 25.93, {90, 60},
         labels("A4,4x2,90x60,10,10,95,65"), false},
        {"a nominal EAN-13 on a label half its sign's size", S::Ean13, "6901234567892", 37.29, 25.93, {90, 60},
         labels("A4,8x4,45x30,5,5,50,35"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto doc = test::makeDocument({{c.page.width(), c.page.height(), 1}});
        InfoRecord& r = *doc->records.front();
        r.setValue(0, gbk("苹果"));
        addBarcode(r, c.symbology, {mm(2), mm(12), mm(2 + c.width), mm(12 + c.height)}, c.text);
        const auto findings = PrintCheck::run(*doc, c.settings);
        EXPECT_EQ(kindsOf(findings), c.small ? std::vector<Kind>{Kind::SmallBarcode} : std::vector<Kind>{});
        for (const auto& f : findings) {
            EXPECT_TRUE(f.text.startsWith(QString::fromUtf8("第1项：文字“"))) << f.text.toStdString();
            EXPECT_TRUE(f.text.contains(QString::fromUtf8("条码太小，扫描枪可能读不出"))) << f.text.toStdString();
        }
    }
}
