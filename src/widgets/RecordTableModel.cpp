#include "widgets/RecordTableModel.h"

#include <QtSql/QSqlQuery>

namespace trv {

RecordTableModel::RecordTableModel(RecordStore& store, QObject* parent) : QAbstractTableModel(parent), store_(store) {}

std::vector<RecordTableModel::Row> RecordTableModel::page(int limit) const {
    std::vector<Row> rows;
    QVariantList values;
    QString where = RecordStore::whereClause(filter_, values);
    if (!rows_.empty()) {
        // Keyset paging: the page after the last row loaded, along the index on the start time.
        where += QStringLiteral(" AND (began_ms < ? OR (began_ms = ? AND id < ?))");
        values << rows_.back().began.ms << rows_.back().began.ms << rows_.back().id;
    }
    QSqlQuery query(store_.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT id, began_ms, began_offset, client, programs, total_seconds, outcome, kind,"
                                 " message FROM entry WHERE %1 ORDER BY began_ms DESC, id DESC LIMIT %2")
                      .arg(where)
                      .arg(limit));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return rows;
    while (query.next()) {
        Row row;
        row.id = query.value(0).toLongLong();
        row.began = {query.value(1).toLongLong(), query.value(2).toInt()};
        row.client = query.value(3).toString();
        row.programs = query.value(4).toString();
        row.totalSeconds = query.value(5).toLongLong();
        row.outcome = OutcomeFromKey(query.value(6).toString());
        const QString kind = query.value(7).toString();
        row.kind = kind == EntryKindKey(EntryKind::SelfTest) ? EntryKind::SelfTest
                   : kind == EntryKindKey(EntryKind::Resume) ? EntryKind::Resume
                                                             : EntryKind::Download;
        if (!query.value(8).isNull())
            row.message = query.value(8).toInt();
        rows.push_back(std::move(row));
    }
    return rows;
}

void RecordTableModel::setFilter(const RecordFilter& filter) {
    beginResetModel();
    filter_ = filter;
    rows_.clear();
    rows_ = page(PageSize);
    atEnd_ = static_cast<int>(rows_.size()) < PageSize;
    endResetModel();
}

void RecordTableModel::refresh() {
    const int keep = std::max(PageSize, static_cast<int>(rows_.size()));
    beginResetModel();
    rows_.clear();
    rows_ = page(keep);
    atEnd_ = static_cast<int>(rows_.size()) < keep;
    endResetModel();
}

qint64 RecordTableModel::entryId(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(row)].id : 0;
}

int RecordTableModel::rowOf(qint64 id) const {
    for (size_t k = 0; k < rows_.size(); ++k)
        if (rows_[k].id == id)
            return static_cast<int>(k);
    return -1;
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString RecordTableModel::outcomeText(RecordOutcome outcome, EntryKind kind) {
    QString text;
    switch (outcome) {
    case RecordOutcome::Open:
        text = tr("Unfinished");
        break;
    case RecordOutcome::Started:
        text = tr("Verified and started");
        break;
    case RecordOutcome::Verified:
        text = tr("Verified, not started");
        break;
    case RecordOutcome::Failed:
        text = tr("Failed");
        break;
    case RecordOutcome::Closed:
        text = tr("Closed by the user");
        break;
    case RecordOutcome::DeviceKeptRunning:
        text = tr("Device kept its program");
        break;
    }
    if (kind == EntryKind::SelfTest)
        return tr("Self-test: %1").arg(text);
    if (kind == EntryKind::Resume)
        return tr("Resume: %1").arg(text);
    return text;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
        return {};
    const Row& row = rows_[static_cast<size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == TotalTime)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case When:
        return QLocale().toString(row.began.dateTime(), QLocale::ShortFormat);
    case Client:
        return row.client;
    case Programs:
        return row.programs;
    case TotalTime:
        return DurationText(row.totalSeconds);
    case Outcome: {
        QString text = outcomeText(row.outcome, row.kind);
        if (row.outcome == RecordOutcome::Failed && row.message)
            text += tr(" (message %1)").arg(*row.message);
        return text;
    }
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case When:
        return tr("Date and time");
    case Client:
        return tr("Client");
    case Programs:
        return tr("Programs");
    case TotalTime:
        return tr("Total time");
    case Outcome:
        return tr("Outcome");
    default:
        return {};
    }
}

bool RecordTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !atEnd_;
}

void RecordTableModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || atEnd_)
        return;
    std::vector<Row> more = page(PageSize);
    atEnd_ = static_cast<int>(more.size()) < PageSize;
    if (more.empty())
        return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    endInsertRows();
}

} // namespace trv
