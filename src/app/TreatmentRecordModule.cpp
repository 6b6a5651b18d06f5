// The treatment record's module (see widgets/TreatmentRecord.h).
#include "record/RecordWriter.h"
#include "widgets/TreatmentRecord.h"
#include "widgets/TreatmentRecordWindow.h"

namespace {

class WrittenRecord final : public trv::TreatmentRecord {
public:
    explicit WrittenRecord(const QString& path) : writer_(std::make_shared<trv::RecordWriter>(path)) {}

    std::shared_ptr<trv::SessionEventSink> sink() override { return writer_; }
    QString openMessage() override { return writer_->openResult().message; }
    QWidget* createWindow(QWidget* parent) override {
        return new trv::TreatmentRecordWindow(writer_->path(), writer_.get(), parent);
    }

private:
    std::shared_ptr<trv::RecordWriter> writer_;
};

} // namespace

extern "C" Q_DECL_EXPORT trv::TreatmentRecord* trvOpenTreatmentRecord(const QString& path) {
    return new WrittenRecord(path);
}
