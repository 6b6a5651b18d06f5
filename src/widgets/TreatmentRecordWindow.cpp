#include "widgets/TreatmentRecordWindow.h"

#include "record/RecordExport.h"
#include "record/RecordWriter.h"
#include "widgets/PagePrinting.h"
#include "widgets/RecordDocument.h"
#include "widgets/RecordTableModel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace trv {

namespace {

constexpr int SearchDelayMs = 250; // typing settles before the record is asked

QString eventText(const RecordEvent& event) {
    QString text;
    switch (event.kind) {
    case StatusEventKind::Held:
        text = TreatmentRecordWindow::tr("Held by the user");
        break;
    case StatusEventKind::Continued:
        text = TreatmentRecordWindow::tr("Continued by the user");
        break;
    case StatusEventKind::ResumeRequested:
        text = TreatmentRecordWindow::tr("Resume asked for");
        break;
    case StatusEventKind::WaitReached:
        text = TreatmentRecordWindow::tr("Device stopped at a wait");
        break;
    case StatusEventKind::ProgramEnded:
        text = TreatmentRecordWindow::tr("Device found idle: the program ended");
        break;
    case StatusEventKind::PowerLow:
        text = TreatmentRecordWindow::tr("Power low (level %1)").arg(event.powerLevel);
        break;
    case StatusEventKind::ConnectionLost:
        text = TreatmentRecordWindow::tr("Connection lost");
        break;
    }
    if (event.item > 0)
        text += TreatmentRecordWindow::tr(", item %1").arg(event.item);
    return text;
}

} // namespace

TreatmentRecordWindow::TreatmentRecordWindow(const QString& path, RecordWriter* writer, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TreatmentRecord"));
    setWindowTitle(tr("Treatment Record"));
    resize(960, 640);

    const RecordStore::OpenResult opened = store_.open(path, RecordStore::Mode::Attach);
    if (!opened.ok)
        openError_ = opened.message;
    model_ = std::make_unique<RecordTableModel>(store_);

    fromCheck_ = new QCheckBox(tr("From"), this);
    fromDate_ = new QDateEdit(QDate::currentDate().addMonths(-1), this);
    toCheck_ = new QCheckBox(tr("To"), this);
    toDate_ = new QDateEdit(QDate::currentDate(), this);
    for (QDateEdit* date : {fromDate_, toDate_}) {
        date->setCalendarPopup(true);
        date->setEnabled(false);
    }
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("RecordSearch"));
    search_->setPlaceholderText(tr("Client, note or program name"));
    search_->setClearButtonEnabled(true);
    searchDelay_ = new QTimer(this);
    searchDelay_->setSingleShot(true);
    searchDelay_->setInterval(SearchDelayMs);

    auto* filters = new QHBoxLayout;
    filters->addWidget(fromCheck_);
    filters->addWidget(fromDate_);
    filters->addWidget(toCheck_);
    filters->addWidget(toDate_);
    filters->addSpacing(12);
    filters->addWidget(new QLabel(tr("Search:"), this));
    filters->addWidget(search_, 1);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("RecordList"));
    table_->setModel(model_.get());
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Fixed sections: sizing each column to its contents would read every row.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(RecordTableModel::When, 150);
    table_->setColumnWidth(RecordTableModel::Client, 160);
    table_->setColumnWidth(RecordTableModel::Programs, 300);
    table_->setColumnWidth(RecordTableModel::TotalTime, 80);

    detail_ = new QTextBrowser(this);
    detail_->setObjectName(QStringLiteral("RecordEntry"));
    client_ = new QLineEdit(this);
    client_->setObjectName(QStringLiteral("RecordClient"));
    note_ = new QLineEdit(this);
    note_->setObjectName(QStringLiteral("RecordNote"));
    auto* edits = new QFormLayout;
    edits->addRow(tr("Client:"), client_);
    edits->addRow(tr("Note:"), note_);
    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addLayout(edits);
    lowerLayout->addWidget(detail_, 1);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(table_);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    status_ = new QLabel(this);
    exportCsv_ = new QPushButton(tr("Export CSV..."), this);
    exportPdf_ = new QPushButton(tr("Export PDF..."), this);
    print_ = new QPushButton(tr("Print..."), this);
    delete_ = new QPushButton(tr("Delete Entries..."), this);
    delete_->setToolTip(tr("Erases the entries the period and the search take, after a question"));
    auto* close = new QPushButton(tr("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    for (QPushButton* button : {exportCsv_, exportPdf_, print_, delete_, close})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    confirm = [this](const QString& question) {
        return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
    chooseFile = [this](const QString& caption, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(this, caption, QDir::home().filePath(suggested), filter);
    };

    connect(fromCheck_, &QCheckBox::toggled, fromDate_, &QWidget::setEnabled);
    connect(toCheck_, &QCheckBox::toggled, toDate_, &QWidget::setEnabled);
    for (QCheckBox* check : {fromCheck_, toCheck_})
        connect(check, &QCheckBox::toggled, this, &TreatmentRecordWindow::applyFilter);
    for (QDateEdit* date : {fromDate_, toDate_})
        connect(date, &QDateEdit::dateChanged, this, &TreatmentRecordWindow::applyFilter);
    connect(search_, &QLineEdit::textChanged, searchDelay_, qOverload<>(&QTimer::start));
    connect(searchDelay_, &QTimer::timeout, this, &TreatmentRecordWindow::applyFilter);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TreatmentRecordWindow::showEntry);
    connect(model_.get(), &QAbstractItemModel::modelReset, this, &TreatmentRecordWindow::showEntry);
    connect(client_, &QLineEdit::editingFinished, this, &TreatmentRecordWindow::storeClient);
    connect(note_, &QLineEdit::editingFinished, this, &TreatmentRecordWindow::storeNote);
    connect(exportCsv_, &QPushButton::clicked, this, &TreatmentRecordWindow::exportCsv);
    connect(exportPdf_, &QPushButton::clicked, this, &TreatmentRecordWindow::exportPdf);
    connect(print_, &QPushButton::clicked, this, &TreatmentRecordWindow::print);
    connect(delete_, &QPushButton::clicked, this, &TreatmentRecordWindow::deletePeriod);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    if (writer != nullptr)
        connect(writer, &RecordWriter::entryChanged, this, &TreatmentRecordWindow::entryWritten, Qt::QueuedConnection);

    if (!openError_.isEmpty()) {
        status_->setText(openError_);
        for (QWidget* widget : std::initializer_list<QWidget*>{exportCsv_, exportPdf_, print_, delete_, client_, note_})
            widget->setEnabled(false);
        return;
    }
    applyFilter();
}

