#include "LibraryPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>
#include <cstdio>
#include <functional>

#include "core/codecs/BmpWriter.h"

namespace LibraryPictures {

namespace {

using Painter = std::function<void(QPainter&, QSize)>;

// Poster backgrounds are drawn at 600 × 884 (the 190 × 280 page's shape), tags at
// 600 × 400; pages stretch them.
const QSize kPortrait(600, 884);
const QSize kLandscape(600, 400);

void save(const QImage& image, const QString& path, int quality = 82) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path);
    if (path.endsWith(QLatin1String(".tif"))) {
        writer.setFormat("tiff");
        writer.setCompression(1);  // LZW
    } else {
        writer.setFormat("jpeg");
        writer.setQuality(quality);
        writer.setOptimizedWrite(true);
    }
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QFont face(const char* family, int pixels, bool bold = true) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

const char* const kSans = "Noto Sans CJK SC";

void verticalGradient(QPainter& p, QSize s, QColor top, QColor bottom) {
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(QRect(QPoint(0, 0), s), g);
}

// Bands at the top and bottom where titles and dates go.
void bands(QPainter& p, QSize s, QColor colour, double top = 0.17, double bottom = 0.07) {
    p.fillRect(QRectF(0, 0, s.width(), s.height() * top), colour);
    p.fillRect(QRectF(0, s.height() * (1 - bottom), s.width(), s.height() * bottom), colour);
}

void rays(QPainter& p, QPointF centre, int count, double radius, QColor colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int i = 0; i < count; i += 2) {
        const double a0 = 2 * M_PI * i / count, a1 = 2 * M_PI * (i + 1) / count;
        QPolygonF ray{centre, centre + radius * QPointF(std::cos(a0), std::sin(a0)),
                      centre + radius * QPointF(std::cos(a1), std::sin(a1))};
        p.drawPolygon(ray);
    }
}

void scatter(QSize s, int count, quint32 seed, const std::function<void(QPointF, double)>& draw) {
    QRandomGenerator random(seed);
    for (int i = 0; i < count; ++i) {
        draw(QPointF(random.bounded(s.width()), random.bounded(s.height())),
             0.5 + random.generateDouble());
    }
}

QPainterPath star(QPointF c, double outer, double inner, int points = 5) {
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = -M_PI / 2 + M_PI * i / points;
        const QPointF q = c + r * QPointF(std::cos(a), std::sin(a));
        i == 0 ? path.moveTo(q) : path.lineTo(q);
    }
    path.closeSubpath();
    return path;
}

// A price-tag frame: a coloured header band, a white field with a border.
void tagFrame(QPainter& p, QSize s, QColor band, QColor field, QColor border) {
    p.fillRect(QRect(QPoint(0, 0), s), field);
    p.fillRect(QRectF(0, 0, s.width(), s.height() * 0.24), band);
    p.setPen(QPen(border, 10));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5, 5, s.width() - 10, s.height() - 10));
}

struct Design {
    const char* category;
    const char* name;
    bool landscape;
    Painter paint;
};

