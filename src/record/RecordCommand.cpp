#include "record/RecordCommand.h"

#include "record/RecordExport.h"
#include "record/RecordPath.h"
#include "record/RecordStore.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QFile>

#ifndef TRV_VERSION
#define TRV_VERSION "unknown"
#endif

namespace trv {

namespace {

constexpr const char* Usage = "Usage: trv-record [--csv | --json] [--from DATE] [--to DATE] [--text TEXT]\n"
                              "                  [--demo | --file PATH] [--output FILE]\n";

constexpr const char* Help =
    "Exports the treatment record of trv: what was sent to the device, when, and what became of it.\n"
    "\n"
    "  --csv              one line per entry, comma-separated, with a header line (the default)\n"
    "  --json             one JSON document, each entry with its items and events\n"
    "  --from DATE        only entries begun on or after this day (YYYY-MM-DD, local time)\n"
    "  --to DATE          only entries begun on or before this day\n"
    "  --text TEXT        only entries whose client, note or a program name holds TEXT\n"
    "  --demo             the demo's record instead of the application's\n"
    "  --file PATH        the record file at PATH\n"
    "  --output FILE      write to FILE instead of standard output\n"
    "  --help, --version\n"
    "\n"
    "The record is read as it is, never changed; trv may go on writing it meanwhile.\n"
    "Exit status: 0 exported, 1 the record or the output can't be used, 2 wrong usage.\n";

int usageError(std::ostream& err, const QString& text) {
    err << "trv-record: " << text.toStdString() << '\n' << Usage;
    return RecordUsage;
}

std::optional<QDate> dateOption(const QCommandLineParser& parser, const QString& name, bool& ok) {
    if (!parser.isSet(name))
        return std::nullopt;
    const QDate date = QDate::fromString(parser.value(name), Qt::ISODate);
    ok = ok && date.isValid();
    return date;
}

} // namespace

int RunRecordCommand(const QStringList& args, QIODevice& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption csv(QStringLiteral("csv")), json(QStringLiteral("json")), demo(QStringLiteral("demo")),
        help(QStringLiteral("help")), version(QStringLiteral("version")),
        from(QStringLiteral("from"), QString(), QStringLiteral("DATE")),
        to(QStringLiteral("to"), QString(), QStringLiteral("DATE")),
        text(QStringLiteral("text"), QString(), QStringLiteral("TEXT")),
        file(QStringLiteral("file"), QString(), QStringLiteral("PATH")),
        output(QStringList{QStringLiteral("output"), QStringLiteral("o")}, QString(), QStringLiteral("FILE"));
    parser.addOptions({csv, json, demo, help, version, from, to, text, file, output});
    if (!parser.parse(QStringList{QStringLiteral("trv-record")} + args))
        return usageError(err, parser.errorText());
    if (parser.isSet(help)) {
        out.write(QByteArray(Usage) + '\n' + Help);
        return RecordExported;
    }
    if (parser.isSet(version)) {
        out.write(QByteArray("trv-record ") + TRV_VERSION + '\n');
        return RecordExported;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(err, QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));
    if (parser.isSet(csv) && parser.isSet(json))
        return usageError(err, QStringLiteral("--csv and --json exclude each other"));
    if (parser.isSet(demo) && parser.isSet(file))
        return usageError(err, QStringLiteral("--demo and --file exclude each other"));
    bool datesOk = true;
    RecordFilter filter;
    filter.from = dateOption(parser, QStringLiteral("from"), datesOk);
    filter.to = dateOption(parser, QStringLiteral("to"), datesOk);
    if (!datesOk)
        return usageError(err, QStringLiteral("a date is written YYYY-MM-DD"));
    if (filter.from && filter.to && *filter.from > *filter.to)
        return usageError(err, QStringLiteral("--from is after --to"));
    filter.text = parser.value(text);

    const QString path = parser.isSet(file) ? parser.value(file) : TreatmentRecordPath(parser.isSet(demo));
    RecordStore store;
    const RecordStore::OpenResult opened = store.open(path, RecordStore::Mode::ReadOnly);
    if (!opened.ok) {
        err << "trv-record: " << opened.message.toStdString() << '\n';
        return RecordFailed;
    }

    QFile target;
    QIODevice* device = &out;
    if (parser.isSet(output)) {
        target.setFileName(parser.value(output));
        if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            err << "trv-record: " << target.fileName().toStdString() << ": " << target.errorString().toStdString()
                << '\n';
            return RecordFailed;
        }
        device = &target;
    }
    QString error;
    const bool written =
        parser.isSet(json) ? WriteJson(store, filter, *device, &error) : WriteCsv(store, filter, *device, &error);
    if (!written) {
        err << "trv-record: " << error.toStdString() << '\n';
        return RecordFailed;
    }
    return RecordExported;
}

} // namespace trv
