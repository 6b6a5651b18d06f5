#pragma once

#include "logic/AppContext.h"
#include "widgets/AppWindows.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/QtSequenceTimer.h"
#include "logic/StatusSequence.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace trv {

// The Device Status dialog. Created once at start-up and reused; open it with exec(): polling
// starts when it is shown and stops when it closes. Its resume button opens windows.download.
class StatusDialog : public QDialog, private StatusView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 385;
    static constexpr int ClientHeight = 483;

    StatusDialog(AppContext& ctx, ErrorDisplay& errors, AppWindows& windows, QWidget* parent = nullptr);
    ~StatusDialog() override;

    StatusSequence& sequence() { return sequence_; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormActivate();
    void CloseButtonClick();
    void WRCButtonClick();

    // StatusView
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
    std::array<int, StatusDisplay::ListCount> shownRevisions_{};
};

} // namespace trv
