#pragma once

#include "logic/AppContext.h"
#include "logic/StatusSequence.h"
#include "widgets/AppWindows.h"
#include "widgets/DeviceWorker.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/QtSequenceTimer.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace trv {

// The Device Status dialog. Created once at start-up and reused; open it with exec(): polling
// starts when it is shown and stops when it closes. Its resume button opens windows.download.
// The polling runs on a worker thread of the dialog's own (DeviceWorker); the StatusView calls come
// from there and reach the widgets through it.
class StatusDialog : public QDialog, private StatusView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 385;
    static constexpr int ClientHeight = 483;

    StatusDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent = nullptr);
    ~StatusDialog() override;

    // The close box, Escape and any other done() stop the step machine as the window goes.
    void done(int result) override;
    // Returns once the dialog has closed and its worker has left the device.
    int exec() override;

    // The step machine; read it only while the dialog is closed (it runs on the worker thread).
    StatusSequence& sequence() { return sequence_; }
    // What the widgets show: the display as the sequence last handed it over.
    const StatusDisplay& shownDisplay() const { return shown_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
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

    QGroupBox* GroupBox1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QListWidget* ListBox3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QListWidget* ListBox4 = nullptr;
    QListWidget* ListBox5 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QListWidget* ListBox6 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QProgressBar* PowerProgressBar = nullptr;
    QProgressBar* ProgProgressBar = nullptr;
    QPushButton* WRCButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QtSequenceTimer Timer1;
    StatusSequence sequence_;
    DeviceWorker worker_;
    StatusDisplay shown_;
    std::array<int, StatusDisplay::ListCount> shownRevisions_{};
};

} // namespace trv
