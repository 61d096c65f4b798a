#include "LabelCatalogue.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace pemo {

// Products the catalogue cannot use are told only when asked for
// (QT_LOGGING_RULES="pemo.labels.info=true"): a job on another sheet has no use for them.
Q_LOGGING_CATEGORY(labelCatalogueLog, "pemo.labels", QtWarningMsg)

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kMmPerPoint = kMmPerInch / 72;

QString attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toString();
}

// Why a product cannot be read; empty while it can.
using Problem = QString;

double length(const QXmlStreamReader& xml, const char* name, Problem* problem) {
    const QString text = attribute(xml, name);
    if (text.trimmed().isEmpty()) return 0;  // an absent length is 0 (a grid's origin, a waste)
    const std::optional<double> mm = LabelCatalogue::lengthMm(text);
    if (!mm && problem->isEmpty()) {
        *problem = QString::fromUtf8("%1 的长度“%2”读不懂").arg(QLatin1String(name), text);
    }
    return mm.value_or(0);
}

// Lower case, words split on spaces: how names are compared.
QString normalised(const QString& text) {
    return text.simplified().toLower();
}

int editDistance(const QString& a, const QString& b) {
    std::vector<int> previous(b.size() + 1);
    std::vector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j) previous[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int substitute = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, substitute});
        }
        std::swap(previous, row);
    }
    return previous[b.size()];
}

// Reads a <Label-…> element and its <Layout>s into t; the problem says why it makes no sheet.
void readLabel(QXmlStreamReader& xml, LabelTemplate& t, Problem* problem) {
    const QStringView element = xml.name();
    if (element == QLatin1String("Label-rectangle")) {
        t.shape = LabelTemplate::Shape::Rectangle;
        t.labelMm = QSizeF(length(xml, "width", problem), length(xml, "height", problem));
        t.cornerMm = length(xml, "round", problem);
    } else if (element == QLatin1String("Label-ellipse")) {
        t.shape = LabelTemplate::Shape::Ellipse;
        t.labelMm = QSizeF(length(xml, "width", problem), length(xml, "height", problem));
    } else if (element == QLatin1String("Label-round") || element == QLatin1String("Label-cd")) {
        t.shape = LabelTemplate::Shape::Round;
        t.radiusMm = length(xml, "radius", problem);
        t.holeMm = length(xml, "hole", problem);
        // A disc cut straight on its sides (a business-card CD) is as wide and high as
        // its width and height say; its neighbours stand that far apart.
        const double width = length(xml, "width", problem);
        const double height = length(xml, "height", problem);
        t.labelMm = QSizeF(width > 0 ? std::min(width, 2 * t.radiusMm) : 2 * t.radiusMm,
                           height > 0 ? std::min(height, 2 * t.radiusMm) : 2 * t.radiusMm);
    } else {
        *problem = QString::fromUtf8("不认识的标签形状 %1").arg(element.toString());
        xml.skipCurrentElement();
        return;
    }
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("Layout")) {
            LabelGrid g;
            g.columns = attribute(xml, "nx").toInt();
            g.rows = attribute(xml, "ny").toInt();
            g.x0 = length(xml, "x0", problem);
            g.y0 = length(xml, "y0", problem);
            g.dx = length(xml, "dx", problem);
            g.dy = length(xml, "dy", problem);
            if (g.columns > 0 && g.rows > 0) t.grids.push_back(g);
        }
        xml.skipCurrentElement();
    }
    t.cornerMm = std::min(t.cornerMm, std::min(t.labelMm.width(), t.labelMm.height()) / 2);
    if (!problem->isEmpty()) return;
    if (t.labelMm.width() <= 0 || t.labelMm.height() <= 0) {
        *problem = QString::fromUtf8("标签没有大小");
    } else if (t.grids.empty()) {
        *problem = QString::fromUtf8("没有标签的排列");
    }
}

}  // namespace

