#pragma once

#include "widgets/DeviceWorker.h"

#include <QDialog>

namespace trv {

// A device dialog whose step machine runs on a worker thread of the dialog's own (DeviceWorker).
// The machine starts once the dialog is shown and stops as the window goes. The dialog itself owns
// the machine and the worker, and stops the worker in its destructor, before the machine goes.
class WorkerDialog : public QDialog {
    Q_OBJECT
public:
    // The close box, Escape and any other done() stop the step machine as the window goes.
    void done(int result) override;
    // Returns once the dialog has closed and its worker has left the device.
    int exec() override;

protected:
    // activate and frameClose: the machine's FormActivate and FrameClose, run on the worker.
    WorkerDialog(DeviceWorker& worker, DeviceWorker::Call activate, DeviceWorker::Call frameClose, QWidget* parent);
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();

    DeviceWorker& dialogWorker_; // the dialog's own, made after this part of it
    DeviceWorker::Call activate_;
    DeviceWorker::Call frameClose_;
};

} // namespace trv
