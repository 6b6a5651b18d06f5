#include "record/RecordStore.h"

#include <QtCore/QAtomicInteger>
#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>
#include <QtSql/QSqlError>
#include <QtSql/QSqlQuery>

namespace trv {

namespace {

// Schema 1: entries, their items and the events seen while the status was watched.
const char* const SchemaOne[] = {
    "CREATE TABLE entry ("
    " id INTEGER PRIMARY KEY,"
    " began_ms INTEGER NOT NULL,"
    " began_offset INTEGER NOT NULL,"
    " ended_ms INTEGER,"
    " ended_offset INTEGER,"
    " kind TEXT NOT NULL,"
    " start_item INTEGER NOT NULL DEFAULT 0,"
    " device_version TEXT NOT NULL DEFAULT '',"
    " correction INTEGER,"
    " verifications INTEGER NOT NULL DEFAULT 0,"
    " outcome TEXT NOT NULL DEFAULT 'open',"
    " message INTEGER,"
    " message_text TEXT NOT NULL DEFAULT '',"
    " total_seconds INTEGER NOT NULL DEFAULT 0,"
    " programs TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX entry_began ON entry(began_ms)",
    "CREATE TABLE item ("
    " entry_id INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL,"
    " kind TEXT NOT NULL,"
    " program_number INTEGER NOT NULL DEFAULT 0,"
    " name TEXT NOT NULL DEFAULT '',"
    " seconds INTEGER NOT NULL DEFAULT 0,"
    " PRIMARY KEY (entry_id, position)) WITHOUT ROWID",
    "CREATE TABLE event ("
    " id INTEGER PRIMARY KEY,"
    " entry_id INTEGER NOT NULL REFERENCES entry(id) ON DELETE CASCADE,"
    " at_ms INTEGER NOT NULL,"
    " at_offset INTEGER NOT NULL,"
    " kind TEXT NOT NULL,"
    " item INTEGER NOT NULL DEFAULT 0,"
    " power INTEGER)",
    "CREATE INDEX event_entry ON event(entry_id)",
};

// Schema 2: the practitioner's client and note per entry.
const char* const SchemaTwo[] = {
    "ALTER TABLE entry ADD COLUMN client TEXT NOT NULL DEFAULT ''",
    "ALTER TABLE entry ADD COLUMN note TEXT NOT NULL DEFAULT ''",
};

const char* const EntryColumns = "id, began_ms, began_offset, ended_ms, ended_offset, kind, start_item, device_version,"
                                 " correction, verifications, outcome, message, message_text, total_seconds, programs,"
                                 " client, note";

QString likePattern(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QString programsText(const std::vector<SentItem>& items) {
    QStringList parts;
    for (const SentItem& item : items) {
        if (item.kind != SentItem::Kind::Program)
            continue;
        const QString name = QString::fromStdString(item.name);
        parts << (name.isEmpty() ? QString::number(item.programNumber)
                                 : QStringLiteral("%1 (%2)").arg(name).arg(item.programNumber));
    }
    return parts.join(QLatin1String(", "));
}

RecordOutcome outcomeOf(DownloadEnd end) {
    switch (end) {
    case DownloadEnd::Started:
        return RecordOutcome::Started;
    case DownloadEnd::VerifiedNotStarted:
        return RecordOutcome::Verified;
    case DownloadEnd::Failed:
        return RecordOutcome::Failed;
    case DownloadEnd::ClosedByUser:
        return RecordOutcome::Closed;
    case DownloadEnd::DeviceKeptRunning:
        return RecordOutcome::DeviceKeptRunning;
    }
    return RecordOutcome::Open;
}

RecordEntry readEntry(const QSqlQuery& query) {
    RecordEntry entry;
    entry.id = query.value(0).toLongLong();
    entry.began = {query.value(1).toLongLong(), query.value(2).toInt()};
    if (!query.value(3).isNull())
        entry.ended = RecordTime{query.value(3).toLongLong(), query.value(4).toInt()};
    const QString kind = query.value(5).toString();
    entry.kind = kind == QLatin1String("selftest") ? EntryKind::SelfTest
                 : kind == QLatin1String("resume") ? EntryKind::Resume
                                                   : EntryKind::Download;
    entry.startItem = query.value(6).toInt();
    entry.deviceVersion = query.value(7).toString();
    if (!query.value(8).isNull())
        entry.correction = query.value(8).toInt();
    entry.verifications = query.value(9).toInt();
    entry.outcome = OutcomeFromKey(query.value(10).toString());
    if (!query.value(11).isNull())
        entry.message = query.value(11).toInt();
    entry.messageText = query.value(12).toString();
    entry.totalSeconds = query.value(13).toLongLong();
    entry.programs = query.value(14).toString();
    entry.client = query.value(15).toString();
    entry.note = query.value(16).toString();
    return entry;
}

// A null QString binds as SQL NULL, which the NOT NULL text columns refuse: an empty text is stored
// as an empty text.
QString textValue(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

bool setOwnerOnly(const QString& path, bool folder) {
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (folder)
        permissions |= QFileDevice::ExeOwner;
    return QFile::setPermissions(path, permissions);
}

} // namespace

RecordTime RecordTime::now() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.toMSecsSinceEpoch(), now.offsetFromUtc()};
}

QDateTime RecordTime::dateTime() const {
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, offsetSeconds);
}

