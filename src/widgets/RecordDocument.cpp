#include "widgets/RecordDocument.h"

#include "widgets/RecordTableModel.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextDocument>

namespace trv {

namespace {

QString escaped(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

} // namespace

QString RecordDocument::title(const RecordFilter& filter) {
    const QLocale locale;
    QString period;
    if (filter.from && filter.to)
        period = tr("%1 to %2")
                     .arg(locale.toString(*filter.from, QLocale::ShortFormat),
                          locale.toString(*filter.to, QLocale::ShortFormat));
    else if (filter.from)
        period = tr("from %1").arg(locale.toString(*filter.from, QLocale::ShortFormat));
    else if (filter.to)
        period = tr("up to %1").arg(locale.toString(*filter.to, QLocale::ShortFormat));
    else
        period = tr("all entries");
    QString title = tr("Treatment record, %1").arg(period);
    if (!filter.text.trimmed().isEmpty())
        title += tr(", client filter \"%1\"").arg(filter.text.trimmed());
    return title;
}

bool RecordDocument::build(RecordStore& store, const RecordFilter& filter, QTextDocument& document) {
    const QLocale locale;
    QString html;
    html += QStringLiteral("<h3>%1</h3>").arg(escaped(title(filter)));
    html += QStringLiteral("<p>%1</p>")
                .arg(escaped(tr("Made on %1").arg(locale.toString(QDateTime::currentDateTime(), QLocale::LongFormat))));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead><tr>");
    for (const QString& heading :
         {tr("Date and time"), tr("Client"), tr("Programs"), tr("Total time"), tr("Outcome"), tr("Note")})
        html += QStringLiteral("<th align=\"left\">%1</th>").arg(escaped(heading));
    html += QStringLiteral("</tr></thead>");
    int count = 0;
    const bool read = store.forEachEntry(filter, false, [&](const RecordEntry& entry) {
        QString outcome = RecordTableModel::outcomeText(entry.outcome, entry.kind);
        if (entry.outcome == RecordOutcome::Failed && entry.message)
            outcome += QStringLiteral(": %1 (%2)").arg(entry.messageText).arg(*entry.message);
        html +=
            QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td><td>%6</td></tr>")
                .arg(escaped(locale.toString(entry.began.dateTime(), QLocale::ShortFormat)), escaped(entry.client),
                     escaped(entry.programs), DurationText(entry.totalSeconds), escaped(outcome), escaped(entry.note));
        ++count;
        return true;
    });
    html += QStringLiteral("</table><p>%1</p>")
                .arg(escaped(tr("Entries: %1").arg(count)));
    document.setHtml(html);
    return read;
}

void RecordDocument::paint(QTextDocument& document, QPagedPaintDevice& device) {
    // QTextDocument::print lays the document out for the device's page and numbers the pages.
    document.print(&device);
}

bool RecordDocument::writePdf(RecordStore& store, const RecordFilter& filter, const QString& path, QString* error) {
    QTextDocument document;
    if (!build(store, filter, document)) {
        if (error != nullptr)
            *error = store.lastError();
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(title(filter));
        writer.setCreator(QStringLiteral("trv"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setResolution(300);
        paint(document, writer);
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace trv
