#pragma once

#include "logic/AppContext.h"
#include "logic/StatusSequence.h"
#include "widgets/AppWindows.h"
#include "widgets/DeviceWorker.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/QtSequenceTimer.h"
#include "widgets/WorkerDialog.h"

class QListWidget;
class QProgressBar;
class QPushButton;

namespace trv {

// The Device Status dialog. Created once at start-up and reused; open it with exec(): polling
// starts when it is shown and stops when it closes. Its resume button opens windows.download.
// The polling runs on a worker thread of the dialog's own (DeviceWorker); the StatusView calls come
// from there and reach the widgets through it.
class StatusDialog : public WorkerDialog, private StatusView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 385;
    static constexpr int ClientHeight = 483;

    StatusDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent = nullptr);
    ~StatusDialog() override;

    // The step machine; read it only while the dialog is closed (it runs on the worker thread).
    StatusSequence& sequence() { return sequence_; }
    // What the widgets show: the display as the sequence last handed it over.
    const StatusDisplay& shownDisplay() const { return shown_; }

private:
    void CloseButtonClick();
    void WRCButtonClick();
    void showOnWindow(StatusDisplay incoming);

    // StatusView, called on the worker thread
    void showDisplay(const StatusDisplay& display) override;
    void showVersionRefusal(const std::string& title, const std::string& text) override;
    void openDownloadDialog() override;
    void closeDialog() override;

    AppContext& ctx_;
    ErrorDisplay& errors_;
    AppWindows& windows_;

    // The group boxes and labels are made once and never changed; tests find them by object name.
    QListWidget* programList_ = nullptr;        // "ListBox1": the control program, the running item highlighted
    QListWidget* wholeTotalList_ = nullptr;     // "ListBox2": the whole program's total time
    QListWidget* wholeRemainingList_ = nullptr; // "ListBox3": the whole program's remaining time
    QListWidget* itemTotalList_ = nullptr;      // "ListBox4": the current item's total time
    QListWidget* itemRemainingList_ = nullptr;  // "ListBox5": the current item's remaining time
    QListWidget* stateList_ = nullptr;          // "ListBox6": the device's state
    QProgressBar* powerBar_ = nullptr;          // "PowerProgressBar"
    QProgressBar* progressBar_ = nullptr;       // "ProgProgressBar": the whole program's elapsed part
    QPushButton* waitResumeButton_ = nullptr;   // "WRCButton": Wait, Continue or Resume
    QPushButton* closeButton_ = nullptr;
    QtSequenceTimer Timer1;
    StatusSequence sequence_;
    DeviceWorker worker_;
    StatusDisplay shown_;
    std::array<int, StatusDisplay::ListCount> shownRevisions_{};
};

} // namespace trv