QList<Design> designs() {
    return {
        {"空白底图", "白色", false,
         [](QPainter& p, QSize s) { p.fillRect(QRect(QPoint(0, 0), s), Qt::white); }},
        {"空白底图", "米色", false,
         [](QPainter& p, QSize s) { p.fillRect(QRect(QPoint(0, 0), s), QColor(250, 244, 228)); }},
        {"节日", "春节红", false,
         [](QPainter& p, QSize s) {
             verticalGradient(p, s, QColor(200, 20, 30), QColor(150, 0, 10));
             p.setPen(QPen(QColor(240, 190, 60), 3));
             p.setBrush(Qt::NoBrush);
             scatter(s, 14, 7, [&](QPointF c, double k) { p.drawEllipse(c, 30 * k, 30 * k); });
             p.fillRect(QRectF(40, s.height() * 0.2, s.width() - 80, s.height() * 0.72),
                        QColor(255, 240, 215));
         }},
        {"节日", "中秋月", false,
         [](QPainter& p, QSize s) {
             verticalGradient(p, s, QColor(20, 30, 80), QColor(60, 40, 110));
             QRadialGradient moon(QPointF(s.width() * 0.75, 120), 110);
             moon.setColorAt(0, QColor(255, 240, 180));
             moon.setColorAt(1, QColor(240, 200, 90));
             p.setPen(Qt::NoPen);
             p.setBrush(moon);
             p.drawEllipse(QPointF(s.width() * 0.75, 120), 100, 100);
             p.fillRect(QRectF(40, s.height() * 0.3, s.width() - 80, s.height() * 0.62),
                        QColor(255, 250, 235));
         }},
        {"节日", "圣诞雪", false,
         [](QPainter& p, QSize s) {
             verticalGradient(p, s, QColor(10, 90, 50), QColor(0, 60, 30));
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(255, 255, 255, 200));
             scatter(s, 120, 11, [&](QPointF c, double k) { p.drawEllipse(c, 5 * k, 5 * k); });
             p.setBrush(QColor(255, 255, 255));
             p.drawRoundedRect(QRectF(40, s.height() * 0.2, s.width() - 80, s.height() * 0.72), 30,
                               30);
             p.setBrush(QColor(200, 30, 40));
             p.drawPath(star(QPointF(s.width() / 2.0, 75), 55, 22));
         }},
        {"促销", "红色爆炸", false,
         [](QPainter& p, QSize s) {
             p.fillRect(QRect(QPoint(0, 0), s), QColor(230, 30, 30));
             rays(p, QPointF(s.width() / 2.0, s.height() * 0.35), 48, s.height(),
                  QColor(250, 70, 40));
             p.setBrush(QColor(255, 250, 230));
             p.drawRoundedRect(QRectF(35, s.height() * 0.22, s.width() - 70, s.height() * 0.7), 24,
                               24);
         }},
        {"促销", "黄色条纹", false,
         [](QPainter& p, QSize s) {
             p.fillRect(QRect(QPoint(0, 0), s), QColor(255, 214, 0));
             p.setPen(QPen(QColor(255, 232, 90), 26));
             for (int x = -s.height(); x < s.width(); x += 70)
                 p.drawLine(x, s.height(), x + s.height(), 0);
             bands(p, s, QColor(20, 20, 20));
             p.fillRect(QRectF(35, s.height() * 0.22, s.width() - 70, s.height() * 0.66),
                        Qt::white);
         }},
        {"促销", "橙色渐变", false,
         [](QPainter& p, QSize s) {
             verticalGradient(p, s, QColor(255, 150, 30), QColor(255, 90, 20));
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(255, 255, 255, 50));
             for (int y = 20; y < s.height(); y += 40)
                 for (int x = (y / 40) % 2 * 20 + 20; x < s.width(); x += 40)
                     p.drawEllipse(QPointF(x, y), 6, 6);
             p.setBrush(QColor(255, 255, 245));
             p.drawRect(QRectF(35, s.height() * 0.2, s.width() - 70, s.height() * 0.7));
         }},
        {"生鲜", "绿叶", false,
         [](QPainter& p, QSize s) {
             verticalGradient(p, s, QColor(110, 190, 60), QColor(40, 130, 40));
             p.setPen(Qt::NoPen);
             scatter(s, 30, 23, [&](QPointF c, double k) {
                 p.save();
                 p.translate(c);
                 p.rotate(k * 140);
                 p.setBrush(QColor(30, 110, 30, 120));
                 p.drawEllipse(QPointF(0, 0), 40 * k, 16 * k);
                 p.restore();
             });
             p.setBrush(QColor(250, 255, 240));
             p.drawRoundedRect(QRectF(35, s.height() * 0.2, s.width() - 70, s.height() * 0.72), 40,
                               40);
         }},
        {"生鲜", "蔬果格子", false,
         [](QPainter& p, QSize s) {
             p.fillRect(QRect(QPoint(0, 0), s), QColor(255, 255, 255));
             for (int y = 0; y < s.height(); y += 40)
                 for (int x = (y / 40) % 2 * 40; x < s.width(); x += 80)
                     p.fillRect(QRect(x, y, 40, 40), QColor(255, 228, 200));
             bands(p, s, QColor(230, 90, 30));
             p.fillRect(QRectF(35, s.height() * 0.22, s.width() - 70, s.height() * 0.66),
                        QColor(255, 255, 255, 230));
         }},
        {"生鲜", "海洋蓝", false,
         [](QPainter& p, QSize s) {
             verticalGradient(p, s, QColor(40, 160, 220), QColor(10, 70, 150));
             p.setPen(QPen(QColor(255, 255, 255, 90), 6));
             for (int y = 60; y < s.height(); y += 90) {
                 QPainterPath wave;
                 wave.moveTo(0, y);
                 for (int x = 0; x <= s.width(); x += 10)
                     wave.lineTo(x, y + 14 * std::sin(x / 40.0));
                 p.drawPath(wave);
             }
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(240, 250, 255));
             p.drawRoundedRect(QRectF(35, s.height() * 0.2, s.width() - 70, s.height() * 0.72), 24,
                               24);
         }},
        {"节日", "福字价签", true,
         [](QPainter& p, QSize s) {
             tagFrame(p, s, QColor(190, 10, 20), QColor(255, 246, 225), QColor(230, 170, 40));
             p.setPen(QPen(QColor(240, 190, 60), 3));
             p.setBrush(Qt::NoBrush);
             for (int x = s.width() / 2 + 40; x < s.width(); x += 90)
                 p.drawEllipse(QPointF(x, s.height() * 0.12), 18, 18);
         }},
        {"促销", "爆款价签", true,
         [](QPainter& p, QSize s) {
             p.fillRect(QRect(QPoint(0, 0), s), QColor(230, 30, 30));
             rays(p, QPointF(s.width() * 0.8, s.height() * 0.1), 36, s.width(),
                  QColor(250, 80, 40));
             p.setBrush(QColor(255, 252, 235));
             p.drawRoundedRect(QRectF(18, s.height() * 0.26, s.width() - 36, s.height() * 0.68), 16,
                               16);
         }},
        {"生鲜", "鲜果价签", true,
         [](QPainter& p, QSize s) {
             tagFrame(p, s, QColor(60, 150, 50), QColor(245, 255, 235), QColor(60, 150, 50));
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(255, 255, 255, 90));
             for (int x = s.width() / 2 + 30; x < s.width(); x += 70)
                 p.drawEllipse(QPointF(x, s.height() * 0.12), 14, 22);
         }},
        {"价签", "红头价签", true,
         [](QPainter& p, QSize s) {
             tagFrame(p, s, QColor(210, 20, 30), Qt::white, QColor(210, 20, 30));
         }},
        {"价签", "蓝色价签", true,
         [](QPainter& p, QSize s) {
             tagFrame(p, s, QColor(20, 80, 170), QColor(240, 246, 255), QColor(20, 80, 170));
         }},
        {"价签", "黄色价签", true,
         [](QPainter& p, QSize s) {
             tagFrame(p, s, QColor(255, 200, 0), QColor(255, 252, 230), QColor(60, 60, 60));
         }},
    };
}

