// What leaves the record: CSV that a spreadsheet reads back field for field, and trv-record's
// answers and exit statuses.
#include "record/RecordExport.h"
#include "record/RecordCommand.h"
#include "record/RecordStore.h"

#include <QtCore/QBuffer>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>

namespace trv {
namespace {

// RFC 4180 read back: records of fields, quotes doubled inside quoted fields, CR LF between records.
std::vector<QStringList> parseCsv(const QString& text) {
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (quoted) {
            if (c == QLatin1Char('"') && k + 1 < text.size() && text[k + 1] == QLatin1Char('"')) {
                field += c;
                ++k;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && k + 1 < text.size() && text[k + 1] == QLatin1Char('\n')) {
            record << field;
            field.clear();
            records.push_back(record);
            record.clear();
            ++k;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.isEmpty() && record.isEmpty()) << "the last record lacks its CR LF";
    return records;
}

struct FilledRecord {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("r.sqlite"));
    RecordStore store;
    qint64 tricky = 0;

    FilledRecord() {
        EXPECT_TRUE(store.open(path).ok);
        const RecordTime march{
            QDateTime(QDate(2026, 3, 1), QTime(14, 5, 9), Qt::OffsetFromUTC, 3600).toMSecsSinceEpoch(), 3600};
        tricky = store.beginEntry(march, EntryKind::Download, 0,
                                  {{SentItem::Kind::Program, 12, "Gyógy, \"első\" lépés", 600},
                                   {SentItem::Kind::Wait, 0, "", 0},
                                   {SentItem::Kind::Program, 5, "Ünnep", 300}});
        store.setClient(tricky, QStringLiteral("Kovács, Éva \"Évi\""));
        store.setNote(tricky, QStringLiteral("first line\nsecond line"));
        store.endEntry(tricky, {march.ms + 65000, 3600}, {DownloadEnd::Failed, 2, 9, "Bad reply, try again"});
        const RecordTime april{QDateTime(QDate(2026, 4, 2), QTime(9, 0), Qt::OffsetFromUTC, 7200).toMSecsSinceEpoch(),
                               7200};
        const qint64 plain = store.beginEntry(april, EntryKind::SelfTest, 0, {{SentItem::Kind::Program, 21, "", 5}});
        store.addEvent(plain, {april, StatusEventKind::PowerLow, 1, 110});
    }
};

// Texts a spreadsheet would run as formulas are shown as text; others are left as they are.
TEST(RecordExportTest, CsvFieldsNeverStartAFormula) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"=HYPERLINK(\"http://x\",\"y\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""},
        {"+36 30 123 4567", "'+36 30 123 4567"},
        {"-2 sessions", "'-2 sessions"},
        {"@sum(1)", "'@sum(1)"},
        {"\tcell", "'\tcell"},
        {"Kovács-Nagy Éva", "Kovács-Nagy Éva"},
        {"a=b", "a=b"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvField(QString::fromUtf8(c.text)), QString::fromUtf8(c.field)) << c.text;
}

TEST(RecordExportTest, CsvCarriesCommasQuotesLineBreaksAndAccentsIntact) {
    FilledRecord record;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_TRUE(WriteCsv(record.store, {}, buffer, &error)) << error.toStdString();
    const QString text = QString::fromUtf8(buffer.data());
    ASSERT_EQ(QString::fromUtf8(buffer.data()).toUtf8(), buffer.data()); // valid UTF-8
    const std::vector<QStringList> rows = parseCsv(text);
    ASSERT_EQ(rows.size(), 3u);
    const QStringList& header = rows[0];
    for (const QStringList& row : rows)
        ASSERT_EQ(row.size(), header.size());
    auto field = [&](int row, const char* name) { return rows[static_cast<size_t>(row)][header.indexOf(name)]; };
    // Newest first: the self-test of April, then March's entry.
    EXPECT_EQ(field(1, "kind"), QStringLiteral("selftest"));
    EXPECT_EQ(field(1, "began"), QStringLiteral("2026-04-02T09:00:00+02:00"));
    EXPECT_EQ(field(2, "began"), QStringLiteral("2026-03-01T14:05:09+01:00"));
    EXPECT_EQ(field(2, "ended"), QStringLiteral("2026-03-01T14:06:14+01:00"));
    EXPECT_EQ(field(2, "client"), QStringLiteral("Kovács, Éva \"Évi\""));
    EXPECT_EQ(field(2, "note"), QStringLiteral("first line\nsecond line"));
    EXPECT_EQ(field(2, "programs"), QStringLiteral("Gyógy, \"első\" lépés (12), Ünnep (5)"));
    EXPECT_EQ(field(2, "total_time"), QStringLiteral("0:15:00"));
    EXPECT_EQ(field(2, "outcome"), QStringLiteral("failed"));
    EXPECT_EQ(field(2, "message"), QStringLiteral("9"));
    EXPECT_EQ(field(2, "message_text"), QStringLiteral("Bad reply, try again"));
    EXPECT_EQ(field(2, "verifications"), QStringLiteral("2"));

    // The filter takes the client's text, accents and all, and the period.
    RecordFilter filter;
    filter.text = QStringLiteral("Éva");
    EXPECT_EQ(record.store.countEntries(filter), 1);
    filter.text = QStringLiteral("ünnep"); // a program name; case folds for ASCII only
    EXPECT_EQ(record.store.countEntries(filter), 0);
    filter.text = QStringLiteral("Ünnep");
    EXPECT_EQ(record.store.countEntries(filter), 1);
    filter = {};
    filter.from = QDate(2026, 4, 2);
    filter.to = QDate(2026, 4, 2);
    EXPECT_EQ(record.store.countEntries(filter), 1);
    filter.text = QStringLiteral("%"); // taken as a character, not as a pattern
    EXPECT_EQ(record.store.countEntries(filter), 0);
}

TEST(RecordExportTest, TrvRecordAnswersWithItsExitStatuses) {
    FilledRecord record;
    const QString missing = record.dir.filePath(QStringLiteral("none.sqlite"));
    const struct {
        QStringList args;
        int status;
        const char* inOutput;
    } cases[] = {
        {{QStringLiteral("--help")}, RecordExported, "Exit status"},
        {{QStringLiteral("--file"), record.path}, RecordExported, "id,began,"},
        {{QStringLiteral("--file"), record.path, QStringLiteral("--from"), QStringLiteral("2026-04-01")},
         RecordExported,
         "selftest"},
        {{QStringLiteral("--file"), record.path, QStringLiteral("--json"), QStringLiteral("--text"),
          QStringLiteral("Kovács")},
         RecordExported,
         "\"message\": 9"},
        {{QStringLiteral("--file"), missing}, RecordFailed, ""},
        {{QStringLiteral("--from"), QStringLiteral("1.3.2026")}, RecordUsage, ""},
        {{QStringLiteral("--csv"), QStringLiteral("--json")}, RecordUsage, ""},
        {{QStringLiteral("--demo"), QStringLiteral("--file"), record.path}, RecordUsage, ""},
        {{QStringLiteral("--bogus")}, RecordUsage, ""},
        {{QStringLiteral("extra")}, RecordUsage, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        std::ostringstream err;
        EXPECT_EQ(RunRecordCommand(c.args, out, err), c.status);
        if (c.status == RecordExported)
            EXPECT_TRUE(out.data().contains(c.inOutput));
        else
            EXPECT_FALSE(err.str().empty());
    }
    // The April self-test only: its event travels in the JSON, the March entry stays out.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    std::ostringstream err;
    ASSERT_EQ(RunRecordCommand({QStringLiteral("--file"), record.path, QStringLiteral("--json"), QStringLiteral("--to"),
                                QStringLiteral("2026-03-01")},
                               out, err),
              RecordExported);
    const QJsonArray entries = QJsonDocument::fromJson(out.data()).object().value(QStringLiteral("entries")).toArray();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].toObject().value(QStringLiteral("items")).toArray().size(), 3);
    EXPECT_EQ(entries[0].toObject().value(QStringLiteral("client")).toString(), QStringLiteral("Kovács, Éva \"Évi\""));
}

} // namespace
} // namespace trv
