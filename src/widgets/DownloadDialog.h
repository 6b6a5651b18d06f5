#pragma once

#include "logic/AppContext.h"
#include "logic/DownloadSequence.h"
#include "widgets/AppWindows.h"
#include "widgets/DeviceWorker.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/QtSequenceTimer.h"
#include "widgets/WorkerDialog.h"

class QListWidget;
class QProgressBar;
class QPushButton;

namespace trv {

// The Download dialog: sends the image of the control program, has the device verify it and
// starts it. Created once at start-up and reused.
//
// Open it with exec(): the download starts when the dialog is shown and the call returns when it
// has closed. The caller then reads ctx.session.startPending: clear means the device answered the
// start request, and the Device Status dialog follows. The caller sets the start item index, the
// stored-program flag and the image title before opening it.
//
// The sequence runs on a worker thread of the dialog's own (DeviceWorker); the DownloadView calls
// come from there and reach the widgets through it.
class DownloadDialog : public WorkerDialog, private DownloadView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 277;
    static constexpr int ClientHeight = 303;

    DownloadDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent = nullptr);
    ~DownloadDialog() override;

    // The step machine; read it only while the dialog is closed (it runs on the worker thread).
    DownloadSequence& sequence() { return sequence_; }

private:
    void StartButtonClick();
    void CloseButtonClick();

    // DownloadView, called on the worker thread
    void clearLines() override;
    void addLine(const std::string& text) override;
    void setProgressMaximum(int maximum) override;
    void setProgress(int position) override;
    void setStartEnabled(bool enabled) override;
    void setCloseEnabled(bool enabled) override;
    void showErrorBox(const std::string& title, const std::string& text) override;
    void showProcessRunningWarning() override;
    void closeDialog() override;

    AppContext& ctx_;
    ErrorDisplay& errors_;
    AppWindows& windows_;
    QListWidget* stepList_ = nullptr;     // "ListBox1": the download's steps as they happen
    QProgressBar* progressBar_ = nullptr; // "ProgressBar1": the image sent so far
    QPushButton* startButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QtSequenceTimer Timer1;
    DownloadSequence sequence_;
    DeviceWorker worker_;
};

} // namespace trv