// Decorations are drawn on transparency, 240 pixels across.
QImage canvas(QSize size = QSize(240, 240)) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage stamp(const char* text, QColor colour) {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(QPen(QColor(255, 235, 120), 8));
    p.drawPath(star(QPointF(120, 120), 116, 92, 16));
    p.setPen(Qt::white);
    p.setFont(face(kSans, 64));
    p.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8(text));
    return image;
}

QImage burst(QColor fill, QColor edge, const char* text) {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(edge, 5));
    p.setBrush(fill);
    p.drawPath(star(QPointF(120, 120), 118, 78, 12));
    p.setPen(edge);
    p.setFont(face(kSans, 46));
    p.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8(text));
    return image;
}

QImage ribbon(QColor colour) {
    QImage image = canvas(QSize(360, 120));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(140));
    p.drawPolygon(QPolygonF{{0, 40}, {60, 40}, {60, 110}, {0, 110}, {22, 75}});
    p.drawPolygon(QPolygonF{{360, 40}, {300, 40}, {300, 110}, {360, 110}, {338, 75}});
    p.setBrush(colour);
    p.drawRect(QRectF(40, 20, 280, 70));
    p.setPen(QPen(QColor(255, 255, 255, 160), 3, Qt::DashLine));
    p.drawLine(48, 28, 312, 28);
    p.drawLine(48, 82, 312, 82);
    return image;
}

