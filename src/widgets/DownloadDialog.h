#pragma once

#include "logic/AppContext.h"
#include "widgets/AppWindows.h"
#include "widgets/ErrorDisplay.h"
#include "logic/DownloadSequence.h"
#include "widgets/QtSequenceTimer.h"

#include <QDialog>

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
class DownloadDialog : public QDialog, private DownloadView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 277;
    static constexpr int ClientHeight = 303;

    DownloadDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent = nullptr);
    ~DownloadDialog() override;

    DownloadSequence& sequence() { return sequence_; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormActivate();
    void StartButtonClick();
    void CloseButtonClick();

    // DownloadView
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
    QListWidget* ListBox1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QtSequenceTimer Timer1;
    DownloadSequence sequence_;
    bool closingBySequence_ = false;
};

} // namespace trv
