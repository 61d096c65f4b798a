#include <gtest/gtest.h>

#include <QBuffer>
#include <QFileInfo>
#include <QProcess>
#include <QSet>

#include "core/labels/LabelCatalogue.h"

namespace pemo {

namespace {

constexpr double kPt = 25.4 / 72;
constexpr double kIn = 25.4;

// The area a path covers, square millimetres.
double area(const QPainterPath& path) {
    double total = 0;
    for (const QPolygonF& polygon : path.toFillPolygons()) {
        double twice = 0;
        for (qsizetype i = 0; i < polygon.size(); ++i) {
            const QPointF a = polygon[i];
            const QPointF b = polygon[(i + 1) % polygon.size()];
            twice += a.x() * b.y() - b.x() * a.y();
        }
        total += std::abs(twice) / 2;
    }
    return total;
}

LabelCatalogue fixtures() {
    LabelCatalogue catalogue;
    catalogue.loadFolder(QStringLiteral(PEMO_TEST_DATA "/labels"));
    return catalogue;
}

}  // namespace

TEST(LabelCatalogue, LengthsInEveryUnit) {
    const struct {
        const char* text;
        std::optional<double> mm;
    } cases[] = {
        {"63.5mm", 63.5},   {"181.4", 181.4 * kPt}, {"5pt", 5 * kPt},    {"0.75in", 0.75 * kIn},
        {"1cm", 10.0},      {"2pc", 24 * kPt},      {".5in", 12.7},      {" 7mm ", 7.0},
        {"11.in", 11 * kIn},  {"1.in", kIn},         {"3.93386e-16pt", 3.93386e-16 * kPt},
        {"12furlong", {}},  {"", {}},               {"mm", {}},          {"in", {}},          {"-3mm", {}},
        {"3 4mm", {}},      {".", {}},
    };
    for (const auto& c : cases) {
        const std::optional<double> mm = LabelCatalogue::lengthMm(QString::fromLatin1(c.text));
        ASSERT_EQ(mm.has_value(), c.mm.has_value()) << c.text;
        if (mm) {
            EXPECT_NEAR(*mm, *c.mm, 1e-9) << c.text;
        }
    }
}

TEST(LabelCatalogue, ReadsProductsOfEveryShapeAndResolvesEquivalents) {
    const LabelCatalogue catalogue = fixtures();
    const struct {
        const char* name;
        LabelTemplate::Shape shape;
        QSizeF paper;
        QSizeF label;
        int perSheet;
        const char* equivalentOf;
        const char* description;
    } cases[] = {
        {"Avery 7160", LabelTemplate::Shape::Rectangle, {210, 297}, {181.4 * kPt, 108 * kPt}, 21, "", "Mailing labels"},
        {"Avery L7160", LabelTemplate::Shape::Rectangle, {210, 297}, {181.4 * kPt, 108 * kPt}, 21, "7160", "Mailing labels"},
        {"Avery J8160", LabelTemplate::Shape::Rectangle, {210, 297}, {181.4 * kPt, 108 * kPt}, 21, "7160", "Mailing labels"},
        {"Avery L7160-100", LabelTemplate::Shape::Rectangle, {210, 297}, {181.4 * kPt, 108 * kPt}, 21, "L7160",
         "Mailing labels, 100 sheets"},
        {"Hama 50151", LabelTemplate::Shape::Round, {210, 297}, {40, 40}, 24, "", "Round labels"},
        {"Hama 50450", LabelTemplate::Shape::Rectangle, {210, 297}, {70, 37}, 24, "", "Rectangular labels"},
        {"Endisch 6406342x", LabelTemplate::Shape::Ellipse, {210, 297}, {63.5, 42.3}, 18, "", "Elliptical labels"},
        {"Avery 5160", LabelTemplate::Shape::Rectangle, {215.9, 279.4}, {2.625 * kIn, kIn}, 30, "", "Address Labels"},
        {"Avery 5260", LabelTemplate::Shape::Rectangle, {215.9, 279.4}, {2.625 * kIn, kIn}, 30, "5160", "Address Labels"},
        {"Avery 3274.2", LabelTemplate::Shape::Round, {215.9, 279.4}, {1.5 * kIn, 1.5 * kIn}, 20, "", "Small Round Labels"},
        {"Avery 8293", LabelTemplate::Shape::Round, {215.9, 279.4}, {1.5 * kIn, 1.5 * kIn}, 20, "3274.2", "Small Round Labels"},
        {"Avery 5931", LabelTemplate::Shape::Round, {215.9, 279.4}, {333 * kPt, 333 * kPt}, 2, "", "CD/DVD Labels"},
        {"Avery 6141", LabelTemplate::Shape::Rectangle, {207 * kPt, 351 * kPt}, {198 * kPt, 45 * kPt}, 7, "",
         "File Folder Labels"},
        {"Avery 8165", LabelTemplate::Shape::Rectangle, {215.9, 279.4}, {8.5 * kIn, 11 * kIn}, 1, "", "Full Sheet Labels"},
        {"Avery 5165", LabelTemplate::Shape::Rectangle, {215.9, 279.4}, {8.5 * kIn, 11 * kIn}, 1, "8165", "Full Sheet Labels"},
        // A disc of 216 pt cut to 171 pt wide: its box is as wide as the cut.
        {"Test BCCD", LabelTemplate::Shape::Round, {215.9, 279.4}, {171 * kPt, 216 * kPt}, 9, "", "Business Card CD"},
        {"Test STAGGER", LabelTemplate::Shape::Round, {148, 210}, {20, 20}, 8, "", "Staggered round labels"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LabelTemplate* t = catalogue.find(QString::fromLatin1(c.name));
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->shape, c.shape);
        EXPECT_NEAR(t->paperMm.width(), c.paper.width(), 1e-6);
        EXPECT_NEAR(t->paperMm.height(), c.paper.height(), 1e-6);
        EXPECT_NEAR(t->labelMm.width(), c.label.width(), 1e-6);
        EXPECT_NEAR(t->labelMm.height(), c.label.height(), 1e-6);
        EXPECT_EQ(t->labelsPerSheet(), c.perSheet);
        EXPECT_EQ(t->equivalentOf, QString::fromLatin1(c.equivalentOf));
        EXPECT_EQ(t->description, QString::fromLatin1(c.description));
    }
    // The disc keeps its hole; the rounded corners their radius.
    EXPECT_NEAR(catalogue.find(QStringLiteral("Avery 5931"))->holeMm, 58.5 * kPt, 1e-6);
    EXPECT_NEAR(catalogue.find(QStringLiteral("Avery 5160"))->cornerMm, 0.0625 * kIn, 1e-6);
    // What cannot be understood is passed over, named with its reason; the rest is there.
    const struct {
        const char* name;
        const char* reason;
    } skipped[] = {
        {"Broken UNIT", "width 的长度“12furlong”读不懂"},
        {"Broken EMPTY", "既没有标签也没有等同的型号"},
        {"Broken NOGRID", "没有标签的排列"},
        {"Broken CORNER", "round 的长度“in”读不懂"},
        {"Broken ORPHAN", "等同于 NOSUCH，而目录里没有能用的 NOSUCH"},
    };
    for (const auto& s : skipped) EXPECT_EQ(catalogue.find(QString::fromLatin1(s.name)), nullptr) << s.name;
    ASSERT_EQ(catalogue.skipped().size(), std::size(skipped));
    for (const auto& s : skipped) {
        const auto it = std::find_if(catalogue.skipped().begin(), catalogue.skipped().end(),
                                     [&](const LabelCatalogue::Skipped& k) { return k.name == QString::fromLatin1(s.name); });
        ASSERT_NE(it, catalogue.skipped().end()) << s.name;
        EXPECT_EQ(it->reason, QString::fromUtf8(s.reason)) << s.name;
    }
    EXPECT_EQ(catalogue.products().size(), std::size(cases));
}

TEST(LabelCatalogue, FindsByNameLooselyAndSuggestsTheClosest) {
    const LabelCatalogue catalogue = fixtures();
    for (const char* name : {"avery l7160", "  Avery   L7160 ", "AVERY L7160"}) {
        const LabelTemplate* t = catalogue.find(QString::fromLatin1(name));
        ASSERT_NE(t, nullptr) << name;
        EXPECT_EQ(t->name(), QStringLiteral("Avery L7160"));
    }
    EXPECT_EQ(catalogue.find(QStringLiteral("Avery")), nullptr);
    EXPECT_EQ(catalogue.find(QStringLiteral("L7160")), nullptr);

    const struct {
        const char* typed;
        const char* first;
    } slips[] = {
        {"Avery L7106", "Avery L7160"},
        {"L7160", "Avery L7160"},  // the part without its brand
        {"Hama 50152", "Hama 50151"},
        {"avery 3274", "Avery 3274.2"},
    };
    for (const auto& s : slips) {
        const QStringList closest = catalogue.closest(QString::fromLatin1(s.typed), 3);
        ASSERT_EQ(closest.size(), 3) << s.typed;
        EXPECT_EQ(closest.front(), QString::fromLatin1(s.first)) << s.typed << ": " << closest.join(", ").toStdString();
    }
}

TEST(LabelCatalogue, SearchMatchesEveryWordAnywhere) {
    const LabelCatalogue catalogue = fixtures();
    const struct {
        const char* text;
        int found;
    } cases[] = {
        {"", 17},
        {"round", 4},           // Hama 50151, 3274.2, 8293, the staggered sheet
        {"avery round", 2},
        {"70 × 37", 1},         // by size
        {"us-letter", 8},       // by paper
        {"mailing 100", 1},
        {"nothing-like-this", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<int>(catalogue.search(QString::fromUtf8(c.text)).size()), c.found) << c.text;
    }
}

TEST(LabelCatalogue, ReadsOneFileAtATime) {
    // Products read before their paper sizes still get them once everything is read.
    QByteArray products(R"(<Glabels-templates>
      <Template brand="X" part="1" size="A4" description="one">
        <Label-rectangle width="10mm" height="10mm"><Layout nx="2" ny="1" x0="1mm" y0="1mm" dx="12mm" dy="0"/></Label-rectangle>
      </Template>
      <Template brand="X" part="2" size="Roll" description="unknown paper">
        <Label-rectangle width="10mm" height="10mm"><Layout nx="1" ny="1"/></Label-rectangle>
      </Template>
    </Glabels-templates>)");
    QBuffer buffer(&products);
    buffer.open(QIODevice::ReadOnly);
    LabelCatalogue catalogue;
    catalogue.readProducts(buffer);
    catalogue.resolveEquivalents();
    ASSERT_EQ(catalogue.products().size(), 1u);  // no size for the paper "Roll"
    EXPECT_EQ(catalogue.products().front().paperMm, QSizeF(210, 297));
}

// The installed catalogue, when there is one: the products the shops use most are there
// with their sheets.
TEST(LabelCatalogue, InstalledCatalogueHasTheCommonSheets) {
    const QString folder = LabelCatalogue::installedFolder();
    if (folder.isEmpty()) GTEST_SKIP() << "the label catalogue is not installed";
    LabelCatalogue catalogue;
    catalogue.loadFolder(folder);
    EXPECT_GT(catalogue.products().size(), 1000u);
    // The same sheet as the fixture copied from it.
    const LabelTemplate* l7160 = catalogue.find(QStringLiteral("Avery L7160"));
    const LabelCatalogue fixture = fixtures();
    const LabelTemplate* copied = fixture.find(QStringLiteral("Avery L7160"));
    ASSERT_NE(l7160, nullptr);
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(l7160->paperMm, QSizeF(210, 297));
    const std::vector<QRectF> installed = l7160->labelRects();
    const std::vector<QRectF> expected = copied->labelRects();
    ASSERT_EQ(installed.size(), 21u);
    ASSERT_EQ(installed.size(), expected.size());
    for (size_t i = 0; i < installed.size(); ++i) {
        EXPECT_NEAR(installed[i].x(), expected[i].x(), 0.1) << i;
        EXPECT_NEAR(installed[i].y(), expected[i].y(), 0.1) << i;
        EXPECT_NEAR(installed[i].width(), expected[i].width(), 0.1) << i;
        EXPECT_NEAR(installed[i].height(), expected[i].height(), 0.1) << i;
    }
    const LabelTemplate* round = catalogue.find(QStringLiteral("Avery 3274.2"));
    ASSERT_NE(round, nullptr);
    EXPECT_EQ(round->shape, LabelTemplate::Shape::Round);
    EXPECT_NEAR(round->paperMm.width(), 215.9, 0.01);
}

// Every product the installed catalogue describes validly is offered, once: as many as a
// count of its own (a small Python reading of the same files) finds; and no two discs of
// a sheet overlap.
TEST(LabelCatalogue, InstalledCatalogueOffersEveryProductItDescribes) {
    const QString folder = LabelCatalogue::installedFolder();
    ASSERT_FALSE(folder.isEmpty()) << "the label catalogue (glabels-data) is not installed: run scripts/setup.sh";
    ASSERT_TRUE(QFileInfo::exists(QStringLiteral("/usr/bin/python3"))) << "/usr/bin/python3 is needed for the count";
    QProcess count;
    count.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(PEMO_TEST_DATA "/labels/count_products.py"), folder});
    ASSERT_TRUE(count.waitForFinished(60000));
    ASSERT_EQ(count.exitCode(), 0) << count.readAllStandardError().toStdString();
    bool ok = false;
    const int expected = QString::fromLatin1(count.readAllStandardOutput()).trimmed().toInt(&ok);
    ASSERT_TRUE(ok);

    LabelCatalogue catalogue;
    catalogue.loadFolder(folder);
    QSet<QString> names;
    for (const LabelTemplate& t : catalogue.products()) names.insert(t.name().toLower());
    EXPECT_EQ(int(names.size()), int(catalogue.products().size()));
    EXPECT_EQ(int(catalogue.products().size()), expected);
    for (const char* name : {"Avery 8165", "Avery 5165"}) EXPECT_NE(catalogue.find(QString::fromLatin1(name)), nullptr) << name;

    // Discs, cut straight or not, lie side by side (the catalogue itself has one sheet whose
    // discs reach 2.3 mm into each other, a sliver of about 35 mm²).
    for (const LabelTemplate& t : catalogue.products()) {
        if (t.shape != LabelTemplate::Shape::Round) continue;
        const std::vector<QRectF> rects = t.labelRects();
        for (size_t i = 0; i < rects.size(); ++i) {
            for (size_t j = i + 1; j < rects.size(); ++j) {
                const double both = area(t.outline(rects[i]).intersected(t.outline(rects[j])));
                EXPECT_LT(both, 50.0) << t.name().toStdString() << ": labels " << i + 1 << " and " << j + 1
                                      << " overlap by " << both << " mm²";
            }
        }
    }
}

}  // namespace pemo
