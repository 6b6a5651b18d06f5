#pragma once

#include "logic/AppContext.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace trv {

// The process-running warning. The caller clears ctx.session.continueFlag, opens it with exec()
// and reads the flag afterwards: set means "Continue processing"; Abort and the close box leave it clear.
class ProcessRunningWarning : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 340;
    static constexpr int ClientHeight = 137;

    ProcessRunningWarning(AppContext& ctx, QWidget* parent = nullptr);

    void ContButtonClick();
    void AbortButtonClick();

private:
    AppContext& ctx_;
    QLabel* warningSign_ = nullptr;   // "Image1"
    QLabel* runningLabel_ = nullptr;  // "Label1": a process is running
    QLabel* inDeviceLabel_ = nullptr; // "Label2": in the device
    QPushButton* abortButton_ = nullptr;
    QPushButton* continueButton_ = nullptr;
};

} // namespace trv