QString RecordTime::iso() const {
    QString text = dateTime().toString(Qt::ISODate);
    // A zero offset comes out as "Z"; the record always names the offset.
    if (text.endsWith(QLatin1Char('Z'))) {
        text.chop(1);
        text += QLatin1String("+00:00");
    }
    return text;
}

QString OutcomeKey(RecordOutcome outcome) {
    switch (outcome) {
    case RecordOutcome::Open:
        return QStringLiteral("open");
    case RecordOutcome::Started:
        return QStringLiteral("started");
    case RecordOutcome::Verified:
        return QStringLiteral("verified");
    case RecordOutcome::Failed:
        return QStringLiteral("failed");
    case RecordOutcome::Closed:
        return QStringLiteral("closed");
    case RecordOutcome::DeviceKeptRunning:
        return QStringLiteral("kept-running");
    }
    return QStringLiteral("open");
}

RecordOutcome OutcomeFromKey(const QString& key) {
    for (RecordOutcome outcome : {RecordOutcome::Started, RecordOutcome::Verified, RecordOutcome::Failed,
                                  RecordOutcome::Closed, RecordOutcome::DeviceKeptRunning})
        if (OutcomeKey(outcome) == key)
            return outcome;
    return RecordOutcome::Open;
}

QString EntryKindKey(EntryKind kind) {
    switch (kind) {
    case EntryKind::SelfTest:
        return QStringLiteral("selftest");
    case EntryKind::Resume:
        return QStringLiteral("resume");
    case EntryKind::Download:
        break;
    }
    return QStringLiteral("download");
}

QString StatusEventKey(StatusEventKind kind) {
    switch (kind) {
    case StatusEventKind::Held:
        return QStringLiteral("held");
    case StatusEventKind::Continued:
        return QStringLiteral("continued");
    case StatusEventKind::ResumeRequested:
        return QStringLiteral("resumed");
    case StatusEventKind::WaitReached:
        return QStringLiteral("wait-reached");
    case StatusEventKind::ProgramEnded:
        return QStringLiteral("ended");
    case StatusEventKind::PowerLow:
        return QStringLiteral("power-low");
    case StatusEventKind::ConnectionLost:
        return QStringLiteral("connection-lost");
    }
    return {};
}

std::optional<StatusEventKind> StatusEventFromKey(const QString& key) {
    for (StatusEventKind kind : {StatusEventKind::Held, StatusEventKind::Continued, StatusEventKind::ResumeRequested,
                                 StatusEventKind::WaitReached, StatusEventKind::ProgramEnded, StatusEventKind::PowerLow,
                                 StatusEventKind::ConnectionLost})
        if (StatusEventKey(kind) == key)
            return kind;
    return std::nullopt;
}

QString ItemKindKey(SentItem::Kind kind) {
    switch (kind) {
    case SentItem::Kind::Pause:
        return QStringLiteral("pause");
    case SentItem::Kind::Wait:
        return QStringLiteral("wait");
    case SentItem::Kind::Program:
        break;
    }
    return QStringLiteral("program");
}

