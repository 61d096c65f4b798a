#pragma once

#include <QHash>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "LabelTemplate.h"

class QIODevice;

namespace pemo {

// The catalogue of label products: the XML files of the label catalogue installed under
// the system's data folders (libglabels-3.0/templates), read at run time. A product
// file holds <Template brand part size [width height] description|_description> with
// one <Label-rectangle>, <Label-round>, <Label-ellipse> or <Label-cd> and its <Layout>s,
// or <Template brand part equiv="OTHER PART"/> for a product sold with another's sheet;
// lengths carry a unit (pt, in, mm, cm, pc; points when none). Paper sizes come from
// paper-sizes.xml beside them.
class LabelCatalogue {
public:
    // The installed catalogue folder, empty when the catalogue is not installed. The
    // environment variable PEMO_LABEL_TEMPLATES names another folder (tests, a copy).
    static QString installedFolder();
    // The installed catalogue, read once; empty when there is none.
    static const LabelCatalogue& installed();
    // What the label dialog and the command line say when there is none: that it is
    // missing, how to install it, and that measured sheets work without it.
    static QString missingText();

    // Reads every *.xml file of the folder (paper sizes first). Files that are not
    // catalogue files are passed over, and so are products that cannot be understood,
    // each listed in skipped() with its reason (installed() logs them).
    void loadFolder(const QString& folder);
    // One file of products, or of paper sizes. Equivalent products and the sizes of
    // named papers are settled by resolveEquivalents(), once everything is read.
    void readProducts(QIODevice& device);
    void readPaperSizes(QIODevice& device);
    void resolveEquivalents();

    struct Skipped {
        QString name;    // "BRAND PART"
        QString reason;  // "round 的长度“in”读不懂"
    };

    const std::vector<LabelTemplate>& products() const { return products_; }
    const std::vector<Skipped>& skipped() const { return skipped_; }
    bool isEmpty() const { return products_.empty(); }

    // The product named "BRAND PART" (case and extra spaces ignored), or nothing.
    const LabelTemplate* find(const QString& name) const;
    // The names of up to `count` products closest to `name`, closest first.
    QStringList closest(const QString& name, int count = 5) const;
    // The products whose brand, part, description or size contain every word of
    // `text` (case ignored), in catalogue order; all of them for an empty text.
    std::vector<const LabelTemplate*> search(const QString& text) const;

    // A length of the catalogue in millimetres: "63.5mm", "0.75in", "11.in", "181.4" (points).
    static std::optional<double> lengthMm(const QString& text);

private:
    std::vector<LabelTemplate> products_;
    std::vector<Skipped> skipped_;
    QHash<QString, QSizeF> papers_;
};

}  // namespace pemo