TreatmentRecordWindow::~TreatmentRecordWindow() {
    // The view lets go of the model before the model and the connection go.
    table_->setModel(nullptr);
}

RecordFilter TreatmentRecordWindow::filter() const {
    RecordFilter filter;
    if (fromCheck_->isChecked())
        filter.from = fromDate_->date();
    if (toCheck_->isChecked())
        filter.to = toDate_->date();
    filter.text = search_->text();
    return filter;
}

void TreatmentRecordWindow::applyFilter() {
    searchDelay_->stop();
    if (!openError_.isEmpty())
        return;
    model_->setFilter(filter());
    status_->setText(model_->canFetchMore({}) ? tr("Entries: %1 and more").arg(model_->rowCount())
                                              : tr("Entries: %1").arg(model_->rowCount()));
    if (model_->rowCount() > 0)
        selectRow(0);
}

void TreatmentRecordWindow::selectRow(int row) {
    table_->selectionModel()->setCurrentIndex(model_->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

qint64 TreatmentRecordWindow::selectedId() const {
    const QModelIndex current = table_->selectionModel()->currentIndex();
    return current.isValid() ? model_->entryId(current.row()) : 0;
}

void TreatmentRecordWindow::showEntry() {
    const qint64 id = selectedId();
    const std::optional<RecordEntry> entry = id != 0 ? store_.entry(id) : std::nullopt;
    client_->setEnabled(entry.has_value());
    note_->setEnabled(entry.has_value());
    if (!entry) {
        client_->clear();
        note_->clear();
        detail_->clear();
        return;
    }
    client_->setText(entry->client);
    note_->setText(entry->note);

    const QLocale locale;
    QString html = QStringLiteral("<p><b>%1</b></p><p>")
                       .arg(RecordTableModel::outcomeText(entry->outcome, entry->kind).toHtmlEscaped());
    html += tr("Began %1").arg(locale.toString(entry->began.dateTime(), QLocale::LongFormat)).toHtmlEscaped();
    if (entry->ended)
        html += QStringLiteral("<br>") +
                tr("Ended %1").arg(locale.toString(entry->ended->dateTime(), QLocale::LongFormat)).toHtmlEscaped();
    if (entry->message)
        html +=
            QStringLiteral("<br>") + tr("Message %1: %2").arg(*entry->message).arg(entry->messageText).toHtmlEscaped();
    if (!entry->deviceVersion.isEmpty())
        html += QStringLiteral("<br>") + tr("Device version %1, correction %2 %")
                                             .arg(entry->deviceVersion)
                                             .arg(entry->correction.value_or(0))
                                             .toHtmlEscaped();
    html += QStringLiteral("<br>") + tr("Verifications: %1").arg(entry->verifications).toHtmlEscaped();
    if (entry->kind == EntryKind::Resume)
        html += QStringLiteral("<br>") + tr("Started from item %1").arg(entry->startItem + 1).toHtmlEscaped();
    html += QStringLiteral("</p><table cellpadding=\"2\">");
    int position = 0;
    for (const RecordItem& item : entry->items) {
        QString what;
        switch (item.kind) {
        case SentItem::Kind::Program:
            what = item.name.isEmpty() ? tr("Program %1").arg(item.programNumber)
                                       : QStringLiteral("%1 (%2)").arg(item.name).arg(item.programNumber);
            break;
        case SentItem::Kind::Pause:
            what = tr("Pause");
            break;
        case SentItem::Kind::Wait:
            what = tr("Wait");
            break;
        }
        html +=
            QStringLiteral("<tr><td align=\"right\">%1.</td><td>%2</td><td align=\"right\">%3</td></tr>")
                .arg(++position)
                .arg(what.toHtmlEscaped(), item.kind == SentItem::Kind::Wait ? QString() : DurationText(item.seconds));
    }
    html += QStringLiteral("<tr><td></td><td><b>%1</b></td><td align=\"right\"><b>%2</b></td></tr></table>")
                .arg(tr("Total time").toHtmlEscaped(), DurationText(entry->totalSeconds));
    if (!entry->events.empty()) {
        html += QStringLiteral("<p><b>%1</b></p><table cellpadding=\"2\">").arg(tr("Device status").toHtmlEscaped());
        for (const RecordEvent& event : entry->events)
            html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                        .arg(locale.toString(event.at.dateTime().time(), QLocale::LongFormat).toHtmlEscaped(),
                             eventText(event).toHtmlEscaped());
        html += QStringLiteral("</table>");
    }
    detail_->setHtml(html);
}

void TreatmentRecordWindow::storeClient() {
    const qint64 id = selectedId();
    if (id == 0 || !client_->isModified())
        return;
    client_->setModified(false);
    if (!store_.setClient(id, client_->text().trimmed()))
        return showFailure(store_.lastError());
    reloadKeepingSelection();
}

void TreatmentRecordWindow::storeNote() {
    const qint64 id = selectedId();
    if (id == 0 || !note_->isModified())
        return;
    note_->setModified(false);
    if (!store_.setNote(id, note_->text().trimmed()))
        showFailure(store_.lastError());
}

void TreatmentRecordWindow::entryWritten(qint64) {
    // A field being edited keeps its text: the list follows once the user is done.
    if (client_->hasFocus() || note_->hasFocus())
        return;
    reloadKeepingSelection();
}

void TreatmentRecordWindow::reloadKeepingSelection() {
    const qint64 id = selectedId();
    model_->refresh();
    const int row = model_->rowOf(id);
    selectRow(row >= 0 ? row : 0);
}

void TreatmentRecordWindow::showFailure(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

void TreatmentRecordWindow::exportCsv() {
    const QString path = chooseFile(tr("Export CSV"), QStringLiteral("treatment-record.csv"), tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    QString error;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return showFailure(tr("%1 can't be written: %2").arg(path, file.errorString()));
    if (!WriteCsv(store_, filter(), file, &error))
        return showFailure(tr("%1 can't be written: %2").arg(path, error));
    file.close();
    status_->setText(tr("Exported to %1").arg(path));
}

void TreatmentRecordWindow::exportPdf() {
    const QString path = chooseFile(tr("Export PDF"), QStringLiteral("treatment-record.pdf"), tr("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!RecordDocument::writePdf(store_, filter(), path, &error))
        return showFailure(tr("%1 can't be written: %2").arg(path, error));
    status_->setText(tr("Exported to %1").arg(path));
}

void TreatmentRecordWindow::print() {
    const RecordFilter current = filter();
    QTextDocument document;
    if (!RecordDocument::build(store_, current, document))
        return showFailure(store_.lastError());
    QString error;
    const auto paint = [&document](QPagedPaintDevice& printer) { RecordDocument::paint(document, printer); };
    if (PrintPages(this, RecordDocument::title(current), paint, &error) == PrintOutcome::Unavailable)
        showFailure(tr("Printing isn't available: %1").arg(error));
}

void TreatmentRecordWindow::deletePeriod() {
    const RecordFilter current = filter();
    const int count = store_.countEntries(current);
    if (count <= 0) {
        status_->setText(tr("No entries to delete"));
        return;
    }
    const QString question = tr("Delete for good the %1 entries of %2? This can't be undone.")
                                 .arg(count)
                                 .arg(RecordDocument::title(current));
    if (!confirm(question))
        return;
    const int erased = store_.deleteEntries(current);
    if (erased < 0)
        return showFailure(store_.lastError());
    applyFilter();
    status_->setText(tr("Entries deleted: %1").arg(erased));
}

} // namespace trv
