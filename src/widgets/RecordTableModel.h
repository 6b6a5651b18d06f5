#pragma once

#include "record/RecordStore.h"

#include <QAbstractTableModel>

#include <vector>

namespace trv {

// The entries of the treatment record a filter takes, newest first, a page at a time: the view
// asks for more as it scrolls, so a record of any size shows its first rows at once.
class RecordTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { When, Client, Programs, TotalTime, Outcome, ColumnCount };
    static constexpr int PageSize = 200;

    explicit RecordTableModel(RecordStore& store, QObject* parent = nullptr);

    // Shows the entries the filter takes from the first page on.
    void setFilter(const RecordFilter& filter);
    const RecordFilter& filter() const { return filter_; }
    // Reads the first page again (after a write), keeping as many rows as were loaded.
    void refresh();
    qint64 entryId(int row) const;
    int rowOf(qint64 id) const; // -1 when not loaded

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    static QString outcomeText(RecordOutcome outcome, EntryKind kind);

private:
    struct Row {
        qint64 id = 0;
        RecordTime began;
        QString client;
        QString programs;
        qint64 totalSeconds = 0;
        RecordOutcome outcome = RecordOutcome::Open;
        EntryKind kind = EntryKind::Download;
        std::optional<int> message;
    };
    // The next rows after the last one loaded; false when the record can't be read.
    std::vector<Row> page(int limit) const;

    RecordStore& store_;
    RecordFilter filter_;
    std::vector<Row> rows_;
    bool atEnd_ = true;
};

} // namespace trv
