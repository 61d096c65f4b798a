#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedMessages.h"
#include "core/codecs/Gbk.h"
#include "core/document/CPatDoc.h"
#include "core/document/DocumentFile.h"
#include "core/document/RecoveryStore.h"
#include "core/platform/FileError.h"
#include "gui/app/Autosaver.h"
#include "gui/app/RecoveryOffer.h"

using namespace pemo;

namespace {

QByteArray gbk(const char* utf8) { return Gbk::fromUnicode(QString::fromUtf8(utf8)); }

// A document with some typing in it.
void edit(CPatDoc& doc, const char* name) {
    doc.currentRecord()->setValue(0, gbk(name));
    doc.currentRecord()->setValue(InfoRecord::kCurrentPrice, "12.80");
    doc.setModified();
}

struct Session {
    QTemporaryDir dir;
    RecoveryStore store{dir.filePath("recovery")};
    CPatDoc doc;
    std::unique_ptr<Autosaver> autosaver;

    Session() {
        doc.newDocument();
        store.begin();
        autosaver = std::make_unique<Autosaver>(doc, store);
        autosaver->setInterval(20);
    }
    bool copyExists() {
        autosaver->waitForWrites();
        return QFileInfo::exists(store.copyPath());
    }
};

}  // namespace

TEST(Autosaver, ACopyFollowsEditsAndGoesOnSave) {
    Session s;
    QSignalSpy written(s.autosaver.get(), &Autosaver::copyWritten);
    EXPECT_FALSE(s.copyExists());
    edit(s.doc, "苹果");
    ASSERT_TRUE(written.wait(5000));
    ASSERT_TRUE(s.copyExists());

    // The copy is the document's stored form, byte for byte.
    CPatDoc recovered;
    DocumentFile::open(recovered, s.store.copyPath());
    EXPECT_EQ(DocumentFile::write(recovered), DocumentFile::write(s.doc));

    DocumentFile::save(s.doc, s.dir.filePath("saved.vxq"));
    EXPECT_FALSE(s.copyExists());
}

TEST(Autosaver, NoCopyIsTakenWhileADragRuns) {
    Session s;
    bool dragging = true;
    s.autosaver->isBusy = [&] { return dragging; };
    QSignalSpy written(s.autosaver.get(), &Autosaver::copyWritten);
    edit(s.doc, "梨");
    QTest::qWait(300);
    EXPECT_EQ(written.count(), 0);
    EXPECT_FALSE(s.copyExists());
    dragging = false;
    ASSERT_TRUE(written.wait(5000));
    EXPECT_TRUE(s.copyExists());
}

TEST(Autosaver, ACopyLeftBehindIsOfferedAndOpensAsTheEditedDocument) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    QByteArray edited;
    {
        // The run that is killed: its lock goes with it, its copy stays.
        CPatDoc doc;
        doc.newDocument();
        edit(doc, "香蕉");
        edited = DocumentFile::write(doc);
        QDir().mkpath(folder);
        RecoveryStore::writeCopy(folder + "/killed.vxq", edited, "/docs/水果.vxq", QDateTime::currentDateTime());
    }
    CPatDoc next;
    next.newDocument();
    RecoveryStore store(folder);
    ASSERT_TRUE(store.begin());
    Autosaver autosaver(next, store);
    std::vector<QString> asked;
    RecoveryOffer offer(store, autosaver);
    const int opened = offer.run(
        [&](const RecoveryCopy& copy, bool canOpen) {
            asked.push_back(copy.title());
            EXPECT_TRUE(canOpen);
            return RecoveryOffer::Choice::Open;
        },
        [&](const RecoveryCopy& copy, QString&) {
            DocumentFile::open(next, copy.copyPath);
            next.setModified(true);
            return true;
        });
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(asked, std::vector<QString>{QString::fromUtf8("水果.vxq")});
    EXPECT_EQ(DocumentFile::write(next), edited);
    // The recovered document is this run's copy now; the old one is gone.
    autosaver.waitForWrites();
    EXPECT_TRUE(QFileInfo::exists(store.copyPath()));
    EXPECT_FALSE(QFileInfo::exists(folder + "/killed.vxq"));
}

TEST(Autosaver, ADamagedCopyIsReportedAndSetAsideNeverOpenedEmpty) {
    test::ScriptedMessages messages;
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    QDir().mkpath(folder);
    CPatDoc good;
    good.newDocument();
    edit(good, "葡萄");
    QByteArray damaged = DocumentFile::write(good);
    damaged.truncate(damaged.size() / 2);
    RecoveryStore::writeCopy(folder + "/torn.vxq", damaged, QString(), QDateTime::currentDateTime());

    CPatDoc doc;
    doc.newDocument();
    edit(doc, "樱桃");
    const QByteArray before = DocumentFile::write(doc);
    RecoveryStore store(folder);
    ASSERT_TRUE(store.begin());
    Autosaver autosaver(doc, store);
    RecoveryOffer offer(store, autosaver);
    const int opened = offer.run([](const RecoveryCopy&, bool) { return RecoveryOffer::Choice::Open; },
                                 [&](const RecoveryCopy& copy, QString& reason) {
                                     try {
                                         DocumentFile::open(doc, copy.copyPath);
                                     } catch (const FileError& e) {
                                         reason = e.message();
                                         return false;
                                     }
                                     return true;
                                 });
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(DocumentFile::write(doc), before);
    ASSERT_EQ(messages.informed.size(), 1);
    EXPECT_TRUE(messages.informed[0].contains("torn.damaged.vxq")) << messages.informed[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder + "/torn.damaged.vxq"));
    RecoveryStore later(folder);
    ASSERT_TRUE(later.begin());
    EXPECT_TRUE(later.claimLeftovers().empty());
}

TEST(Autosaver, AChangeWhileTheCopyIsTakenStartsItAgain) {
    Session s;
    for (int i = 0; i < 300; ++i) s.doc.records.push_back(s.doc.newRecord());
    QSignalSpy written(s.autosaver.get(), &Autosaver::copyWritten);
    edit(s.doc, "桃");
    QTRY_VERIFY_WITH_TIMEOUT(s.autosaver->isTakingCopy() || written.count() > 0, 5000);
    // The user types on while the slices run: the copy that lands has the later text.
    edit(s.doc, "李子");
    ASSERT_TRUE(written.wait(10000));
    CPatDoc recovered;
    DocumentFile::open(recovered, s.store.copyPath());
    EXPECT_EQ(recovered.recordAt(0)->value(0), gbk("李子"));
}
