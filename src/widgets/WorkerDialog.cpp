#include "widgets/WorkerDialog.h"

#include "widgets/DialogText.h"

#include <QShowEvent>

namespace trv {

WorkerDialog::WorkerDialog(DeviceWorker& worker, DeviceWorker::Call activate, DeviceWorker::Call frameClose,
                           QWidget* parent)
    : QDialog(parent), dialogWorker_(worker), activate_(std::move(activate)), frameClose_(std::move(frameClose)) {}

void WorkerDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ActivateOnceShown(*this, *event, [this] { FormActivate(); });
}

void WorkerDialog::done(int result) {
    dialogWorker_.closeDialog(*this, result, frameClose_);
}

int WorkerDialog::exec() {
    const int result = QDialog::exec();
    dialogWorker_.waitUntilReleased();
    return result;
}

void WorkerDialog::FormActivate() {
    dialogWorker_.open(activate_, frameClose_);
}

} // namespace trv
