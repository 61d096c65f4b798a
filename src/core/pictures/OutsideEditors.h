#pragma once

#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>

namespace pemo {

// The four places for outside picture editors, in menu order. Each place takes a fixed
// set of file types; the program in it is the user's choice (settings) or the first of
// its usual programs found on PATH.
enum class EditorSlot { Raster = 0, Drawing = 1, Vector = 2, SecondRaster = 3 };
inline constexpr int kEditorSlotCount = 4;

// Where an editor item is offered; each place has its own command ids.
enum class EditorPlace { Canvas, BackgroundPanel, PicturePanel };

class OutsideEditors {
public:
    // Reads and writes the chosen programs under "Outside Editors" in settings, which
    // must outlive this object.
    explicit OutsideEditors(QSettings& settings);

    // The table the program uses: the installed one, else one on the program's settings.
    static OutsideEditors& current();
    // Tests install a table of their own; null goes back to the program's.
    static void install(OutsideEditors* editors);

    static QList<EditorSlot> allSlots();
    // The command id of a slot's item at a place (canvas 34471…, background panel
    // 34451…, picture panel 34461…), and the slot of such an id.
    static int commandId(EditorPlace place, EditorSlot slot);
    static bool slotOfCommand(int id, EditorSlot* slot, EditorPlace* place = nullptr);
    // The upper-case extensions with their dot a slot takes.
    static QStringList extensions(EditorSlot slot);
    // The programs looked for on PATH, in order, when the user chose none.
    static QStringList usualPrograms(EditorSlot slot);
    // The name an editor goes by ("GIMP", "Krita", "Inkscape"), else the program's file name.
    static QString displayName(const QString& program);
    // The extension the editor checks are made on: the last four characters of a path.
    static QString extensionOf(const QString& path) { return path.right(4); }

    // The program's full path; empty when none is installed. Looked up once: the first
    // question reads the settings and PATH, later ones use the remembered answer.
    QString program(EditorSlot slot);
    bool isInstalled(EditorSlot slot) { return !program(slot).isEmpty(); }
    // Installed, and the extension (any case) is one of the slot's.
    bool accepts(EditorSlot slot, const QString& extension);
    // The item text: the editor's name.
    QString menuText(EditorSlot slot);
    // The slots whose items a file gets, in menu order: those that accept its extension,
    // leaving out a program already offered by an earlier slot.
    QList<EditorSlot> offersFor(const QString& path);

    // The user's choice: empty for the usual programs, "-" for none, else a program
    // name or path. Setting it takes effect at once.
    QString choice(EditorSlot slot) const;
    void setChoice(EditorSlot slot, const QString& choice);
    static constexpr const char* kNone = "-";

private:
    QString lookUp(EditorSlot slot) const;

    QSettings& settings_;
    std::array<QString, kEditorSlotCount> programs_;
    std::array<bool, kEditorSlotCount> lookedUp_{};
};

}  // namespace pemo