QString DurationText(qint64 seconds) {
    seconds = std::max<qint64>(seconds, 0);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

RecordStore::RecordStore() {
    static QAtomicInteger<quint64> counter;
    connection_ = QStringLiteral("trv-record-%1").arg(++counter);
}

RecordStore::~RecordStore() {
    close();
}

void RecordStore::close() {
    if (QSqlDatabase::contains(connection_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool RecordStore::isOpen() const {
    return QSqlDatabase::contains(connection_) && QSqlDatabase::database(connection_, false).isOpen();
}

QSqlDatabase RecordStore::database() const {
    return QSqlDatabase::database(connection_, false);
}

void RecordStore::fail(const QString& what, const QString& why) {
    lastError_ = why.isEmpty() ? what : what + QLatin1String(": ") + why;
}

bool RecordStore::exec(const QString& sql) {
    QSqlQuery query(database());
    if (query.exec(sql))
        return true;
    fail(sql, query.lastError().text());
    return false;
}

int RecordStore::schemaVersion() {
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

bool RecordStore::createSchemaOne(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!db.transaction())
        return false;
    for (const char* sql : SchemaOne)
        if (!query.exec(QString::fromLatin1(sql))) {
            db.rollback();
            return false;
        }
    if (!query.exec(QStringLiteral("PRAGMA user_version = 1"))) {
        db.rollback();
        return false;
    }
    return db.commit();
}

bool RecordStore::migrate() {
    QSqlDatabase db = database();
    int version = schemaVersion();
    if (version < 0) {
        fail(tr("The schema version can't be read"), db.lastError().text());
        return false;
    }
    if (version > RecordSchemaVersion) {
        newerSchema_ = true;
        fail(tr("The record was written by a newer version of trv (schema %1)").arg(version), {});
        return false;
    }
    if (version == 0) {
        QSqlQuery tables(db);
        if (!tables.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !tables.next()) {
            fail(tr("The file is not a database"), tables.lastError().text());
            return false;
        }
        if (tables.value(0).toInt() != 0) {
            fail(tr("The file holds tables of something else"), {});
            return false;
        }
        if (!createSchemaOne(db)) {
            fail(tr("The tables can't be made"), db.lastError().text());
            return false;
        }
        version = 1;
    }
    // Each step in one transaction with its version, so a crash leaves a whole step or none.
    while (version < RecordSchemaVersion) {
        if (!db.transaction()) {
            fail(tr("The record can't be updated"), db.lastError().text());
            return false;
        }
        QSqlQuery query(db);
        bool ok = true;
        if (version == 1)
            for (const char* sql : SchemaTwo)
                ok = ok && query.exec(QString::fromLatin1(sql));
        ok = ok && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1));
        if (!ok || !db.commit()) {
            fail(tr("The record can't be updated to schema %1").arg(version + 1), query.lastError().text());
            db.rollback();
            return false;
        }
        ++version;
    }
    return true;
}

bool RecordStore::configure(Mode mode) {
    QSqlDatabase db = database();
    QSqlQuery query(db);
    // Damage shows here: a file that is no database fails the first read of its pages.
    if (mode == Mode::ReadWrite) {
        if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
            fail(tr("The file can't be read"), query.lastError().text());
            return false;
        }
        if (query.value(0).toString() != QLatin1String("ok")) {
            fail(tr("The file is damaged"), query.value(0).toString());
            return false;
        }
        query.finish();
        if (!exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !exec(QStringLiteral("PRAGMA synchronous = FULL")))
            return false;
        if (!migrate())
            return false;
    } else {
        const int version = schemaVersion();
        if (version < 1 || version > RecordSchemaVersion) {
            fail(version < 0 ? tr("The file can't be read") : tr("The file is no treatment record of this version"),
                 db.lastError().text());
            return false;
        }
        if (version < RecordSchemaVersion) {
            fail(tr("The record has an older schema: start trv once to update it"), {});
            return false;
        }
    }
    return exec(QStringLiteral("PRAGMA foreign_keys = ON"));
}

RecordStore::OpenResult RecordStore::open(const QString& path, Mode mode) {
    close();
    path_ = path;
    lastError_.clear();
    newerSchema_ = false;
    OpenResult result;
    const QFileInfo info(path);
    if (mode != Mode::ReadWrite && !info.exists()) {
        result.message = tr("There is no treatment record at %1.").arg(path);
        lastError_ = result.message;
        return result;
    }
    if (mode == Mode::ReadWrite) {
        const QString folder = info.absolutePath();
        if (!QDir().mkpath(folder) || !setOwnerOnly(folder, true)) {
            result.message = tr("The folder %1 of the treatment record can't be made.").arg(folder);
            lastError_ = result.message;
            return result;
        }
        if (!info.exists()) {
            // Made here, so SQLite takes the owner-only permissions for the file and its journals.
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || !setOwnerOnly(path, false)) {
                result.message = tr("The treatment record %1 can't be made: %2").arg(path, file.errorString());
                lastError_ = result.message;
                return result;
            }
        }
    }

    auto connect = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
        if (mode == Mode::ReadOnly)
            options += QLatin1String(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        if (!db.open()) {
            fail(tr("The file can't be opened"), db.lastError().text());
            return false;
        }
        return configure(mode);
    };
    if (connect()) {
        result.ok = true;
        return result;
    }
    const QString why = lastError_;
    close();
    if (mode != Mode::ReadWrite || newerSchema_) {
        // Nothing is moved that this program may not judge: a newer version's file stays as it is.
        result.message = tr("The treatment record %1 can't be used: %2").arg(path, why);
        return result;
    }

    // Moved aside, never deleted: what it holds may still be saved by hand.
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString base = path;
    if (base.endsWith(QLatin1String(".sqlite")))
        base.chop(7);
    QString aside = base + QStringLiteral(".damaged-%1.sqlite").arg(stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = base + QStringLiteral(".damaged-%1-%2.sqlite").arg(stamp).arg(n);
    if (!QFile::rename(path, aside)) {
        result.message = tr("The treatment record %1 can't be used (%2), and it can't be moved aside.").arg(path, why);
        return result;
    }
    QFile::rename(path + QLatin1String("-wal"), aside + QLatin1String("-wal"));
    QFile::remove(path + QLatin1String("-shm"));
    result.movedTo = aside;
    QFile fresh(path);
    if (!fresh.open(QIODevice::WriteOnly) || !setOwnerOnly(path, false) || !connect()) {
        result.message = tr("The treatment record %1 can't be used (%2). It was moved to %3, but a new one can't be "
                            "started: %4")
                             .arg(path, why, aside, lastError_);
        close();
        return result;
    }
    result.ok = true;
    result.message = tr("The treatment record %1 could not be read (%2). It was moved to %3 and a new record was "
                        "started.")
                         .arg(path, why, aside);
    return result;
}

qint64 RecordStore::beginEntry(const RecordTime& at, EntryKind kind, int startItem,
                               const std::vector<SentItem>& items) {
    QSqlDatabase db = database();
    if (!db.transaction()) {
        fail(tr("Can't begin an entry"), db.lastError().text());
        return 0;
    }
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO entry (began_ms, began_offset, kind, start_item) VALUES (?, ?, ?, ?)"));
    query.addBindValue(at.ms);
    query.addBindValue(at.offsetSeconds);
    query.addBindValue(EntryKindKey(kind));
    query.addBindValue(startItem);
    if (!query.exec()) {
        fail(tr("Can't begin an entry"), query.lastError().text());
        db.rollback();
        return 0;
    }
    const qint64 id = query.lastInsertId().toLongLong();
    // The entry and its items in one transaction: a crash leaves both or neither.
    if (!writeItems(id, items) || !db.commit()) {
        db.rollback();
        return 0;
    }
    return id;
}

bool RecordStore::writeItems(qint64 id, const std::vector<SentItem>& items) {
    QSqlQuery query(database());
    query.prepare(QStringLiteral("DELETE FROM item WHERE entry_id = ?"));
    query.addBindValue(id);
    bool ok = query.exec();
    query.prepare(QStringLiteral(
        "INSERT INTO item (entry_id, position, kind, program_number, name, seconds) VALUES (?, ?, ?, ?, ?, ?)"));
    for (size_t k = 0; ok && k < items.size(); ++k) {
        query.addBindValue(id);
        query.addBindValue(static_cast<int>(k));
        query.addBindValue(ItemKindKey(items[k].kind));
        query.addBindValue(items[k].programNumber);
        query.addBindValue(textValue(QString::fromStdString(items[k].name)));
        query.addBindValue(items[k].seconds);
        ok = query.exec();
    }
    if (ok) {
        query.prepare(QStringLiteral("UPDATE entry SET total_seconds = ?, programs = ? WHERE id = ?"));
        query.addBindValue(static_cast<qint64>(TotalSeconds(items)));
        query.addBindValue(textValue(programsText(items)));
        query.addBindValue(id);
        ok = query.exec();
    }
    if (!ok)
        fail(tr("Can't write the items"), query.lastError().text());
    return ok;
}

bool RecordStore::setItems(qint64 id, const std::vector<SentItem>& items) {
    QSqlDatabase db = database();
    if (!db.transaction()) {
        fail(tr("Can't write the items"), db.lastError().text());
        return false;
    }
    if (!writeItems(id, items) || !db.commit()) {
        db.rollback();
        return false;
    }
    return true;
}

bool RecordStore::setDevice(qint64 id, const QString& version, int correction) {
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE entry SET device_version = ?, correction = ? WHERE id = ?"));
    query.addBindValue(textValue(version));
    query.addBindValue(correction);
    query.addBindValue(id);
    if (query.exec())
        return true;
    fail(tr("Can't write the device"), query.lastError().text());
    return false;
}

bool RecordStore::endEntry(qint64 id, const RecordTime& at, const DownloadResult& result) {
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE entry SET ended_ms = ?, ended_offset = ?, verifications = ?, outcome = ?,"
                                 " message = ?, message_text = ? WHERE id = ?"));
    query.addBindValue(at.ms);
    query.addBindValue(at.offsetSeconds);
    query.addBindValue(result.verifications);
    query.addBindValue(OutcomeKey(outcomeOf(result.end)));
    query.addBindValue(result.message >= 0 ? QVariant(result.message) : QVariant(QMetaType(QMetaType::Int)));
    query.addBindValue(textValue(QString::fromStdString(result.messageText)));
    query.addBindValue(id);
    if (query.exec())
        return true;
    fail(tr("Can't end the entry"), query.lastError().text());
    return false;
}

