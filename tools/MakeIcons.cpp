// Renders the program's vector icons into the pixel sizes of the desktop's icon theme.
// Run: make_icons OUT_DIR CONTEXT/NAME=PICTURE.svg …, which writes
// OUT_DIR/<n>x<n>/CONTEXT/NAME.png for every size n the theme's folders have.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool renderAll(const QString& outDir, const QString& target, const QString& svg) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "make_icons: cannot read %s\n", qPrintable(svg));
        return false;
    }
    const QString context = target.section(QLatin1Char('/'), 0, 0);
    const QString name = target.section(QLatin1Char('/'), 1);
    for (int size : kSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/%3").arg(outDir).arg(size).arg(context);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(folder) || !image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "make_icons: cannot write into %s\n", qPrintable(folder));
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: make_icons OUT_DIR CONTEXT/NAME=PICTURE.svg ...\n");
        return 2;
    }
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString target = arguments.at(i).section(QLatin1Char('='), 0, 0);
        const QString svg = arguments.at(i).section(QLatin1Char('='), 1);
        if (!target.contains(QLatin1Char('/')) || svg.isEmpty()) {
            std::fprintf(stderr, "make_icons: expected CONTEXT/NAME=PICTURE.svg, got %s\n", qPrintable(arguments.at(i)));
            return 2;
        }
        if (!renderAll(arguments.at(1), target, svg)) return 1;
    }
    return 0;
}
