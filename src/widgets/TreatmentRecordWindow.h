#pragma once

#include "record/RecordStore.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTextBrowser;
class QTimer;

namespace trv {

class RecordTableModel;
class RecordWriter;

// The Treatment Record window: the entries newest first, the chosen entry in full below, filters
// by period and text, the client and a note per entry, erasure of a period, and the filtered
// entries exported as CSV or PDF or printed. It reads the record through a connection of its own.
class TreatmentRecordWindow final : public QWidget {
    Q_OBJECT
public:
    // Opens the record at path (the writer's file). writer, when given, keeps the list up to date
    // as downloads and status events are recorded.
    explicit TreatmentRecordWindow(const QString& path, RecordWriter* writer = nullptr, QWidget* parent = nullptr);
    ~TreatmentRecordWindow() override;

    // Why the record can't be shown (empty when it is): the window shows it too.
    QString openError() const { return openError_; }
    RecordFilter filter() const;
    RecordTableModel& model() { return *model_; }
    // Selects the entry on that row of the list.
    void selectRow(int row);
    // The question before an erasure; a test answers it. Returns true for "erase".
    std::function<bool(const QString& question)> confirm;
    // Where an export goes; a test names the file. Returns an empty text when cancelled.
    std::function<QString(const QString& caption, const QString& suggested, const QString& filter)> chooseFile;

    // The actions of the buttons.
    void applyFilter();
    void exportCsv();
    void exportPdf();
    void print();
    void deletePeriod();

private:
    void showEntry();
    void storeClient();
    void storeNote();
    void entryWritten(qint64 id);
    void reloadKeepingSelection();
    void showFailure(const QString& text);
    qint64 selectedId() const;

    RecordStore store_;
    std::unique_ptr<RecordTableModel> model_;
    QString openError_;
    QCheckBox* fromCheck_ = nullptr;
    QDateEdit* fromDate_ = nullptr;
    QCheckBox* toCheck_ = nullptr;
    QDateEdit* toDate_ = nullptr;
    QLineEdit* search_ = nullptr;
    QTimer* searchDelay_ = nullptr;
    QTableView* table_ = nullptr;
    QTextBrowser* detail_ = nullptr;
    QLineEdit* client_ = nullptr;
    QLineEdit* note_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* exportCsv_ = nullptr;
    QPushButton* exportPdf_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace trv
