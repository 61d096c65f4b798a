#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ScriptedMessages.h"
#include "gui/app/SaveName.h"

using namespace pemo;
using Answer = Messages::Answer;

// A name typed without its extension is saved under the extended name, which the save
// dialog never asked about: replacing that file is asked here.
TEST(SaveNameTest, ReplacingTheFileWithTheAddedExtensionIsAsked) {
    QTemporaryDir dir;
    QFile existing(dir.filePath(QStringLiteral("old.vxq")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    const QStringList vxq{QStringLiteral("vxq")};
    struct Case {
        const char* typed;
        Answer answer;
        const char* expected;  // "" = nothing saved
        int questions;
    } cases[] = {
        {"old", Answer::No, "", 1},
        {"old", Answer::Yes, "old.vxq", 1},
        {"old.vxq", Answer::No, "old.vxq", 0},  // the dialog asked already
        {"OLD.VXQ", Answer::No, "OLD.VXQ", 0},
        {"new", Answer::No, "new.vxq", 0},
        {"促销 样本", Answer::No, "促销 样本.vxq", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        test::ScriptedMessages messages{c.answer};
        const QString got = completeSaveName(dir.filePath(QString::fromUtf8(c.typed)), vxq,
                                             QStringLiteral("vxq"));
        const QString expected = *c.expected ? dir.filePath(QString::fromUtf8(c.expected)) : QString();
        EXPECT_EQ(got, expected);
        EXPECT_EQ(messages.asked.size(), c.questions);
    }
}