QImage arrow(QColor colour, int angle) {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(120, 120);
    p.rotate(angle);
    p.setPen(QPen(colour.darker(130), 4));
    p.setBrush(colour);
    p.drawPolygon(
        QPolygonF{{-100, -35}, {20, -35}, {20, -80}, {110, 0}, {20, 80}, {20, 35}, {-100, 35}});
    return image;
}

QImage sparkle() {
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 40));
    p.drawPath(star(QPointF(120, 120), 110, 20, 4));
    p.setBrush(QColor(255, 230, 120));
    p.drawPath(star(QPointF(190, 50), 40, 8, 4));
    p.drawPath(star(QPointF(50, 190), 30, 6, 4));
    return image;
}

}  // namespace

QList<Background> writeBackgrounds(const QString& folder) {
    QList<Background> written;
    for (const Design& d : designs()) {
        const QSize size = d.landscape ? kLandscape : kPortrait;
        QImage image(size, QImage::Format_RGB32);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            d.paint(p, size);
        }
        const QString category = QString::fromUtf8(d.category);
        const QString name = QString::fromUtf8(d.name);
        const QString dir =
            QStringLiteral("%1/%2/%3").arg(folder, QString::fromUtf8("底图模板"), category);
        QDir().mkpath(dir);
        QString path;
        if (category == QString::fromUtf8("空白底图")) {
            // Plain colours: a small bitmap, stretched over the page.
            path = dir + QLatin1Char('/') + name + QStringLiteral(".bmp");
            if (!pemo::BmpWriter::write(image.scaled(76, 112), path))
                std::exit(1);
        } else {
            path = dir + QLatin1Char('/') + name + QStringLiteral(".jpg");
            save(image, path);
        }
        written.append({category, name, path, d.landscape});
    }
    return written;
}

QStringList writeDecorations(const QString& folder) {
    const QString promo = folder + QString::fromUtf8("/图库/促销/");
    const QString deco = folder + QString::fromUtf8("/图库/装饰/");
    const QList<QPair<QString, QImage>> pictures = {
        {promo + QString::fromUtf8("特价.tif"), stamp("特价", QColor(220, 20, 30))},
        {promo + QString::fromUtf8("新品.tif"), stamp("新品", QColor(20, 140, 60))},
        {promo + QString::fromUtf8("热卖.tif"), stamp("热卖", QColor(240, 110, 0))},
        {promo + QString::fromUtf8("爆炸贴-红.tif"),
         burst(QColor(230, 30, 30), QColor(255, 240, 0), "惊爆价")},
        {promo + QString::fromUtf8("爆炸贴-黄.tif"),
         burst(QColor(255, 220, 0), QColor(200, 20, 20), "限时抢")},
        {deco + QString::fromUtf8("彩带-红.tif"), ribbon(QColor(210, 30, 40))},
        {deco + QString::fromUtf8("彩带-金.tif"), ribbon(QColor(220, 160, 20))},
        {deco + QString::fromUtf8("箭头-右.tif"), arrow(QColor(230, 40, 40), 0)},
        {deco + QString::fromUtf8("箭头-下.tif"), arrow(QColor(20, 120, 220), 90)},
        {deco + QString::fromUtf8("星光.tif"), sparkle()},
    };
    QStringList paths;
    for (const auto& [path, image] : pictures) {
        save(image, path);
        paths.append(path);
    }
    return paths;
}