std::optional<double> LabelCatalogue::lengthMm(const QString& text) {
    // "11.in" and "3.93386e-16pt" are written too.
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*((?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][-+]?[0-9]+)?)\\s*([a-z]*)\\s*$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const double value = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    double factor = 0;
    if (unit.isEmpty() || unit == QStringLiteral("pt")) factor = kMmPerPoint;
    else if (unit == QStringLiteral("mm")) factor = 1;
    else if (unit == QStringLiteral("cm")) factor = 10;
    else if (unit == QStringLiteral("in")) factor = kMmPerInch;
    else if (unit == QStringLiteral("pc")) factor = 12 * kMmPerPoint;
    else return std::nullopt;
    return value * factor;
}

QString LabelCatalogue::installedFolder() {
    const QString own = qEnvironmentVariable("PEMO_LABEL_TEMPLATES");
    if (!own.isEmpty()) return QDir(own).exists() ? own : QString();
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("libglabels-3.0/templates"), QStandardPaths::LocateDirectory);
}

const LabelCatalogue& LabelCatalogue::installed() {
    static const LabelCatalogue catalogue = [] {
        LabelCatalogue c;
        const QString folder = installedFolder();
        if (!folder.isEmpty()) c.loadFolder(folder);
        for (const Skipped& s : c.skipped()) {
            qCInfo(labelCatalogueLog, "%s", qUtf8Printable(QString::fromUtf8("标签目录里的 %1 没有用上：%2").arg(s.name, s.reason)));
        }
        return c;
    }();
    return catalogue;
}

QString LabelCatalogue::missingText() {
    return QString::fromUtf8("没有安装标签纸目录：装上 glabels-data 软件包（sudo apt install glabels-data）"
                             "后可以选用各厂家的标签纸；自定义标签纸照样可以用。");
}

void LabelCatalogue::loadFolder(const QString& folder) {
    const QDir dir(folder);
    QStringList files = dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
    // Paper sizes first: products name their paper by its id.
    const QString papers = QStringLiteral("paper-sizes.xml");
    if (files.removeAll(papers) > 0) {
        QFile file(dir.filePath(papers));
        if (file.open(QIODevice::ReadOnly)) readPaperSizes(file);
    }
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) readProducts(file);
    }
    resolveEquivalents();
    descriptions_.loadTranslations(LabelDescriptions::translationFile(folder));
}

void LabelCatalogue::readPaperSizes(QIODevice& device) {
    QXmlStreamReader xml(&device);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("Paper-size")) continue;
        Problem problem;
        const QSizeF size(length(xml, "width", &problem), length(xml, "height", &problem));
        if (problem.isEmpty() && size.width() > 0 && size.height() > 0) papers_.insert(attribute(xml, "id"), size);
    }
}

void LabelCatalogue::readProducts(QIODevice& device) {
    QXmlStreamReader xml(&device);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("Template")) continue;
        LabelTemplate t;
        t.brand = attribute(xml, "brand").simplified();
        t.part = attribute(xml, "part").simplified();
        t.description = attribute(xml, "_description");
        if (t.description.isEmpty()) t.description = attribute(xml, "description");
        t.paperName = attribute(xml, "size");
        t.equivalentOf = attribute(xml, "equiv").simplified();
        Problem problem;
        if (t.paperName == QStringLiteral("Other")) {
            t.paperMm = QSizeF(length(xml, "width", &problem), length(xml, "height", &problem));
        }
        bool hasLabel = false;
        while (xml.readNextStartElement()) {
            if (xml.name().startsWith(QLatin1String("Label-")) && !hasLabel) {
                hasLabel = true;
                readLabel(xml, t, &problem);
            } else {
                xml.skipCurrentElement();
            }
        }
        if (t.brand.isEmpty() || t.part.isEmpty()) {
            problem = QString::fromUtf8("没有品牌或型号");
        } else if (!hasLabel && t.equivalentOf.isEmpty()) {
            problem = QString::fromUtf8("既没有标签也没有等同的型号");
        }
        if (!problem.isEmpty()) {
            skipped_.push_back({t.name(), problem});
            continue;
        }
        if (hasLabel) t.equivalentOf.clear();
        products_.push_back(std::move(t));
    }
}

