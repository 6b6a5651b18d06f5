// The record file itself: a schema-1 file migrated, a damaged file moved aside (and a newer
// version's file left alone), and two writers at the same time.
#include "record/RecordPath.h"
#include "record/RecordStore.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtSql/QSqlDatabase>
#include <QtSql/QSqlQuery>

#include <gtest/gtest.h>

#include <thread>

namespace trv {
namespace {

std::vector<SentItem> twoPrograms(int first) {
    return {{SentItem::Kind::Program, first, "P" + std::to_string(first), 60},
            {SentItem::Kind::Pause, 0, "", 30},
            {SentItem::Kind::Program, first + 1, "P" + std::to_string(first + 1), 70}};
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The installed application's data folder is $XDG_DATA_HOME/trv, which the user removes to start
// over from the sample data: the record, the application's and the demo's, lives outside it.
TEST(RecordStoreTest, TheRecordLivesOutsideTheDataFolder) {
    const QString dataFolder = QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/trv"));
    for (const bool demo : {false, true}) {
        const QString path = QDir::cleanPath(TreatmentRecordPath(demo));
        EXPECT_TRUE(path.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + QLatin1Char('/'))) << path.toStdString();
        EXPECT_FALSE(path.startsWith(dataFolder + QLatin1Char('/'))) << path.toStdString();
    }
    EXPECT_NE(TreatmentRecordPath(false), TreatmentRecordPath(true));
}

TEST(RecordStoreTest, ASchemaOneRecordIsMigratedKeepingItsEntries) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("schema-one"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(RecordStore::createSchemaOne(db));
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO entry (id, began_ms, began_offset, kind, outcome, programs)"
                                              " VALUES (7, 1700000000000, 3600, 'download', 'started', 'Old (3)')")));
        ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO item VALUES (7, 0, 'program', 3, 'Old', 120)")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("schema-one"));

    // Read-only use refuses the old schema rather than reading it wrongly.
    {
        RecordStore reader;
        EXPECT_FALSE(reader.open(path, RecordStore::Mode::ReadOnly).ok);
    }
    RecordStore store;
    const RecordStore::OpenResult opened = store.open(path);
    ASSERT_TRUE(opened.ok) << opened.message.toStdString();
    EXPECT_TRUE(opened.message.isEmpty());
    EXPECT_EQ(store.schemaVersion(), RecordSchemaVersion);
    std::optional<RecordEntry> entry = store.entry(7);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->outcome, RecordOutcome::Started);
    EXPECT_EQ(entry->began.iso(), QStringLiteral("2023-11-14T23:13:20+01:00"));
    ASSERT_EQ(entry->items.size(), 1u);
    EXPECT_EQ(entry->items[0].seconds, 120);
    EXPECT_TRUE(entry->client.isEmpty());
    ASSERT_TRUE(store.setClient(7, QStringLiteral("Ms Example")));
    ASSERT_TRUE(store.setNote(7, QStringLiteral("second session")));
    RecordFilter byNote;
    byNote.text = QStringLiteral("SECOND");
    EXPECT_EQ(store.countEntries(byNote), 1);
    // Opening again migrates nothing more.
    RecordStore again;
    ASSERT_TRUE(again.open(path).ok);
    EXPECT_EQ(again.entry(7)->client, QStringLiteral("Ms Example"));
    // A client cleared again is an empty text, not a refused write.
    EXPECT_TRUE(again.setClient(7, QString()));
    EXPECT_TRUE(again.entry(7)->client.isEmpty());
}

TEST(RecordStoreTest, AFileThatCantBeReadIsMovedAsideAndANewRecordStarted) {
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"not a database", QByteArray(8192, 'x')},
        {"a database cut short", QByteArray()}, // filled below from a real record
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("record/treatment-record.sqlite"));
        QByteArray damaged = c.content;
        if (damaged.isEmpty()) {
            {
                RecordStore store;
                ASSERT_TRUE(store.open(path).ok);
                QSqlQuery(store.database()).exec(QStringLiteral("PRAGMA synchronous = OFF")); // only to be quick
                for (int k = 0; k < 200; ++k)
                    store.beginEntry(RecordTime::now(), EntryKind::Download, 0, twoPrograms(k));
                QSqlQuery(store.database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            }
            damaged = contentOf(path);
            ASSERT_GT(damaged.size(), 16384);
            damaged.replace(4096, 8192, QByteArray(8192, '\x5a'));
        }
        QDir().mkpath(QFileInfo(path).absolutePath());
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(damaged);
        }
        RecordStore store;
        const RecordStore::OpenResult opened = store.open(path);
        ASSERT_TRUE(opened.ok) << opened.message.toStdString();
        ASSERT_FALSE(opened.movedTo.isEmpty());
        EXPECT_TRUE(opened.message.contains(opened.movedTo));
        EXPECT_TRUE(opened.movedTo.contains(QStringLiteral("treatment-record.damaged-")));
        EXPECT_EQ(contentOf(opened.movedTo), damaged);
        // The new record takes entries at once.
        EXPECT_EQ(store.latestEntryId(), 0);
        EXPECT_GT(store.beginEntry(RecordTime::now(), EntryKind::Download, 0, twoPrograms(1)), 0);
        EXPECT_EQ(store.countEntries({}), 1);
    }
}

TEST(RecordStoreTest, ARecordOfANewerVersionIsLeftAsItIs) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("newer.sqlite"));
    {
        RecordStore store;
        ASSERT_TRUE(store.open(path).ok);
        QSqlQuery(store.database()).exec(QStringLiteral("PRAGMA user_version = 9"));
    }
    RecordStore store;
    const RecordStore::OpenResult opened = store.open(path);
    EXPECT_FALSE(opened.ok);
    EXPECT_FALSE(opened.message.isEmpty());
    EXPECT_TRUE(opened.movedTo.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*damaged*")}, QDir::Files).size(), 0);
}

TEST(RecordStoreTest, TwoWritersAtOnceLoseNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shared.sqlite"));
    {
        RecordStore first;
        ASSERT_TRUE(first.open(path).ok);
    }
    constexpr int PerWriter = 60;
    auto write = [&](int base, int* failures) {
        RecordStore store;
        if (!store.open(path).ok) {
            *failures = PerWriter;
            return;
        }
        for (int k = 0; k < PerWriter; ++k) {
            const qint64 id = store.beginEntry(RecordTime::now(), EntryKind::Download, 0, twoPrograms(base + k));
            DownloadResult result{DownloadEnd::Started, 1, -1, ""};
            if (id == 0 || !store.endEntry(id, RecordTime::now(), result) ||
                !store.addEvent(id, {RecordTime::now(), StatusEventKind::ProgramEnded, 3, -1}))
                ++*failures;
        }
    };
    int failuresA = 0, failuresB = 0;
    std::thread a(write, 0, &failuresA);
    std::thread b(write, 1000, &failuresB);
    a.join();
    b.join();
    EXPECT_EQ(failuresA, 0);
    EXPECT_EQ(failuresB, 0);

    RecordStore store;
    ASSERT_TRUE(store.open(path, RecordStore::Mode::ReadOnly).ok);
    int entries = 0, complete = 0;
    store.forEachEntry({}, true, [&](const RecordEntry& entry) {
        ++entries;
        if (entry.items.size() == 3 && entry.events.size() == 1 && entry.outcome == RecordOutcome::Started &&
            entry.totalSeconds == 160)
            ++complete;
        return true;
    });
    EXPECT_EQ(entries, 2 * PerWriter);
    EXPECT_EQ(complete, 2 * PerWriter);
}

} // namespace
} // namespace trv