void writeTextures(const QString& folder) {
    const QString dir = folder + QString::fromUtf8("/贴图/");
    const QSize size(256, 256);
    const auto texture = [&](const char* name, const Painter& paint) {
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p, size);
        p.end();
        save(image, dir + QString::fromUtf8(name), 80);
    };
    texture("底纹-金箔.jpg", [](QPainter& p, QSize s) {
        verticalGradient(p, s, QColor(250, 215, 110), QColor(190, 140, 30));
        p.setPen(QPen(QColor(255, 240, 170, 120), 2));
        scatter(s, 60, 31,
                [&](QPointF c, double k) { p.drawLine(c, c + QPointF(20 * k, -12 * k)); });
    });
    texture("底纹-木纹.jpg", [](QPainter& p, QSize s) {
        p.fillRect(QRect(QPoint(0, 0), s), QColor(170, 110, 60));
        for (int y = 0; y < s.height(); y += 6) {
            p.setPen(QPen(QColor(130, 80, 40, 60 + (y * 37) % 90), 2));
            QPainterPath line;
            line.moveTo(0, y);
            for (int x = 0; x <= s.width(); x += 8)
                line.lineTo(x, y + 3 * std::sin((x + y * 3) / 30.0));
            p.drawPath(line);
        }
    });
    texture("底纹-大理石.jpg", [](QPainter& p, QSize s) {
        p.fillRect(QRect(QPoint(0, 0), s), QColor(235, 235, 232));
        p.setPen(QPen(QColor(150, 150, 160, 120), 2));
        scatter(s, 14, 41, [&](QPointF c, double k) {
            QPainterPath vein;
            vein.moveTo(c);
            vein.cubicTo(c + QPointF(60 * k, 30), c + QPointF(-40, 90 * k),
                         c + QPointF(120 * k, 140));
            p.drawPath(vein);
        });
    });
    texture("底纹-红绸.jpg", [](QPainter& p, QSize s) {
        verticalGradient(p, s, QColor(200, 20, 40), QColor(130, 0, 20));
        p.setPen(QPen(QColor(255, 120, 120, 70), 10));
        for (int x = -256; x < 256; x += 48)
            p.drawLine(x, 0, x + 256, 256);
    });
}

}  // namespace LibraryPictures

namespace LibraryPictures {

namespace {

// A round badge with a short text: what a mall's logo looks like until the user
// chooses the real one.
QImage logo(QColor fill, const char* text) {
    QImage image(200, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fill.darker(140), 6));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(8, 8, 184, 104), 40, 40);
    p.setPen(Qt::white);
    p.setFont(face(kSans, 44));
    p.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8(text));
    return image;
}

// A framed box with a simple product shape: the placeholder of a product picture.
QImage product() {
    QImage image(160, 160, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 150, 150), 3, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 4, 152, 152));
    p.setPen(QPen(QColor(90, 120, 170), 4));
    p.setBrush(QColor(200, 215, 240));
    p.drawRoundedRect(QRectF(48, 40, 64, 84), 10, 10);
    p.drawRect(QRectF(64, 26, 32, 14));
    p.setPen(QColor(90, 120, 170));
    p.setFont(face(kSans, 22, false));
    p.drawText(QRectF(0, 126, 160, 30), Qt::AlignCenter, QString::fromUtf8("商品图片"));
    return image;
}

}  // namespace

void writeProgramPictures(const QString& folder) {
    const struct {
        const char* name;
        QImage image;
    } pictures[] = {
        {"PemLogo1", logo(QColor(200, 30, 40), "商场")},
        {"PemLogo2", logo(QColor(30, 100, 180), "超市")},
        {"PemProd", product()},
    };
    for (const auto& picture : pictures) {
        const QString base = folder + QLatin1Char('/') + QLatin1String(picture.name);
        if (QFileInfo::exists(base + QLatin1String(".wmf")) ||
            QFileInfo::exists(base + QLatin1String(".bmp"))) {
            continue;
        }
        if (!pemo::BmpWriter::write(picture.image, base + QLatin1String(".bmp"))) {
            std::fprintf(stderr, "cannot write %s.bmp\n", qPrintable(base));
            std::exit(1);
        }
    }
}

}  // namespace LibraryPictures
