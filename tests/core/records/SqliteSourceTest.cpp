// SQLite files read for an import: never changed (neither the file nor its journal, its
// log or its folder), read as their last committed state, and said to be damaged when
// they are.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <map>

#include "SqliteFixture.h"
#include "core/records/DatabaseImport.h"
#include "core/records/OdbcConnection.h"

using namespace pemo;

namespace {

constexpr int kRows = 2000;

// Every file of a folder by name, with the SHA-256 of its bytes.
std::map<QString, QByteArray> snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
        QFile file(info.absoluteFilePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[info.fileName()] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
    }
    return files;
}

struct Source {
    const char* name;
    std::function<void(const QString& path)> make;
    const char* beside;  // the file that must be there beside it
    int rows;
    const char* first;
    const char* last;
};

const Source kSources[] = {
    {"a plain file", [](const QString& p) { test::makeCountedTable(p, kRows, false); }, "", kRows, "old0", "old1999"},
    // The journal is hot; the committed rows are the old ones.
    {"a hot journal", [](const QString& p) { test::makeHotJournal(p, kRows); }, "-journal", kRows, "old0", "old1999"},
    {"a write-ahead log not yet folded in", [](const QString& p) { test::makeUnfoldedLog(p, kRows); },
     "-wal", kRows + 1, "old0", "late"},
    {"a WAL file closed cleanly", [](const QString& p) { test::makeCountedTable(p, kRows, true); }, "",
     kRows, "old0", "old1999"},
};

DatabaseSelection selectionOf(const QString& path) {
    DatabaseSelection selection;
    selection.path = path;
    selection.table = QStringLiteral("t");
    selection.fields[0] = QStringLiteral("a");
    return selection;
}

}  // namespace

TEST(SqliteSource, ReadingChangesNothingAndGivesTheCommittedRows) {
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("shop.db");
        source.make(path);
        if (*source.beside) {
            ASSERT_TRUE(QFileInfo::exists(path + source.beside));
        }
        const auto before = snapshot(dir.path());

        CellTable cells;
        QString message;
        ASSERT_TRUE(DatabaseImport::read(selectionOf(path), cells, message)) << message.toStdString();
        ASSERT_EQ(int(cells.rows.size()), source.rows);
        EXPECT_EQ(cells.rows.front()[0], QByteArray(source.first));
        EXPECT_EQ(cells.rows.back()[0], QByteArray(source.last));
        // The dialog's connection as well: tables, columns, then closed.
        {
            OdbcConnection connection;
            ASSERT_TRUE(connection.open(path)) << connection.message().toStdString();
            EXPECT_EQ(connection.tables(), QStringList{"t"});
        }
        EXPECT_EQ(snapshot(dir.path()), before);
    }
}

TEST(SqliteSource, ADamagedFileIsSaidToBeDamaged) {
    struct Damage {
        const char* name;
        std::function<void(QByteArray&)> spoil;
    };
    const Damage damages[] = {
        {"cut after its header", [](QByteArray& b) { b.truncate(100); }},
        {"schema overwritten", [](QByteArray& b) { b.replace(100, 4000, QByteArray(4000, '\xAA')); }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("shop.db");
        test::makeCountedTable(path, kRows, false);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        damage.spoil(bytes);
        ASSERT_TRUE(file.resize(0));
        file.seek(0);
        file.write(bytes);
        file.close();

        CellTable cells;
        QString message;
        EXPECT_FALSE(DatabaseImport::read(selectionOf(path), cells, message));
        EXPECT_TRUE(message.startsWith(OdbcConnection::damagedMessage(path))) << message.toStdString();
    }
}
