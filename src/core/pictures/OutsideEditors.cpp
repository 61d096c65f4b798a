#include "OutsideEditors.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace pemo {

namespace {

const QString kGroup = QStringLiteral("Outside Editors");

struct SlotRow {
    const char* key;
    int canvasId;
    int backgroundId;
    int pictureId;
    const char* extensions;
    const char* programs;
};

constexpr const char* kRasterTypes = ".BMP .GIF .JPG .TIF .PCX .TGA";

const std::array<SlotRow, kEditorSlotCount> kSlots = {{
    {"Editor1", 34471, 34451, 34461, kRasterTypes, "gimp gimp-2.10 gimp-2.99 krita"},
    {"Editor2", 34472, 34452, 34462, ".BMP .GIF .JPG .TIF .PCX .TGA .WMF .EMF", "inkscape"},
    {"Editor3", 34473, 34453, 34463, ".WMF .EMF", "inkscape"},
    {"Editor4", 34474, 34454, 34464, kRasterTypes, "krita gimp gimp-2.10 gimp-2.99"},
}};

const SlotRow& row(EditorSlot slot) {
    return kSlots[static_cast<size_t>(slot)];
}

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// A program name is looked for on PATH; a path must name an executable file.
QString resolve(const QString& program) {
    if (program.isEmpty())
        return {};
    if (!program.contains(QLatin1Char('/')))
        return QStandardPaths::findExecutable(program);
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

}  // namespace

OutsideEditors::OutsideEditors(QSettings& settings) : settings_(settings) {}

namespace {
OutsideEditors* installed = nullptr;
}

OutsideEditors& OutsideEditors::current() {
    if (installed)
        return *installed;
    static QSettings settings(QString::fromUtf8("佩墨"), QStringLiteral("Pemo"));
    static OutsideEditors editors(settings);
    return editors;
}

void OutsideEditors::install(OutsideEditors* editors) {
    installed = editors;
}

QList<EditorSlot> OutsideEditors::allSlots() {
    return {EditorSlot::Raster, EditorSlot::Drawing, EditorSlot::Vector, EditorSlot::SecondRaster};
}

int OutsideEditors::commandId(EditorPlace place, EditorSlot slot) {
    switch (place) {
        case EditorPlace::Canvas:
            return row(slot).canvasId;
        case EditorPlace::BackgroundPanel:
            return row(slot).backgroundId;
        case EditorPlace::PicturePanel:
            return row(slot).pictureId;
    }
    return 0;
}

bool OutsideEditors::slotOfCommand(int id, EditorSlot* slot, EditorPlace* place) {
    for (EditorSlot s : allSlots()) {
        for (EditorPlace p :
             {EditorPlace::Canvas, EditorPlace::BackgroundPanel, EditorPlace::PicturePanel}) {
            if (commandId(p, s) != id)
                continue;
            if (slot)
                *slot = s;
            if (place)
                *place = p;
            return true;
        }
    }
    return false;
}

QStringList OutsideEditors::extensions(EditorSlot slot) {
    return words(row(slot).extensions);
}

QStringList OutsideEditors::usualPrograms(EditorSlot slot) {
    return words(row(slot).programs);
}

QString OutsideEditors::displayName(const QString& program) {
    const QString name = QFileInfo(program).fileName();
    const QString base = name.toLower();
    if (base.startsWith(QStringLiteral("gimp")))
        return QStringLiteral("GIMP");
    if (base == QStringLiteral("krita"))
        return QStringLiteral("Krita");
    if (base == QStringLiteral("inkscape"))
        return QStringLiteral("Inkscape");
    return name;
}

QString OutsideEditors::choice(EditorSlot slot) const {
    return settings_.value(kGroup + QLatin1Char('/') + QLatin1String(row(slot).key)).toString();
}

void OutsideEditors::setChoice(EditorSlot slot, const QString& choice) {
    const QString key = kGroup + QLatin1Char('/') + QLatin1String(row(slot).key);
    if (choice.trimmed().isEmpty()) {
        settings_.remove(key);
    } else {
        settings_.setValue(key, choice.trimmed());
    }
    settings_.sync();
    const auto index = static_cast<size_t>(slot);
    programs_[index] = lookUp(slot);
    lookedUp_[index] = true;
}

QString OutsideEditors::lookUp(EditorSlot slot) const {
    const QString chosen = choice(slot);
    if (chosen == QLatin1String(kNone))
        return {};
    if (!chosen.isEmpty())
        return resolve(chosen);
    for (const QString& program : usualPrograms(slot)) {
        const QString found = resolve(program);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString OutsideEditors::program(EditorSlot slot) {
    const auto index = static_cast<size_t>(slot);
    if (!lookedUp_[index]) {
        programs_[index] = lookUp(slot);
        lookedUp_[index] = true;
    }
    return programs_[index];
}

bool OutsideEditors::accepts(EditorSlot slot, const QString& extension) {
    return isInstalled(slot) && extensions(slot).contains(extension.toUpper());
}

QString OutsideEditors::menuText(EditorSlot slot) {
    return displayName(program(slot));
}

QList<EditorSlot> OutsideEditors::offersFor(const QString& path) {
    const QString extension = extensionOf(path);
    QList<EditorSlot> offered;
    QStringList programs;
    for (EditorSlot slot : allSlots()) {
        if (!accepts(slot, extension) || programs.contains(program(slot)))
            continue;
        offered.append(slot);
        programs.append(program(slot));
    }
    return offered;
}

}  // namespace pemo
