#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardItemModel>

#include "ScriptedMessages.h"
#include "core/blocks/BlockKind.h"
#include "core/codecs/Gbk.h"
#include "gui/dialogs/BarcodeDialog.h"

using namespace pemo;

namespace {

using S = BarcodeFace::Symbology;
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

QList<BarcodeDialog::Placeholder> placeholders(bool firstTaken) {
    return {{u("商品名称"), BlockKind::FirstVariable, !firstTaken},
            {u("商品条码"), BlockKind::FirstVariable + 1, true}};
}

template <typename W>
W* child(BarcodeDialog& dialog, const char* name) {
    return dialog.findChild<W*>(QString::fromLatin1(name));
}

}  // namespace

TEST(BarcodeDialog, PlacesAPlaceholderOrAFixedText) {
    const struct {
        const char* name;
        bool firstTaken;
        int symbology;        // index in the list
        const char* fixed;    // a fixed text, or null for the placeholder
        bool showText;
        int32_t kind;
        bool accepted;
        bool shows;           // what the request says of the digits
    } cases[] = {
        {"the first free placeholder", true, 0, nullptr, true, BlockKind::FirstVariable + 1, true, true},
        {"a fixed text", false, 3, "PEMO-128", true, BlockKind::FixedText, true, true},
        {"digits hidden", false, 0, nullptr, false, BlockKind::FirstVariable, true, false},
        {"a QR code never shows digits", false, 6, "佩墨", true, BlockKind::FixedText, true, false},
        {"an empty fixed text stays open", false, 0, "", true, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScriptedMessages messages;
        BarcodeDialog dialog(placeholders(c.firstTaken));
        child<QComboBox>(dialog, "Symbology")->setCurrentIndex(c.symbology);
        if (c.fixed) {
            child<QRadioButton>(dialog, "FixedText")->setChecked(true);
            child<QLineEdit>(dialog, "Text")->setText(u(c.fixed));
        }
        child<QCheckBox>(dialog, "ShowText")->setChecked(c.showText);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(messages.informed.size(), c.accepted ? 0 : 1);
        if (!c.accepted) continue;
        const BarcodeRequest request = dialog.request();
        EXPECT_EQ(request.kind, c.kind);
        EXPECT_EQ(int(request.symbology), c.symbology);
        EXPECT_EQ(request.showText, c.shows);
        EXPECT_EQ(request.fixedText, c.fixed ? Gbk::fromUnicode(u(c.fixed)) : QByteArray());
    }
}

TEST(BarcodeDialog, ATakenPlaceholderIsGreyedAndAWrongNumberIsSaidAtOnce) {
    BarcodeDialog dialog(placeholders(true));
    auto* list = child<QComboBox>(dialog, "Placeholders");
    auto* model = qobject_cast<QStandardItemModel*>(list->model());
    ASSERT_TRUE(model);
    EXPECT_FALSE(model->item(0)->isEnabled());
    EXPECT_TRUE(model->item(1)->isEnabled());
    EXPECT_EQ(list->currentIndex(), 1);
    child<QRadioButton>(dialog, "FixedText")->setChecked(true);
    child<QLineEdit>(dialog, "Text")->setText(QStringLiteral("6901234567893"));
    EXPECT_EQ(child<QLabel>(dialog, "Hint")->text(), u("校验位应为 2"));
    child<QLineEdit>(dialog, "Text")->setText(QStringLiteral("6901234567892"));
    EXPECT_TRUE(child<QLabel>(dialog, "Hint")->text().isEmpty());
    child<QComboBox>(dialog, "Symbology")->setCurrentIndex(6);
    EXPECT_FALSE(child<QCheckBox>(dialog, "ShowText")->isEnabled());
}
