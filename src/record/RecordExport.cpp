#include "record/RecordExport.h"

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>

namespace trv {

namespace {

class Output {
public:
    explicit Output(QIODevice& device) : device_(device) {}
    void add(const QString& text) {
        buffer_ += text.toUtf8();
        if (buffer_.size() >= 1 << 16)
            flush();
    }
    void addBytes(const QByteArray& bytes) {
        buffer_ += bytes;
        flush();
    }
    bool flush() {
        if (!buffer_.isEmpty() && device_.write(buffer_) != buffer_.size())
            ok_ = false;
        buffer_.clear();
        return ok_;
    }
    bool ok() const { return ok_; }
    QString error() const { return device_.errorString(); }

private:
    QIODevice& device_;
    QByteArray buffer_;
    bool ok_ = true;
};

bool finish(RecordStore& store, bool read, Output& out, QString* error) {
    const bool written = out.flush();
    if (error != nullptr) {
        if (!read)
            *error = store.lastError();
        else if (!written)
            *error = out.error();
    }
    return read && written;
}

QString optionalNumber(const std::optional<int>& value) {
    return value ? QString::number(*value) : QString();
}

} // namespace

QString CsvField(const QString& text) {
    // A spreadsheet takes a cell that starts with one of these as a formula, which could run what a
    // typed client name or note holds: such a text keeps a leading apostrophe, which shows it as text.
    static const QString formula = QStringLiteral("=+-@\t\r");
    const QString cell = !text.isEmpty() && formula.contains(text.front()) ? QLatin1Char('\'') + text : text;
    static const QString special = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (QChar c : cell)
        if (special.contains(c)) {
            quote = true;
            break;
        }
    if (!quote)
        return cell;
    QString quoted = cell;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool WriteCsv(RecordStore& store, const RecordFilter& filter, QIODevice& out, QString* error) {
    Output output(out);
    output.add(QStringLiteral("id,began,ended,kind,client,note,programs,total_time,total_seconds,outcome,message,"
                              "message_text,device_version,correction,verifications\r\n"));
    const bool read = store.forEachEntry(filter, false, [&](const RecordEntry& entry) {
        const QStringList fields = {
            QString::number(entry.id),
            entry.began.iso(),
            entry.ended ? entry.ended->iso() : QString(),
            EntryKindKey(entry.kind),
            CsvField(entry.client),
            CsvField(entry.note),
            CsvField(entry.programs),
            DurationText(entry.totalSeconds),
            QString::number(entry.totalSeconds),
            OutcomeKey(entry.outcome),
            optionalNumber(entry.message),
            CsvField(entry.messageText),
            CsvField(entry.deviceVersion),
            optionalNumber(entry.correction),
            QString::number(entry.verifications),
        };
        output.add(fields.join(QLatin1Char(',')) + QLatin1String("\r\n"));
        return output.ok();
    });
    return finish(store, read, output, error);
}

bool WriteJson(RecordStore& store, const RecordFilter& filter, QIODevice& out, QString* error) {
    QJsonArray entries;
    const bool read = store.forEachEntry(filter, true, [&](const RecordEntry& entry) {
        QJsonObject object{
            {QStringLiteral("id"), entry.id},
            {QStringLiteral("began"), entry.began.iso()},
            {QStringLiteral("ended"), entry.ended ? QJsonValue(entry.ended->iso()) : QJsonValue()},
            {QStringLiteral("kind"), EntryKindKey(entry.kind)},
            {QStringLiteral("start_item"), entry.startItem},
            {QStringLiteral("client"), entry.client},
            {QStringLiteral("note"), entry.note},
            {QStringLiteral("total_seconds"), entry.totalSeconds},
            {QStringLiteral("outcome"), OutcomeKey(entry.outcome)},
            {QStringLiteral("message"), entry.message ? QJsonValue(*entry.message) : QJsonValue()},
            {QStringLiteral("message_text"), entry.messageText},
            {QStringLiteral("device_version"), entry.deviceVersion},
            {QStringLiteral("correction"), entry.correction ? QJsonValue(*entry.correction) : QJsonValue()},
            {QStringLiteral("verifications"), entry.verifications},
        };
        QJsonArray items;
        for (const RecordItem& item : entry.items) {
            QJsonObject one{{QStringLiteral("kind"), ItemKindKey(item.kind)},
                            {QStringLiteral("seconds"), item.seconds}};
            if (item.kind == SentItem::Kind::Program) {
                one.insert(QStringLiteral("program"), item.programNumber);
                one.insert(QStringLiteral("name"), item.name);
            }
            items.append(one);
        }
        object.insert(QStringLiteral("items"), items);
        QJsonArray events;
        for (const RecordEvent& event : entry.events) {
            QJsonObject one{{QStringLiteral("at"), event.at.iso()},
                            {QStringLiteral("kind"), StatusEventKey(event.kind)}};
            if (event.item > 0)
                one.insert(QStringLiteral("item"), event.item);
            if (event.powerLevel >= 0)
                one.insert(QStringLiteral("power"), event.powerLevel);
            events.append(one);
        }
        object.insert(QStringLiteral("events"), events);
        entries.append(object);
        return true;
    });
    Output output(out);
    if (read) {
        const QJsonObject document{{QStringLiteral("schema"), RecordSchemaVersion},
                                   {QStringLiteral("entries"), entries}};
        output.addBytes(QJsonDocument(document).toJson(QJsonDocument::Indented));
    }
    return finish(store, read, output, error);
}

} // namespace trv
