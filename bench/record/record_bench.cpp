// The treatment record under load. Generates a record of N entries (default 100,000: three
// programs, a pause and a wait each, a note on every tenth, a client on every entry, two status
// events) in a temporary folder, then times, each as the median of R runs:
//   - the Treatment Record window made and shown with its first page (offscreen by default),
//   - a text filter that matches a few entries (a client's name) and one that matches none,
//   - the CSV export of every entry,
//   - one event reported to the recorder, on the reporting thread (largest and mean of 2,000),
//     and how long the writer's thread takes to commit one (mean, with the file's full sync).
//
//   record_bench [entries] [runs]      (RECORD_BENCH_FILE=path keeps the record made)
#include "record/RecordExport.h"
#include "record/RecordStore.h"
#include "record/RecordWriter.h"
#include "widgets/RecordTableModel.h"
#include "widgets/TreatmentRecordWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using namespace trv;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The calling thread's processor time: what the work costs, whatever else the machine runs.
double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

const char* const Names[] = {"Ágnes Kovács",   "Bence Szabó", "Claire Dubois", "Dieter Müller", "Eva Novak",
                             "François Petit", "Gábor Tóth",  "Hanna Berg",    "Ilona Varga",   "János Horváth"};

void generate(const QString& path, int entries) {
    RecordStore store;
    if (!store.open(path).ok) {
        std::fprintf(stderr, "record_bench: can't make %s\n", qPrintable(path));
        std::exit(1);
    }
    QSqlDatabase db = store.database();
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous = OFF"));
    db.transaction();
    const qint64 start = QDateTime(QDate(2020, 1, 1), QTime(8, 0)).toMSecsSinceEpoch();
    for (int k = 0; k < entries; ++k) {
        const RecordTime at{start + qint64(k) * 25 * 60 * 1000, 3600};
        const int program = 1 + k % 500;
        const std::vector<SentItem> items{
            {SentItem::Kind::Program, program, "Program " + std::to_string(program) + ", part A", 600},
            {SentItem::Kind::Pause, 0, "", 60},
            {SentItem::Kind::Program, program + 1, "Program " + std::to_string(program + 1), 480},
            {SentItem::Kind::Wait, 0, "", 0},
            {SentItem::Kind::Program, program + 2, "Prógram " + std::to_string(program + 2), 300}};
        // Many entries in one transaction: the store's own transactions nest into it as no-ops would
        // not, so the rows go in directly.
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO entry (began_ms, began_offset, ended_ms, ended_offset, kind,"
                                     " device_version, correction, verifications, outcome, total_seconds, programs,"
                                     " client, note) VALUES (?, ?, ?, ?, 'download', '1.2.0.3', 7, 1, 'started', 1440,"
                                     " ?, ?, ?)"));
        query.addBindValue(at.ms);
        query.addBindValue(at.offsetSeconds);
        query.addBindValue(at.ms + 60000);
        query.addBindValue(at.offsetSeconds);
        query.addBindValue(QStringLiteral("Program %1, part A (%1), Program %2 (%2), Prógram %3 (%3)")
                               .arg(program)
                               .arg(program + 1)
                               .arg(program + 2));
        query.addBindValue(QString::fromUtf8(Names[k % 10]) + QStringLiteral(" %1").arg(k % 997));
        query.addBindValue(k % 10 == 0 ? QStringLiteral("follow-up in two weeks") : QStringLiteral(""));
        if (!query.exec()) {
            std::fprintf(stderr, "record_bench: entry %d not written: %s\n", k, qPrintable(query.lastError().text()));
            std::exit(1);
        }
        const qint64 id = query.lastInsertId().toLongLong();
        QSqlQuery item(db);
        item.prepare(QStringLiteral("INSERT INTO item VALUES (?, ?, ?, ?, ?, ?)"));
        for (size_t p = 0; p < items.size(); ++p) {
            item.addBindValue(id);
            item.addBindValue(int(p));
            item.addBindValue(ItemKindKey(items[p].kind));
            item.addBindValue(items[p].programNumber);
            item.addBindValue(QString::fromStdString(items[p].name));
            item.addBindValue(items[p].seconds);
            item.exec();
        }
        QSqlQuery event(db);
        event.prepare(
            QStringLiteral("INSERT INTO event (entry_id, at_ms, at_offset, kind, item) VALUES (?, ?, ?, ?, ?)"));
        for (const char* kind : {"wait-reached", "ended"}) {
            event.addBindValue(id);
            event.addBindValue(at.ms + 120000);
            event.addBindValue(at.offsetSeconds);
            event.addBindValue(QString::fromLatin1(kind));
            event.addBindValue(4);
            event.exec();
        }
    }
    db.commit();
    QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir dir;
    // RECORD_BENCH_FILE keeps the generated record for a look with other tools.
    const QString path = qEnvironmentVariableIsEmpty("RECORD_BENCH_FILE")
                             ? dir.filePath(QStringLiteral("record/treatment-record.sqlite"))
                             : qEnvironmentVariable("RECORD_BENCH_FILE");

    auto started = Clock::now();
    generate(path, entries);
    std::printf("generated %d entries in %.0f ms (%lld bytes)\n", entries, msSince(started),
                static_cast<long long>(QFileInfo(path).size()));
    {
        started = Clock::now();
        RecordStore check;
        check.open(path);
        std::printf("opening with the integrity check and migration (writer's thread): %.1f ms\n", msSince(started));
    }

    std::vector<double> firstPage, narrow, none, csv, narrowCpu, noneCpu, csvCpu;
    for (int run = 0; run < runs; ++run) {
        started = Clock::now();
        {
            TreatmentRecordWindow window(path);
            window.show();
            app.processEvents();
            firstPage.push_back(msSince(started));
            if (window.model().rowCount() == 0)
                std::fprintf(stderr, "record_bench: the window shows no entry\n");

            RecordFilter filter;
            filter.text = QStringLiteral("Dieter Müller 42");
            started = Clock::now();
            double cpu = cpuMs();
            window.model().setFilter(filter);
            narrow.push_back(msSince(started));
            narrowCpu.push_back(cpuMs() - cpu);
            filter.text = QStringLiteral("nobody of that name");
            started = Clock::now();
            cpu = cpuMs();
            window.model().setFilter(filter);
            none.push_back(msSince(started));
            noneCpu.push_back(cpuMs() - cpu);
        }
        RecordStore store;
        store.open(path, RecordStore::Mode::ReadOnly);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        started = Clock::now();
        const double cpu = cpuMs();
        WriteCsv(store, {}, buffer);
        csv.push_back(msSince(started));
        csvCpu.push_back(cpuMs() - cpu);
        if (run == 0)
            std::printf(
                "CSV of %d entries: %lld bytes, the newest:\n%s", store.countEntries({}),
                static_cast<long long>(buffer.size()),
                buffer.data().left(buffer.data().indexOf('\n', buffer.data().indexOf('\n') + 1) + 1).constData());
    }
    std::printf("window made and shown with its first page: median %.1f ms\n", median(firstPage));
    std::printf("text filter, a few matches: median %.1f ms (%.1f ms processor); no match (every entry read): "
                "median %.1f ms (%.1f ms processor)\n",
                median(narrow), median(narrowCpu), median(none), median(noneCpu));
    std::printf("CSV export of all %d entries: median %.0f ms (%.0f ms processor)\n", entries, median(csv),
                median(csvCpu));

    // Events reported as a step machine does: the caller's cost, then the writer's.
    RecordWriter writer(path);
    writer.openResult();
    writer.downloadBegan({false, false, 0, {{SentItem::Kind::Program, 1, "One", 60}}});
    writer.flush();
    constexpr int Events = 2000;
    std::vector<double> costs;
    costs.reserve(Events);
    const auto written = Clock::now();
    for (int k = 0; k < Events; ++k) {
        const auto call = Clock::now();
        writer.statusEvent({k % 2 == 0 ? StatusEventKind::Held : StatusEventKind::Continued, 1, -1});
        costs.push_back(msSince(call));
    }
    writer.flush();
    const double writing = msSince(written);
    std::sort(costs.begin(), costs.end());
    auto at = [&](double share) { return costs[std::min(costs.size() - 1, size_t(share * double(costs.size())))]; };
    std::printf("reporting one event, on the reporting thread (%d events): median %.4f ms, 99th percentile %.3f ms, "
                "largest %.3f ms\n",
                Events, at(0.5), at(0.99), costs.back());
    std::printf("committing one event, on the writer's thread: mean %.2f ms\n", writing / Events);
    return 0;
}