bool RecordStore::addEvent(qint64 id, const RecordEvent& event) {
    QSqlQuery query(database());
    query.prepare(
        QStringLiteral("INSERT INTO event (entry_id, at_ms, at_offset, kind, item, power) VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(id);
    query.addBindValue(event.at.ms);
    query.addBindValue(event.at.offsetSeconds);
    query.addBindValue(StatusEventKey(event.kind));
    query.addBindValue(event.item);
    query.addBindValue(event.powerLevel >= 0 ? QVariant(event.powerLevel) : QVariant(QMetaType(QMetaType::Int)));
    if (query.exec())
        return true;
    fail(tr("Can't add the event"), query.lastError().text());
    return false;
}

bool RecordStore::setClient(qint64 id, const QString& client) {
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE entry SET client = ? WHERE id = ?"));
    query.addBindValue(textValue(client));
    query.addBindValue(id);
    if (query.exec() && query.numRowsAffected() == 1)
        return true;
    fail(tr("Can't write the client"), query.lastError().text());
    return false;
}

bool RecordStore::setNote(qint64 id, const QString& note) {
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE entry SET note = ? WHERE id = ?"));
    query.addBindValue(textValue(note));
    query.addBindValue(id);
    if (query.exec() && query.numRowsAffected() == 1)
        return true;
    fail(tr("Can't write the note"), query.lastError().text());
    return false;
}

QString RecordStore::whereClause(const RecordFilter& filter, QVariantList& values) {
    QStringList terms;
    if (filter.from) {
        terms << QStringLiteral("began_ms >= ?");
        values << filter.from->startOfDay().toMSecsSinceEpoch();
    }
    if (filter.to) {
        terms << QStringLiteral("began_ms < ?");
        values << filter.to->addDays(1).startOfDay().toMSecsSinceEpoch();
    }
    const QString text = filter.text.trimmed();
    if (!text.isEmpty()) {
        terms << QStringLiteral(
            "(client LIKE ? ESCAPE '\\' OR note LIKE ? ESCAPE '\\' OR programs LIKE ? ESCAPE '\\')");
        const QString pattern = likePattern(text);
        values << pattern << pattern << pattern;
    }
    return terms.isEmpty() ? QStringLiteral("1") : terms.join(QLatin1String(" AND "));
}

int RecordStore::deleteEntries(const RecordFilter& filter) {
    QVariantList values;
    const QString where = whereClause(filter, values);
    QSqlQuery query(database());
    query.prepare(QStringLiteral("DELETE FROM entry WHERE ") + where);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        fail(tr("Can't erase the entries"), query.lastError().text());
        return -1;
    }
    return query.numRowsAffected();
}

qint64 RecordStore::latestEntryId() {
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("SELECT max(id) FROM entry")) && query.next())
        return query.value(0).toLongLong();
    return 0;
}