void LabelCatalogue::resolveEquivalents() {
    // A product sold with another's sheet takes that sheet (the same brand's part); a
    // chain of them resolves one link a pass.
    QHash<QString, size_t> byName;
    for (size_t i = 0; i < products_.size(); ++i) byName.insert(normalised(products_[i].name()), i);
    bool changed = true;
    while (changed) {
        changed = false;
        for (LabelTemplate& t : products_) {
            if (!t.grids.empty() || t.equivalentOf.isEmpty()) continue;
            const auto other = byName.constFind(normalised(t.brand + QLatin1Char(' ') + t.equivalentOf));
            if (other == byName.constEnd()) continue;
            const LabelTemplate& source = products_[*other];
            if (source.grids.empty()) continue;
            LabelTemplate copy = source;
            copy.brand = t.brand;
            copy.part = t.part;
            copy.equivalentOf = t.equivalentOf;
            if (!t.description.isEmpty()) copy.description = t.description;
            t = std::move(copy);
            changed = true;
        }
    }
    for (LabelTemplate& t : products_) {
        if (t.paperMm.isEmpty()) {
            if (papers_.contains(t.paperName)) t.paperMm = papers_.value(t.paperName);
            else if (const auto standard = LabelTemplate::standardPaper(t.paperName)) t.paperMm = *standard;
        }
    }
    const auto unusable = [this](const LabelTemplate& t) {
        if (t.grids.empty()) {
            skipped_.push_back({t.name(), QString::fromUtf8("等同于 %1，而目录里没有能用的 %1").arg(t.equivalentOf)});
        } else if (t.paperMm.isEmpty()) {
            skipped_.push_back({t.name(), QString::fromUtf8("纸张“%1”不认识").arg(t.paperName)});
        } else {
            return false;
        }
        return true;
    };
    products_.erase(std::remove_if(products_.begin(), products_.end(), unusable), products_.end());
}

const LabelTemplate* LabelCatalogue::find(const QString& name) const {
    const QString wanted = normalised(name);
    for (const LabelTemplate& t : products_) {
        if (normalised(t.name()) == wanted) return &t;
    }
    return nullptr;
}

QStringList LabelCatalogue::closest(const QString& name, int count) const {
    const QString wanted = normalised(name);
    std::vector<std::pair<int, const LabelTemplate*>> ranked;
    ranked.reserve(products_.size());
    for (const LabelTemplate& t : products_) {
        const QString candidate = normalised(t.name());
        // A part typed without its brand, or a brand with a slip in the part: the
        // distance to the part alone counts as well as to the whole name.
        const int distance = std::min(editDistance(wanted, candidate), editDistance(wanted, normalised(t.part)) + 1);
        ranked.emplace_back(distance, &t);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList names;
    for (const auto& [distance, t] : ranked) {
        if (names.size() >= count) break;
        names.append(t->name());
    }
    return names;
}

std::vector<const LabelTemplate*> LabelCatalogue::search(const QString& text) const {
    const QStringList words = normalised(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<const LabelTemplate*> found;
    for (const LabelTemplate& t : products_) {
        const QString haystack = normalised(t.name() + QLatin1Char(' ') + t.description + QLatin1Char(' ') +
                                            descriptions_.chinese(t.description) +
                                            QLatin1Char(' ') + t.sizeText() + QLatin1Char(' ') + t.paperName);
        if (std::all_of(words.begin(), words.end(), [&](const QString& w) { return haystack.contains(w); })) {
            found.push_back(&t);
        }
    }
    return found;
}

}  // namespace pemo