std::vector<RecordItem> RecordStore::itemsOf(qint64 id) {
    std::vector<RecordItem> items;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT kind, program_number, name, seconds FROM item WHERE entry_id = ? ORDER BY position"));
    query.addBindValue(id);
    if (!query.exec())
        return items;
    while (query.next()) {
        RecordItem item;
        const QString kind = query.value(0).toString();
        item.kind = kind == QLatin1String("pause")  ? SentItem::Kind::Pause
                    : kind == QLatin1String("wait") ? SentItem::Kind::Wait
                                                    : SentItem::Kind::Program;
        item.programNumber = query.value(1).toInt();
        item.name = query.value(2).toString();
        item.seconds = query.value(3).toInt();
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<RecordEvent> RecordStore::eventsOf(qint64 id) {
    std::vector<RecordEvent> events;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT at_ms, at_offset, kind, item, power FROM event WHERE entry_id = ? ORDER BY at_ms, id"));
    query.addBindValue(id);
    if (!query.exec())
        return events;
    while (query.next()) {
        const std::optional<StatusEventKind> kind = StatusEventFromKey(query.value(2).toString());
        if (!kind)
            continue; // a kind of a later version
        RecordEvent event;
        event.at = {query.value(0).toLongLong(), query.value(1).toInt()};
        event.kind = *kind;
        event.item = query.value(3).toInt();
        event.powerLevel = query.value(4).isNull() ? -1 : query.value(4).toInt();
        events.push_back(event);
    }
    return events;
}

std::optional<RecordEntry> RecordStore::entry(qint64 id) {
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM entry WHERE id = ?").arg(QLatin1String(EntryColumns)));
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return std::nullopt;
    RecordEntry entry = readEntry(query);
    entry.items = itemsOf(id);
    entry.events = eventsOf(id);
    return entry;
}

int RecordStore::countEntries(const RecordFilter& filter) {
    QVariantList values;
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT count(*) FROM entry WHERE ") + whereClause(filter, values));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (query.exec() && query.next())
        return query.value(0).toInt();
    return -1;
}

bool RecordStore::forEachEntry(const RecordFilter& filter, bool withDetails,
                               const std::function<bool(const RecordEntry&)>& each) {
    QVariantList values;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM entry WHERE %2 ORDER BY began_ms DESC, id DESC")
                      .arg(QLatin1String(EntryColumns), whereClause(filter, values)));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        fail(tr("Can't read the entries"), query.lastError().text());
        return false;
    }
    while (query.next()) {
        RecordEntry entry = readEntry(query);
        if (withDetails) {
            entry.items = itemsOf(entry.id);
            entry.events = eventsOf(entry.id);
        }
        if (!each(entry))
            break;
    }
    if (query.lastError().isValid()) {
        fail(tr("Can't read the entries"), query.lastError().text());
        return false;
    }
    return true;
}

} // namespace trv
